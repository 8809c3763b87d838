#include "TestPictures.h"

#include "controls/ModColor.h"
#include "controls/ModMask.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>
#include <functional>

using namespace TestPictures;

namespace {

QImage Make(int w, int h, const std::function<bool(int, int)>& opaque) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = opaque(x, y) ? qRgb(x % 256, y % 256, 7) : kMask;
    }
    return image;
}

bool Checker(int x, int y) {
    return (x + y) % 2 == 0;
}

// The outline of a checkerboard whose top-left pixel is not mask: even rows
// from the first column to the last but one, odd rows from the second on.
QRegion CheckerOutline(int side) {
    QVector<QRect> rows;
    for (int y = 0; y < side; ++y)
        rows.append(QRect(y % 2, y, side - 1, 1));
    QRegion region;
    region.setRects(rows.constData(), int(rows.size()));
    return region;
}

} // namespace

// Window shapes from mask-colour pictures: exact while the window system can
// take them, an outline when not, and fast either way.
class tst_ModMask : public QObject {
    Q_OBJECT
private slots:
    void sameAsUnionOfPixels_data();
    void sameAsUnionOfPixels();
    void intricateShapesFallBack_data();
    void intricateShapesFallBack();
    void checkerboardWindowShowsAndGrabs();
    void drawPictureCoversTheRegionOnly_data();
    void drawPictureCoversTheRegionOnly();
};

void tst_ModMask::sameAsUnionOfPixels_data() {
    QTest::addColumn<QImage>("picture");
    QTest::newRow("rounded corners")
        << Make(60, 40, [](int x, int y) { return !((x < 3 || x > 56) && (y < 3 || y > 36)); });
    QTest::newRow("hole and gap rows") << Make(30, 30, [](int x, int y) {
        return y % 10 != 5 && !(x > 10 && x < 20 && y > 10 && y < 20);
    });
    QTest::newRow("equal rows split by a different one")
        << Make(20, 9, [](int x, int y) { return y == 4 ? x < 10 : x % 5 != 0; });
    QRandomGenerator random(8);
    QImage noise = Make(80, 60, [&random](int, int) { return random.bounded(4) != 0; });
    QTest::newRow("noise") << noise;
}

void tst_ModMask::sameAsUnionOfPixels() {
    QFETCH(QImage, picture);
    const QRegion region = ModMask::MaskRegion(picture, ModColor::kMagenta);
    const QRegion naive = NaiveRegion(picture, kMask);
    QVERIFY(SameRegion(region, naive));
    // Rows alike are joined into one band, as the window system wants them.
    QVERIFY(region.rectCount() <= naive.rectCount());
    // The same picture gives the same rectangles, so that setting a shape
    // again is seen to change nothing.
    QCOMPARE(ModMask::MaskRegion(picture, ModColor::kMagenta), region);
}

void tst_ModMask::intricateShapesFallBack_data() {
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QRegion>("expected");
    for (const int side : {2000, 4096})
        QTest::addRow("checkerboard %dx%d", side, side)
            << Make(side, side, Checker) << CheckerOutline(side);
    // Every row differs from the one above: even the outline is too much.
    QTest::newRow("40,000 different rows")
        << Make(2, 40000, [](int x, int y) { return x == y % 2; }) << QRegion(0, 0, 2, 40000);
    // 320 dots on each of 100 rows: 32,000 rectangles, kept exact.
    const QImage dots = Make(640, 200, [](int x, int y) { return x % 2 == 0 && y % 2 == 0; });
    QTest::newRow("just within the bound") << dots << NaiveRegion(dots, kMask);
}

void tst_ModMask::intricateShapesFallBack() {
    QFETCH(QImage, picture);
    QFETCH(QRegion, expected);
    QElapsedTimer timer;
    timer.start();
    const QRegion region = ModMask::MaskRegion(picture, ModColor::kMagenta);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(region.rectCount() <= ModMask::kMaxRegionRects);
    QVERIFY(SameRegion(region, expected));
}

void tst_ModMask::checkerboardWindowShowsAndGrabs() {
    const QImage picture = Make(2000, 2000, Checker);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(picture.size());
    ModMask::ApplyMaskRegion(&window, picture, ModColor::kMagenta);
    QVERIFY(window.mask().rectCount() <= ModMask::kMaxRegionRects);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Painting clipped to the window's shape, as screenshots do.
    const QImage shot = ModMask::ShapedSnapshot(&window);
    QCOMPARE(shot.size(), picture.size());
}

QTEST_MAIN(tst_ModMask)
void tst_ModMask::drawPictureCoversTheRegionOnly_data() {
    QTest::addColumn<QRegion>("region");
    QTest::newRow("empty") << QRegion();
    QTest::newRow("taller than a piece, ends mid-piece") << QRegion(3, 2, 50, 150);
    QTest::newRow("exactly two pieces") << QRegion(0, 0, 90, 2 * ModMask::kRowsPerDraw);
    QTest::newRow("a mask's many rectangles") << ModMask::MaskRegion(
        Make(90, 170, [](int x, int y) { return (x * y) % 7 != 0; }), ModColor::kMagenta);
    QTest::newRow("reaching beyond the picture") << QRegion(60, 100, 100, 200);
}

void tst_ModMask::drawPictureCoversTheRegionOnly() {
    QFETCH(QRegion, region);
    const QImage picture = Make(90, 170, [](int, int) { return true; });
    QImage canvas(120, 200, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter painter(&canvas);
        ModMask::DrawPicture(painter, picture, region);
    }
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x) {
            const bool inside = region.contains(QPoint(x, y)) && picture.rect().contains(x, y);
            const QRgb expected = inside ? picture.pixel(x, y) : qRgb(0, 0, 0);
            QVERIFY2(canvas.pixel(x, y) == expected,
                     qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
        }
}

#include "tst_ModMask.moc"
