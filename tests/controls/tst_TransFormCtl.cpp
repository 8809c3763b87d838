#include "TestPictures.h"

#include "controls/PropertyBag.h"
#include "controls/TransFormCtl.h"

#include <QPainter>
#include <QtTest>

using namespace TestPictures;

namespace {

QImage Picture(std::function<QRgb(int, int)> colour, int w = 40, int h = 30) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, colour(x, y));
        }
    }
    return image;
}

// Rounded-off corners and a hole, as a skin's background has.
QImage SkinPicture() {
    return Picture([](int x, int y) {
        const bool corner = x + y < 4 || (39 - x) + (29 - y) < 4;
        const bool hole = x >= 15 && x < 25 && y >= 10 && y < 14;
        return corner || hole ? kMask : qRgb(x * 6, y * 8, 50);
    });
}

} // namespace

class tst_TransFormCtl : public QObject {
    Q_OBJECT
private slots:
    void shapes_data();
    void shapes();
    void allMaskOrMissingPictureKeepsShape();
    void maskColourActsAtNextSetForm();
    void flushRemovesShape();
    void properties();
};

void tst_TransFormCtl::shapes_data() {
    QTest::addColumn<QImage>("picture");
    QTest::addColumn<QRegion>("expected");
    QTest::newRow("no mask pixel: rectangle of the picture")
        << Picture([](int, int) { return qRgb(1, 2, 3); }) << QRegion(0, 0, 40, 30);
    QTest::newRow("corners and a hole") << SkinPicture() << NaiveRegion(SkinPicture(), kMask);
    QTest::newRow("picture smaller than the window")
        << Picture([](int x, int) { return x < 3 ? kMask : qRgb(0, 0, 0); }, 10, 5)
        << QRegion(3, 0, 7, 5);
}

void tst_TransFormCtl::shapes() {
    QFETCH(QImage, picture);
    QFETCH(QRegion, expected);
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(60, 40);
    window.setProperty("Picture", picture);
    TransFormCtl shaper(&window);
    shaper.SetForm();
    QVERIFY(SameRegion(window.mask(), expected));
    shaper.SetForm(); // replaced, not added to
    QVERIFY(SameRegion(window.mask(), expected));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(SameRegion(window.mask(), expected));
}

void tst_TransFormCtl::allMaskOrMissingPictureKeepsShape() {
    QWidget window;
    window.resize(40, 30);
    window.setProperty("Picture", SkinPicture());
    TransFormCtl shaper(&window);
    shaper.SetForm();
    const QRegion before = window.mask();
    window.setProperty("Picture", Picture([](int, int) { return kMask; }));
    shaper.SetForm();
    QCOMPARE(window.mask(), before);
    window.setProperty("Picture", QVariant());
    shaper.SetForm();
    QCOMPARE(window.mask(), before);
}

void tst_TransFormCtl::maskColourActsAtNextSetForm() {
    QWidget window;
    window.setProperty("Picture", SkinPicture());
    TransFormCtl shaper(&window);
    shaper.SetForm();
    const QRegion before = window.mask();
    const QRgb other = qRgb(6, 40, 50); // the colour of pixel (1, 5) only
    shaper.SetMaskColor(ModColor::FromQRgb(other));
    QCOMPARE(window.mask(), before);
    shaper.SetForm();
    QVERIFY(SameRegion(window.mask(), QRegion(0, 0, 40, 30) - QRegion(1, 5, 1, 1)));
}

void tst_TransFormCtl::flushRemovesShape() {
    QWidget window;
    window.setProperty("Picture", SkinPicture());
    TransFormCtl shaper(&window);
    shaper.SetForm();
    QVERIFY(!window.mask().isEmpty());
    shaper.SetForm(1);
    QVERIFY(window.mask().isEmpty());
}

void tst_TransFormCtl::properties() {
    QWidget window;
    TransFormCtl shaper(&window);
    QCOMPARE(shaper.MaskColor(), 0xFF00FFu);
    QSignalSpy changed(&shaper, &TransFormCtl::PropertyChanged);
    shaper.SetMaskColor(0x0000FF);
    QCOMPARE(changed.count(), 1);
    PropertyBag bag;
    shaper.WriteProperties(bag);
    TransFormCtl copy(&window);
    copy.ReadProperties(bag);
    QCOMPARE(copy.MaskColor(), 0x0000FFu);
    QCOMPARE(copy.Window(), &window);
}

QTEST_MAIN(tst_TransFormCtl)
#include "tst_TransFormCtl.moc"
