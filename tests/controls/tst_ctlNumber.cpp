#include "TestPictures.h"

#include "controls/ModMask.h"
#include "controls/PictureSurface.h"
#include "controls/PropertyBag.h"
#include "controls/ctlNumber.h"

#include <QPainter>
#include <QtTest>

using namespace TestPictures;

namespace {

QRgb BackgroundAt(int x, int y) {
    return qRgb((x * 5) % 256, (y * 11) % 256, 90);
}

// A window painting its own background picture.
class Host : public QWidget {
public:
    QImage picture;
    Host() {
        picture = QImage(120, 40, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                picture.setPixel(x, y, BackgroundAt(x, y));
            }
        }
        resize(picture.size());
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture); }
};

constexpr int kGlyph = 9;
constexpr int kHeight = 13;

} // namespace

class tst_ctlNumber : public QObject {
    Q_OBJECT
private slots:
    void layout_data();
    void layout();
    void clickAnywhereOnTheCells();
    void newPictureLaysOutAgain();
    void properties();
    void setAutoRgnShapesAnyWidget();
};

void tst_ctlNumber::layout_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("left");
    QTest::addColumn<QList<int>>("glyphs");
    QTest::newRow("time right-aligned") << "00:00" << kGlyph << QList<int>{0, 0, 10, 0, 0};
    QTest::newRow("six characters") << "-03:25" << 0 << QList<int>{11, 0, 3, 10, 2, 5};
    QTest::newRow("letter shows zero") << "12:3a" << kGlyph << QList<int>{1, 2, 10, 3, 0};
    QTest::newRow("short text at left") << "7 " << 0 << QList<int>{7, 0};
    QTest::newRow("empty") << "" << 0 << QList<int>{};
    QTest::newRow("long text clipped") << "1234567" << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7};
}

void tst_ctlNumber::layout() {
    QFETCH(QString, text);
    QFETCH(int, left);
    QFETCH(QList<int>, glyphs);
    Host host;
    auto* number = new ctlNumber(&host);
    number->move(20, 10);
    number->SetPicture(DigitStrip(kGlyph, kHeight));
    number->SetText(text);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));

    QCOMPARE(number->size(), QSize(6 * kGlyph, kHeight));
    const PictureSurface* show = number->ShowSurface();
    QCOMPARE(show->pos(), QPoint(left, 0));
    QCOMPARE(show->width(), kGlyph * int(text.size()));

    // What a user sees: glyph pixels of each cell, the window's picture elsewhere.
    const QImage screen = host.grab().toImage();
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < 6 * kGlyph; ++x) {
            const int cell = (x - left) / kGlyph;
            const bool inCell = x >= left && cell < glyphs.size();
            const bool glyphPixel = inCell && ((x - left) % kGlyph + y) % 3 != 0;
            const QRgb expected =
                glyphPixel ? GlyphColour(glyphs.at(cell)) : BackgroundAt(20 + x, 10 + y);
            QCOMPARE(screen.pixel(20 + x, 10 + y) | 0xFF000000, expected);
        }
    }
    // The glyph surface's shape is exactly the non-mask pixels it shows.
    QVERIFY(SameRegion(ModMask::VisibleRegion(show), NaiveRegion(show->Picture(), kMask)));
}

void tst_ctlNumber::clickAnywhereOnTheCells() {
    Host host;
    auto* number = new ctlNumber(&host);
    number->move(20, 10);
    number->SetPicture(DigitStrip(kGlyph, kHeight));
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    QSignalSpy clicks(number, &ctlNumber::Click);
    Click(number, QPoint(2, 2));          // the empty first cell
    Click(number, QPoint(kGlyph, 0));     // a mask pixel of the first glyph
    Click(number, QPoint(kGlyph + 1, 0)); // a glyph pixel
    QCOMPARE(clicks.count(), 3);
    Click(&host, QPoint(100, 30));
    QCOMPARE(clicks.count(), 3);
}

void tst_ctlNumber::newPictureLaysOutAgain() {
    Host host;
    auto* number = new ctlNumber(&host);
    number->SetPicture(DigitStrip(kGlyph, kHeight));
    number->SetPicture(DigitStrip(7, 10));
    QCOMPARE(number->size(), QSize(42, 10));
    QCOMPARE(number->ShowSurface()->geometry(), QRect(7, 0, 35, 10));
    number->SetPicture(QImage()); // no strip: nothing drawn, nothing shaped
    QVERIFY(number->ShowSurface()->Picture().isNull());
}

void tst_ctlNumber::properties() {
    ctlNumber number;
    QCOMPARE(number.Text(), "00:00");
    QCOMPARE(number.MaskColor(), 0xFF00FFu);
    PropertyBag bag;
    number.WriteProperties(bag);
    QVERIFY(bag.Names().isEmpty());
    number.SetText("-01:02");
    number.SetMaskColor(0x123456);
    number.SetPicture(DigitStrip(5, 8));
    number.WriteProperties(bag);
    ctlNumber copy;
    copy.ReadProperties(bag);
    QCOMPARE(copy.Text(), "-01:02");
    QCOMPARE(copy.MaskColor(), 0x123456u);
    QCOMPARE(copy.size(), QSize(30, 8));
    QCOMPARE(copy.ShowSurface()->width(), 30);
}

void tst_ctlNumber::setAutoRgnShapesAnyWidget() {
    QWidget target;
    target.resize(20, 10);
    ctlNumber number;
    const QImage strip = DigitStrip(3, 4);
    number.SetAutoRgn(&target, strip, 0xFF00FF);
    QVERIFY(SameRegion(target.mask(), NaiveRegion(strip, kMask)));
}

QTEST_MAIN(tst_ctlNumber)
#include "tst_ctlNumber.moc"
