#include "TestPictures.h"

#include "controls/CDIBSection.h"
#include "controls/ModColor.h"
#include "controls/ModMask.h"

#include <QtTest>

using namespace TestPictures;

class tst_CDIBSection : public QObject {
    Q_OBJECT
private slots:
    void bufferSizes_data();
    void bufferSizes();
    void failedCreateHasNoBitmap();
    void rowsAreBottomUp();
    void bytesAreBlueGreenRed();
    void outsidePixelsReadZero_data();
    void outsidePixelsReadZero();
    void blitSourceRectangle();
    void runScan_data();
    void runScan();
    void emptyRegionHidesWidget();
};

void tst_CDIBSection::bufferSizes_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("bufferSize");
    QTest::newRow("1x1") << 1 << 1 << 4;
    QTest::newRow("4 wide needs no padding") << 4 << 2 << 12;
    QTest::newRow("5 wide: 15 bytes padded") << 5 << 3 << 16;
    QTest::newRow("7 wide") << 7 << 1 << 24;
    QTest::newRow("19 wide") << 19 << 10 << 60;
}

void tst_CDIBSection::bufferSizes() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, bufferSize);
    CDIBSection dib;
    QVERIFY(dib.Create(width, height));
    QCOMPARE(dib.Width(), width);
    QCOMPARE(dib.Height(), height);
    QCOMPARE(dib.ImageBufferSize(), bufferSize);
    QCOMPARE(dib.XBound(), bufferSize - 1);
    QCOMPARE(dib.YBound(), height - 1);
    // Scan lines follow each other in memory, each ImageBufferSize bytes long.
    QVERIFY(dib.DIBSectionBitsPtr());
    if (height > 1) {
        QCOMPARE(&dib.Byte(0, 1) - &dib.Byte(0, 0), qptrdiff(bufferSize));
    }
}

void tst_CDIBSection::failedCreateHasNoBitmap() {
    CDIBSection dib;
    QVERIFY(dib.Create(3, 3));
    QVERIFY(!dib.Create(0, 5)); // the previous bitmap is released first
    QCOMPARE(dib.XBound(), -1);
    QCOMPARE(dib.YBound(), -1);
    QCOMPARE(dib.GetPixelRGB(1, 1), 0u);
    dib.CreateFromPicture(QImage());
    QVERIFY(!dib.HasDib());
    QVERIFY(dib.Create(2, 2));
    dib.ClearUp();
    QVERIFY(!dib.HasDib());
    QCOMPARE(dib.DIBSectionBitsPtr(), nullptr);
}

void tst_CDIBSection::rowsAreBottomUp() {
    QImage picture(3, 4, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(0, 0, qRgb(255, 0, 0)); // top-left red
    picture.setPixel(0, 3, qRgb(0, 0, 255)); // bottom-left blue
    CDIBSection dib;
    dib.CreateFromPicture(picture);
    uchar r = 1, g = 1, b = 1;
    QCOMPARE(dib.GetPixelRGB(dib.Height(), 1, r, g, b), ModColor::ColorRef(255, 0, 0));
    QCOMPARE(int(r), 255);
    QCOMPARE(int(b), 0);
    QCOMPARE(dib.GetPixelRGB(1, 1), ModColor::ColorRef(0, 0, 255));
    QCOMPARE(dib.GetPixelRGB(2, 3), ModColor::ColorRef(255, 255, 255));
    QCOMPARE(dib.ToImage().pixel(0, 0), qRgb(255, 0, 0));
}

void tst_CDIBSection::bytesAreBlueGreenRed() {
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(1, 2, 3));
    picture.setPixel(1, 0, qRgb(4, 5, 6));
    CDIBSection dib;
    dib.CreateFromPicture(picture);
    const QList<int> expected{3, 2, 1, 6, 5, 4};
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(int(dib.Byte(i, 0)), expected.at(i));
    }
}

void tst_CDIBSection::outsidePixelsReadZero_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("row 0") << 0 << 1;
    QTest::newRow("column 0") << 1 << 0;
    QTest::newRow("row beyond") << 3 << 1;
    QTest::newRow("column beyond") << 1 << 3;
    QTest::newRow("negative") << -1 << -1;
}

void tst_CDIBSection::outsidePixelsReadZero() {
    QFETCH(int, row);
    QFETCH(int, col);
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(qRgb(9, 8, 7));
    CDIBSection dib;
    dib.CreateFromPicture(picture);
    uchar r = 42, g = 43, b = 44;
    QCOMPARE(dib.GetPixelRGB(row, col, r, g, b), 0u);
    QCOMPARE(int(r), 42);
    QCOMPARE(int(g), 43);
    QCOMPARE(int(b), 44);
}

void tst_CDIBSection::blitSourceRectangle() {
    QImage source(4, 4, QImage::Format_RGB32);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            source.setPixel(x, y, qRgb(x * 10, y * 10, 0));
        }
    }
    CDIBSection dib;
    QVERIFY(dib.Create(3, 3));
    dib.LoadPictureBlt(source, 2, 1, -1, -1); // source columns 2..3 only exist
    const QImage copy = dib.ToImage();
    QCOMPARE(copy.pixel(0, 0), qRgb(20, 10, 0));
    QCOMPARE(copy.pixel(1, 2), qRgb(30, 30, 0));
    QCOMPARE(copy.pixel(2, 0), qRgb(0, 0, 0)); // beyond the source: unchanged
}

void tst_CDIBSection::runScan_data() {
    QTest::addColumn<QImage>("picture");
    auto make = [](int w, int h, std::function<bool(int, int)> opaque) {
        QImage image(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                image.setPixel(x, y, opaque(x, y) ? qRgb(x * 7, y * 5, 99) : kMask);
            }
        }
        return image;
    };
    QTest::newRow("no mask pixel") << make(5, 3, [](int, int) { return true; });
    QTest::newRow("run touching right edge") << make(6, 2, [](int x, int) { return x >= 3; });
    QTest::newRow("run at left edge") << make(6, 2, [](int x, int) { return x == 0; });
    QTest::newRow("several runs per row")
        << make(9, 4, [](int x, int y) { return (x / 2 + y) % 2 == 0; });
    QTest::newRow("single pixel") << make(1, 1, [](int, int) { return true; });
    QTest::newRow("button strip") << ButtonStrip(19, 10);
    QTest::newRow("odd width strip") << ButtonStrip(7, 5).copy(0, 0, 27, 5);
    // Near-magenta differs from magenta, so it stays.
    QImage near(3, 1, QImage::Format_RGB32);
    near.fill(kMask);
    near.setPixel(1, 0, qRgb(255, 0, 254));
    QTest::newRow("near mask colour") << near;
}

void tst_CDIBSection::runScan() {
    QFETCH(QImage, picture);
    const QRegion region = ModMask::MaskRegion(picture, ModColor::kMagenta);
    QVERIFY(SameRegion(region, NaiveRegion(picture, kMask)));
}

void tst_CDIBSection::emptyRegionHidesWidget() {
    QImage allMask(4, 4, QImage::Format_RGB32);
    allMask.fill(kMask);
    QVERIFY(ModMask::MaskRegion(allMask, ModColor::kMagenta).isEmpty());
    QVERIFY(ModMask::MaskRegion(QImage(), ModColor::kMagenta).isEmpty());
    QWidget widget;
    widget.resize(4, 4);
    ModMask::ApplyMaskRegion(&widget, allMask, ModColor::kMagenta);
    QVERIFY(ModMask::VisibleRegion(&widget).isEmpty());
    ModMask::SetWindowRegion(&widget, QRegion(1, 1, 2, 2));
    QCOMPARE(ModMask::VisibleRegion(&widget), QRegion(1, 1, 2, 2));
}

QTEST_MAIN(tst_CDIBSection)
#include "tst_CDIBSection.moc"
