#include "TestPictures.h"

#include "controls/CScrollTrack.h"
#include "controls/PropertyBag.h"
#include "controls/ctlVScroll.h"
#include "winsvc/LeaveTracking.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

using namespace TestPictures;

namespace {

constexpr int kCellW = 12;
constexpr int kArrowH = 10;
constexpr int kThumbH = 20;
constexpr int kBarH = 200; // track length 200 - 10 - 10 - 20 = 160
const QRgb kBarColour = qRgb(40, 40, 90);

QRgb ArrowColour(int row, int state) {
    return qRgb(60 + 60 * state, row == 0 ? 200 : 100, 10);
}
QRgb ThumbColour(int state) {
    return qRgb(10, 60 + 60 * state, 220);
}

QImage ArrowStrip() {
    QImage strip(3 * kCellW, 2 * kArrowH, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int row = 0; row < 2; ++row) {
        for (int state = 0; state < 3; ++state) {
            painter.fillRect(state * kCellW, row * kArrowH, kCellW, kArrowH,
                             QColor(ArrowColour(row, state)));
        }
    }
    return strip;
}

QImage ThumbStrip() {
    QImage strip(3 * kCellW, kThumbH, QImage::Format_RGB32);
    QPainter painter(&strip);
    for (int state = 0; state < 3; ++state) {
        painter.fillRect(state * kCellW, 0, kCellW, kThumbH, QColor(ThumbColour(state)));
    }
    return strip;
}

struct Rig {
    LeaveTracking tracking;
    QWidget host;
    ctlVScroll* bar;
    int scrolls = 0;
    Rig(int min, int max, int value) {
        host.resize(120, 260);
        bar = new ctlVScroll(&host, &tracking);
        QImage back(4, 4, QImage::Format_RGB32);
        back.fill(kBarColour);
        bar->SetBarPicture(back);
        bar->SetThumbPicture(ThumbStrip());
        bar->SetButtonPicture(ArrowStrip());
        bar->SetMin(min);
        bar->SetMax(max);
        bar->SetValue(value);
        bar->setGeometry(20, 20, 50, kBarH); // the width follows the pictures
        QObject::connect(bar, &ctlVScroll::Scroll, [this] { ++scrolls; });
        host.show();
        if (!QTest::qWaitForWindowExposed(&host)) {
            qWarning("host not exposed");
        }
        Move(&host, QPoint(110, 250));
    }
    QPoint UpArrow() const { return QPoint(6, 5); }
    QPoint DownArrow() const { return QPoint(6, kBarH - 5); }
    QPoint OnThumb() const { return QPoint(6, bar->ThumbTop() + 5); }
};

} // namespace

class tst_ctlVScroll : public QObject {
    Q_OBJECT
private slots:
    void trackArithmetic_data();
    void trackArithmetic();
    void layoutAndLooks();
    void newPicturesAtSameRectangle();
    void hostValueMovesThumbAtLayout();
    void clickStepsOnce_data();
    void clickStepsOnce();
    void holdRepeatsAndStopsAtEnd_data();
    void holdRepeatsAndStopsAtEnd();
    void pressAtEndChangesNothing();
    void thumbDragToBothEnds();
    void barPagesTowardPointer();
    void hoverAndLeave();
    void emptyRange();
    void properties();
};

void tst_ctlVScroll::trackArithmetic_data() {
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("backToValue");
    // Bar 200 high, arrows 10, thumb 20: the thumb travels from 10 to 170.
    QTest::newRow("min is the top of the track") << 1 << 19 << 1 << 10 << 1;
    QTest::newRow("max is the bottom") << 1 << 19 << 19 << 170 << 19;
    QTest::newRow("halfway") << 1 << 19 << 10 << 90 << 10;
    QTest::newRow("rounds halves to even") << 0 << 64 << 1 << 12 << 1; // 2.5 -> 2
    QTest::newRow("negative range") << -10 << 10 << 0 << 90 << 0;
    QTest::newRow("empty range stays at the top") << 5 << 5 << 5 << 10 << 5;
    QTest::newRow("large range") << 0 << 1000000 << 500000 << 90 << 500000;
}

void tst_ctlVScroll::trackArithmetic() {
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(int, value);
    QFETCH(int, top);
    QFETCH(int, backToValue);
    const CScrollTrack track{kBarH, kArrowH, kThumbH};
    QCOMPARE(track.Length(), 160);
    QCOMPARE(track.ThumbTopFor(value, min, max), top);
    QCOMPARE(track.ValueAt(top, min, max), backToValue);
    // Positions past the ends give the ends.
    QCOMPARE(track.ValueAt(-50, min, max), min);
    QCOMPARE(track.ValueAt(500, min, max), max);
}

void tst_ctlVScroll::layoutAndLooks() {
    Rig rig(0, 10, 5);
    QCOMPARE(rig.bar->width(), kCellW);
    QCOMPARE(rig.bar->ButtonUp()->geometry(), QRect(0, 0, kCellW, kArrowH));
    QCOMPARE(rig.bar->ButtonDown()->geometry(), QRect(0, kBarH - kArrowH, kCellW, kArrowH));
    QCOMPARE(rig.bar->ThumbSurface()->geometry(), QRect(0, 90, kCellW, kThumbH));
    const QImage shot = rig.bar->grab().toImage();
    auto at = [&](int x, int y) { return shot.pixel(x, y) | 0xFF000000; };
    QCOMPARE(at(3, 3), ArrowColour(0, 0));
    QCOMPARE(at(3, kBarH - 3), ArrowColour(1, 0));
    QCOMPARE(at(3, 95), ThumbColour(0));
    QCOMPARE(at(3, 40), kBarColour); // the stretched bar behind
    QCOMPARE(at(11, 150), kBarColour);
}

void tst_ctlVScroll::newPicturesAtSameRectangle() {
    Rig rig(0, 10, 5);
    (void)rig.bar->grab();
    // Another skin's pictures of the same sizes, with the bar where it was.
    QImage back(4, 4, QImage::Format_RGB32);
    back.fill(qRgb(200, 180, 20));
    QImage arrows = ArrowStrip(), thumb = ThumbStrip();
    arrows.invertPixels();
    thumb.invertPixels();
    const QRect place = rig.bar->geometry();
    rig.bar->SetBarPicture(back);
    rig.bar->SetThumbPicture(thumb);
    rig.bar->SetButtonPicture(arrows);
    rig.bar->setGeometry(place);
    const QImage shot = rig.bar->grab().toImage();
    auto at = [&](int x, int y) { return shot.pixel(x, y) | 0xFF000000; };
    QCOMPARE(at(3, 3), arrows.pixel(3, 3));
    QCOMPARE(at(3, kBarH - 3), arrows.pixel(3, kArrowH + 7));
    QCOMPARE(at(3, 95), thumb.pixel(3, 5));
    QCOMPARE(at(3, 40), qRgb(200, 180, 20));
}

void tst_ctlVScroll::hostValueMovesThumbAtLayout() {
    Rig rig(0, 10, 0);
    QCOMPARE(rig.bar->ThumbTop(), 10);
    rig.bar->SetValue(10);
    QCOMPARE(rig.bar->ThumbTop(), 10); // not yet
    QCOMPARE(rig.scrolls, 0);
    rig.bar->Layout();
    QCOMPARE(rig.bar->ThumbTop(), 170);
    QVERIFY_THROWS_EXCEPTION(ScrollValueError, rig.bar->SetValue(11));
    QVERIFY_THROWS_EXCEPTION(ScrollValueError, rig.bar->SetValue(-1));
    QCOMPARE(rig.bar->Value(), 10);
    rig.bar->SetMax(4); // a smaller range takes the value along
    QCOMPARE(rig.bar->Value(), 4);
}

void tst_ctlVScroll::clickStepsOnce_data() {
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("expected");
    QTest::newRow("down arrow") << true << 6;
    QTest::newRow("up arrow") << false << 4;
}

void tst_ctlVScroll::clickStepsOnce() {
    QFETCH(bool, down);
    QFETCH(int, expected);
    Rig rig(0, 10, 5);
    const QPoint arrow = down ? rig.DownArrow() : rig.UpArrow();
    // Released while the first delay still runs: the press handler is waiting.
    QTimer::singleShot(100, [&] { Release(rig.bar, arrow); });
    QElapsedTimer clock;
    clock.start();
    Press(rig.bar, arrow);
    QVERIFY(clock.elapsed() >= ctlVScroll::kRepeatDelay - 20);
    QCOMPARE(rig.bar->Value(), expected);
    QCOMPARE(rig.scrolls, 1);
    QVERIFY(!rig.bar->Repeating());
    QCOMPARE(rig.bar->ArrowState(down ? 1 : 0), int(ctlVScroll::Normal));
    QTest::qWait(120);
    QCOMPARE(rig.bar->Value(), expected);
    QCOMPARE(rig.bar->ThumbTop(), rig.bar->Track().ThumbTopFor(expected, 0, 10));
}

void tst_ctlVScroll::holdRepeatsAndStopsAtEnd_data() {
    QTest::addColumn<bool>("down");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::newRow("down to max") << true << 2 << 8;
    QTest::newRow("up to min") << false << 6 << 0;
}

void tst_ctlVScroll::holdRepeatsAndStopsAtEnd() {
    QFETCH(bool, down);
    QFETCH(int, start);
    QFETCH(int, end);
    Rig rig(0, 8, start);
    rig.bar->Layout();
    const QPoint arrow = down ? rig.DownArrow() : rig.UpArrow();
    const int step = down ? 1 : -1;
    QElapsedTimer clock;
    clock.start();
    Press(rig.bar, arrow); // returns after the first delay, the button still held
    QCOMPARE(rig.bar->Value(), start + step);
    QVERIFY(rig.bar->Repeating());
    QCOMPARE(rig.bar->ArrowState(down ? 1 : 0), int(ctlVScroll::Pressed));
    QTRY_COMPARE_WITH_TIMEOUT(rig.bar->Value(), end, 3000);
    const int steps = std::abs(end - start);
    // Every repeat waits its 50 ms.
    QVERIFY(clock.elapsed() >= ctlVScroll::kRepeatDelay + (steps - 1) * 50 - 30);
    QCOMPARE(rig.bar->ThumbTop(), down ? rig.bar->Track().BottomEnd() : 10);
    QTest::qWait(150); // held at the end: ticks change nothing
    QCOMPARE(rig.bar->Value(), end);
    QCOMPARE(rig.scrolls, steps);
    Release(rig.bar, arrow);
    QVERIFY(!rig.bar->Repeating());
    QCOMPARE(rig.bar->ArrowState(down ? 1 : 0), int(ctlVScroll::Normal));
}

void tst_ctlVScroll::pressAtEndChangesNothing() {
    Rig rig(0, 8, 8);
    QElapsedTimer clock;
    clock.start();
    Press(rig.bar, rig.DownArrow());
    QVERIFY(clock.elapsed() < ctlVScroll::kRepeatDelay); // no delay, no repeat
    QCOMPARE(rig.bar->ArrowState(1), int(ctlVScroll::Pressed));
    QVERIFY(!rig.bar->Repeating());
    QTest::qWait(80);
    Release(rig.bar, rig.DownArrow());
    QCOMPARE(rig.bar->Value(), 8);
    QCOMPARE(rig.scrolls, 0);
}

void tst_ctlVScroll::thumbDragToBothEnds() {
    Rig rig(1, 19, 10);
    rig.bar->Layout();
    QCOMPARE(rig.bar->ThumbTop(), 90);
    const QPoint grab(6, 95); // 5 below the thumb's top
    Move(rig.bar, grab);
    Press(rig.bar, grab);
    QVERIFY(rig.bar->Dragging());
    QCOMPARE(rig.bar->ThumbState(), int(ctlVScroll::Pressed));
    Move(rig.bar, QPoint(6, 135)); // top 130: 120 of 160
    QCOMPARE(rig.bar->ThumbTop(), 130);
    QCOMPARE(rig.bar->Value(), 1 + 14); // 120 * 18 / 160 = 13.5 -> 14
    Move(rig.bar, QPoint(6, 235));
    QCOMPARE(rig.bar->ThumbTop(), 170);
    QCOMPARE(rig.bar->Value(), 19);
    const int scrollsAtBottom = rig.scrolls;
    Move(rig.bar, QPoint(6, 200)); // still past the grab point: the thumb rests
    QCOMPARE(rig.bar->ThumbTop(), 170);
    QCOMPARE(rig.scrolls, scrollsAtBottom);
    Move(rig.bar, QPoint(6, -15));
    QCOMPARE(rig.bar->ThumbTop(), 10);
    QCOMPARE(rig.bar->Value(), 1);
    Move(rig.bar, QPoint(6, 16)); // back past the grab point: follows again
    QCOMPARE(rig.bar->ThumbTop(), 11);
    Release(rig.bar, QPoint(6, 16));
    QVERIFY(!rig.bar->Dragging());
    QCOMPARE(rig.bar->ThumbState(), int(ctlVScroll::Normal));
    QCOMPARE(rig.scrolls, 3); // 15, 19 and 1; one pixel off the top still rounds to 1
    QCOMPARE(rig.bar->Value(), 1);
}

void tst_ctlVScroll::barPagesTowardPointer() {
    Rig rig(0, 40, 0);
    rig.bar->SetLargeChange(5);
    rig.bar->Layout();
    const QPoint below(6, 150); // value 35 puts the thumb's top at 150
    Press(rig.bar, below);
    QCOMPARE(rig.bar->Value(), 5);
    QVERIFY(rig.bar->Repeating());
    QTRY_COMPARE_WITH_TIMEOUT(rig.bar->Value(), 35, 3000);
    QTest::qWait(250); // the thumb is under the pointer: paging stops there
    QCOMPARE(rig.bar->Value(), 35);
    Release(rig.bar, below);
    QVERIFY(!rig.bar->Repeating());
    QCOMPARE(rig.scrolls, 7);
    // Above the thumb it pages up, and never below Min.
    QTimer::singleShot(50, [&] { Release(rig.bar, QPoint(6, 40)); });
    Press(rig.bar, QPoint(6, 40));
    QCOMPARE(rig.bar->Value(), 30);
    rig.bar->SetLargeChange(100);
    QTimer::singleShot(50, [&] { Release(rig.bar, QPoint(6, 40)); });
    Press(rig.bar, QPoint(6, 40));
    QCOMPARE(rig.bar->Value(), 0);
}

void tst_ctlVScroll::hoverAndLeave() {
    Rig rig(0, 10, 5);
    Move(rig.bar, rig.UpArrow());
    QCOMPARE(rig.bar->ArrowState(0), int(ctlVScroll::Hot));
    QCOMPARE(rig.bar->ActivePart(), int(ctlVScroll::UpArrow));
    QCOMPARE(rig.bar->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(rig.tracking.ArmedSurface(), rig.bar->ButtonUp());
    QCOMPARE(PixelOf(rig.bar, QPoint(3, 3)), ArrowColour(0, 1));
    Move(rig.bar, QPoint(6, 40)); // onto the bar: the arrow is left
    QCOMPARE(rig.bar->ArrowState(0), int(ctlVScroll::Normal));
    QCOMPARE(rig.bar->cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(rig.tracking.LeaveTrackingArmed(), qint16(0));
    Move(rig.bar, rig.OnThumb());
    QCOMPARE(rig.bar->ThumbState(), int(ctlVScroll::Hot));
    QCOMPARE(rig.bar->ActivePart(), int(ctlVScroll::Thumb));
    Move(rig.bar, rig.DownArrow());
    QCOMPARE(rig.bar->ThumbState(), int(ctlVScroll::Normal));
    QCOMPARE(rig.bar->ArrowState(1), int(ctlVScroll::Hot));
    Move(&rig.host, QPoint(110, 250));
    QCOMPARE(rig.bar->ArrowState(1), int(ctlVScroll::Normal));
}

void tst_ctlVScroll::emptyRange() {
    Rig rig(3, 3, 3);
    rig.bar->Layout();
    QCOMPARE(rig.bar->ThumbTop(), 10);
    Press(rig.bar, rig.OnThumb());
    Move(rig.bar, QPoint(6, 120));
    QCOMPARE(rig.bar->Value(), 3);
    Release(rig.bar, QPoint(6, 120));
    Press(rig.bar, rig.DownArrow());
    Release(rig.bar, rig.DownArrow());
    QCOMPARE(rig.bar->Value(), 3);
    QCOMPARE(rig.scrolls, 0);
}

void tst_ctlVScroll::properties() {
    Rig rig(2, 30, 7);
    rig.bar->SetLargeChange(4);
    rig.bar->SetSmallChange(3);
    rig.bar->SetMaskColor(0x00FF00);
    PropertyBag bag;
    rig.bar->WriteProperties(bag);
    LeaveTracking tracking;
    ctlVScroll copy(nullptr, &tracking);
    QCOMPARE(copy.Max(), 32767);
    copy.ReadProperties(bag);
    QCOMPARE(copy.Min(), 2);
    QCOMPARE(copy.Max(), 30);
    QCOMPARE(copy.Value(), 7);
    QCOMPARE(copy.LargeChange(), 4);
    QCOMPARE(copy.SmallChange(), 3);
    QCOMPARE(copy.MaskColor(), 0x00FF00u);
    QCOMPARE(copy.ButtonPicture(), rig.bar->ButtonPicture());
    QCOMPARE(copy.width(), kCellW);
}

QTEST_MAIN(tst_ctlVScroll)
#include "tst_ctlVScroll.moc"
