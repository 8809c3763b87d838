#include "TestPictures.h"

#include "controls/ModMask.h"
#include "controls/PictureSurface.h"
#include "controls/PropertyBag.h"
#include "controls/ctlButton.h"
#include "controls/ctlProgress.h"
#include "winsvc/LeaveTracking.h"

#include <QPainter>
#include <QtTest>

using namespace TestPictures;

namespace {

const QRgb kBack = qRgb(10, 60, 10);
const QRgb kBar = qRgb(90, 90, 200);
const QRgb kFill = qRgb(240, 200, 0);

QImage Solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A track picture with a mask-colour border row on top and bottom.
QImage TrackPicture(int w, int h, QRgb colour) {
    QImage image = Solid(w, h, colour);
    QPainter painter(&image);
    painter.fillRect(0, 0, w, 1, QColor(kMask));
    painter.fillRect(0, h - 1, w, 1, QColor(kMask));
    return image;
}

struct Rig {
    LeaveTracking tracking;
    QWidget host;
    ctlProgress* slider;
    QStringList log;
    explicit Rig(bool vertical, bool withThumb = true) {
        host.resize(260, 260);
        slider = new ctlProgress(&host, &tracking);
        slider->SetVertical(vertical);
        const QSize size = vertical ? QSize(20, 200) : QSize(200, 20);
        slider->SetPicBar(vertical
                              ? TrackPicture(20, 200, kBar).transformed(QTransform().rotate(90))
                              : TrackPicture(200, 20, kBar));
        slider->SetPicFill(vertical ? Solid(8, 200, kFill) : Solid(200, 8, kFill));
        if (withThumb) {
            slider->SetPicThumb(ButtonStrip(20, 20));
        }
        slider->SetPicBack(Solid(260, 260, kBack));
        slider->setGeometry(QRect(QPoint(30, 30), size));
        QObject::connect(slider, &ctlProgress::Scroll, [this] { log << "Scroll"; });
        QObject::connect(slider, &ctlProgress::ThumbDown, [this] { log << "ThumbDown"; });
        QObject::connect(slider, &ctlProgress::ThumbUp, [this] { log << "ThumbUp"; });
        host.show();
        if (!QTest::qWaitForWindowExposed(&host)) {
            qWarning("host not exposed");
        }
        Move(&host, QPoint(250, 250));
    }
    int ThumbAt() const { return slider->Vertical() ? slider->Thumb()->y() : slider->Thumb()->x(); }
    // A point of the slider at `along` from its top-left corner, centred across.
    QPoint Along(int along) const {
        return slider->Vertical() ? QPoint(10, along) : QPoint(along, 10);
    }
};

} // namespace

class tst_ctlProgress : public QObject {
    Q_OBJECT
private slots:
    void settingValue_data();
    void settingValue();
    void thumbDrag_data();
    void thumbDrag();
    void rightButtonOnThumb();
    void trackPressAndMove_data();
    void trackPressAndMove();
    void emptyRange();
    void noThumbPicture();
    void composition();
    void newLookAtSameRectangle_data();
    void newLookAtSameRectangle();
    void properties();
};

void tst_ctlProgress::settingValue_data() {
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("thumb");
    // The track is 200 long and the thumb 20, so L = 180.
    QTest::newRow("middle") << false << 50 << 50 << 90;
    QTest::newRow("start") << false << 0 << 0 << 0;
    QTest::newRow("end") << false << 100 << 100 << 180;
    QTest::newRow("beyond the end") << false << 150 << 100 << 270;
    QTest::newRow("before the start") << false << -20 << 0 << -36;
    QTest::newRow("rounds halves to even") << false << 25 << 25 << 45;
    QTest::newRow("vertical middle") << true << 50 << 50 << 90;
    QTest::newRow("vertical start is bottom") << true << 0 << 0 << 180;
    QTest::newRow("vertical end is top") << true << 100 << 100 << 0;
    QTest::newRow("vertical beyond") << true << 150 << 100 << -90;
}

void tst_ctlProgress::settingValue() {
    QFETCH(bool, vertical);
    QFETCH(int, value);
    QFETCH(int, stored);
    QFETCH(int, thumb);
    Rig rig(vertical);
    QCOMPARE(rig.slider->TrackLength(), 180);
    rig.slider->SetValue(value);
    QCOMPARE(rig.slider->Value(), stored);
    QCOMPARE(rig.ThumbAt(), thumb);
    QCOMPARE(rig.log, QStringList{"Scroll"});
    const QRect fill = rig.slider->Fill()->geometry();
    if (vertical) {
        QCOMPARE(fill.top(), thumb);
        QCOMPARE(fill.height(), 200 - thumb);
        QCOMPARE(fill.left(), 6); // centred across
    } else {
        QCOMPARE(fill.width(), std::max(thumb, 0));
        QCOMPARE(fill.top(), 6); // centred on the thumb
    }
}

void tst_ctlProgress::thumbDrag_data() {
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QList<int>>("moves"); // pointer positions along the slider
    QTest::addColumn<QList<int>>("thumbs");
    QTest::addColumn<QList<int>>("values");
    QTest::addColumn<QStringList>("events");
    // The drag starts on the thumb at value 50 (thumb at 90), grabbed 10 in.
    QTest::newRow("along the track")
        << false << QList<int>{118, 136} << QList<int>{108, 126} << QList<int>{60, 70}
        << QStringList{"ThumbDown", "Scroll", "Scroll", "ThumbUp"};
    QTest::newRow("past the end stops at L")
        << false << QList<int>{250, 260, 240, 185, 175} << QList<int>{180, 180, 180, 175, 165}
        << QList<int>{100, 100, 100, 100, 92}
        << QStringList{"ThumbDown", "Scroll", "Scroll", "ThumbUp"};
    QTest::newRow("past the start")
        << false << QList<int>{-40, 30} << QList<int>{0, 20} << QList<int>{0, 0}
        << QStringList{"ThumbDown", "Scroll", "ThumbUp"};
    QTest::newRow("vertical up is toward Max")
        << true << QList<int>{82, -50, 5} << QList<int>{72, 0, 0} << QList<int>{60, 100, 100}
        << QStringList{"ThumbDown", "Scroll", "Scroll", "ThumbUp"};
}

void tst_ctlProgress::thumbDrag() {
    QFETCH(bool, vertical);
    QFETCH(QList<int>, moves);
    QFETCH(QList<int>, thumbs);
    QFETCH(QList<int>, values);
    QFETCH(QStringList, events);
    Rig rig(vertical);
    rig.slider->SetValue(50);
    rig.log.clear();
    Move(rig.slider, rig.Along(100));
    Press(rig.slider, rig.Along(100));
    QVERIFY(rig.slider->Dragging());
    for (int i = 0; i < moves.size(); ++i) {
        Move(rig.slider, rig.Along(moves.at(i)));
        QCOMPARE(rig.ThumbAt(), thumbs.at(i));
        QCOMPARE(rig.slider->Value(), values.at(i));
    }
    Release(rig.slider, rig.Along(moves.last()));
    QVERIFY(!rig.slider->Dragging());
    QCOMPARE(rig.log, events);
}

void tst_ctlProgress::rightButtonOnThumb() {
    Rig rig(false);
    rig.slider->SetValue(50);
    rig.log.clear();
    Press(rig.slider, rig.Along(100), Qt::RightButton);
    Move(rig.slider, rig.Along(150));
    Release(rig.slider, rig.Along(150), Qt::RightButton);
    QCOMPARE(rig.log, QStringList{"ThumbUp"});
    QCOMPARE(rig.slider->Value(), 50);
    QCOMPARE(rig.ThumbAt(), 90);
}

void tst_ctlProgress::trackPressAndMove_data() {
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("thumb");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("moveTo");
    QTest::addColumn<int>("movedThumb");
    QTest::addColumn<int>("movedValue");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("near the start")
        << false << 5 << 0 << 0 << 6 << 0 << 0 << QStringList{"Scroll", "ThumbUp"};
    QTest::newRow("middle then right") << false << 100 << 90 << 50 << 146 << 136 << 76
                                       << QStringList{"Scroll", "Scroll", "ThumbUp"};
    QTest::newRow("vertical near the top")
        << true << 10 << 0 << 100 << 300 << 180 << 0 << QStringList{"Scroll", "Scroll", "ThumbUp"};
}

void tst_ctlProgress::trackPressAndMove() {
    QFETCH(bool, vertical);
    QFETCH(int, press);
    QFETCH(int, thumb);
    QFETCH(int, value);
    QFETCH(int, moveTo);
    QFETCH(int, movedThumb);
    QFETCH(int, movedValue);
    QFETCH(QStringList, events);
    Rig rig(vertical);
    rig.slider->SetValue(vertical ? 0 : 100); // the thumb far from the press
    rig.log.clear();
    Press(rig.slider, rig.Along(press));
    QCOMPARE(rig.ThumbAt(), thumb);
    QCOMPARE(rig.slider->Value(), value);
    Move(rig.slider, rig.Along(moveTo));
    QCOMPARE(rig.ThumbAt(), movedThumb);
    QCOMPARE(rig.slider->Value(), movedValue);
    Release(rig.slider, rig.Along(moveTo));
    QCOMPARE(rig.log, events);
    if (!vertical) {
        QCOMPARE(rig.slider->Fill()->width(), movedThumb);
    }
}

void tst_ctlProgress::emptyRange() {
    Rig rig(false);
    rig.slider->SetMin(5);
    rig.slider->SetMax(5);
    rig.slider->SetValue(7);
    QCOMPARE(rig.slider->Value(), 5);
    QCOMPARE(rig.ThumbAt(), 0);
    Press(rig.slider, rig.Along(150));
    Release(rig.slider, rig.Along(150));
    QCOMPARE(rig.slider->Value(), 5);
    rig.slider->SetMax(0); // replaced by 100 at the next layout
    rig.slider->SetMin(0);
    rig.slider->Layout();
    QCOMPARE(rig.slider->Max(), 100);
}

void tst_ctlProgress::noThumbPicture() {
    Rig rig(false, false);
    QVERIFY(!rig.slider->Thumb()->isVisible());
    QCOMPARE(rig.slider->Thumb()->size(), QSize(0, 0));
    QCOMPARE(rig.slider->TrackLength(), 200);
    Click(rig.slider, rig.Along(100));
    QCOMPARE(rig.slider->Value(), 50);
}

void tst_ctlProgress::composition() {
    Rig rig(false);
    rig.slider->SetValue(50); // thumb 90..109
    const QImage shot = rig.slider->grab().toImage();
    auto at = [&](int x, int y) { return shot.pixel(x, y) | 0xFF000000; };
    QCOMPARE(at(40, 0), kBack);            // bar's cut-out row shows the background
    QCOMPARE(at(40, 3), kBar);             // bar outside the fill
    QCOMPARE(at(40, 8), kFill);            // fill between start and thumb
    QCOMPARE(at(150, 8), kBar);            // beyond the thumb: bar only
    QCOMPARE(at(100, 10), FrameColour(0)); // the thumb in front
    QVERIFY(SameRegion(ModMask::VisibleRegion(rig.slider->Bar()),
                       NaiveRegion(rig.slider->PicBar(), kMask)));
    QVERIFY(SameRegion(ModMask::VisibleRegion(rig.slider->Fill()), QRegion(0, 0, 90, 8)));
    // The thumb is a button with its own looks.
    Move(rig.slider, rig.Along(100));
    QCOMPARE(rig.slider->Thumb()->ShownFrame(), 1);
    Press(rig.slider, rig.Along(100));
    QCOMPARE(rig.slider->Thumb()->ShownFrame(), 2);
    Release(rig.slider, rig.Along(100));
}

using Pixels = QList<QPair<QPoint, QRgb>>;
enum class Reskin { Pictures, MaskColour, Vertical };

void tst_ctlProgress::newLookAtSameRectangle_data() {
    QTest::addColumn<Reskin>("change");
    QTest::addColumn<Pixels>("expected");
    const QRgb bar2 = qRgb(20, 140, 160), fill2 = qRgb(250, 120, 40), back2 = qRgb(70, 0, 90);
    QImage thumb2 = ButtonStrip(20, 20);
    thumb2.invertPixels();
    QTest::newRow("other pictures of the same sizes") << Reskin::Pictures
                                                      << Pixels{{{40, 0}, back2},
                                                                {{40, 3}, bar2},
                                                                {{40, 8}, fill2},
                                                                {{150, 8}, bar2},
                                                                {{100, 10}, thumb2.pixel(10, 10)}};
    // With the bar's own colour as mask colour the bar vanishes and its
    // magenta border rows show.
    QTest::newRow("mask colour") << Reskin::MaskColour
                                 << Pixels{{{40, 0}, kMask}, {{150, 3}, kBack}, {{40, 8}, kFill}};
    // Turned vertical in the same rectangle: the thumb moves to the start.
    QTest::newRow("orientation") << Reskin::Vertical
                                 << Pixels{{{5, 10}, FrameColour(0)}, {{100, 10}, kBar}};
}

void tst_ctlProgress::newLookAtSameRectangle() {
    QFETCH(Reskin, change);
    QFETCH(Pixels, expected);
    Rig rig(false);
    rig.slider->SetValue(50);
    (void)rig.slider->grab(); // the old look is on screen
    const QRect before = rig.slider->geometry();
    switch (change) {
    case Reskin::Pictures: {
        QImage thumb = ButtonStrip(20, 20);
        thumb.invertPixels();
        rig.slider->SetPicBack(Solid(260, 260, qRgb(70, 0, 90)));
        rig.slider->SetPicBar(TrackPicture(200, 20, qRgb(20, 140, 160)));
        rig.slider->SetPicFill(Solid(200, 8, qRgb(250, 120, 40)));
        rig.slider->SetPicThumb(thumb);
        break;
    }
    case Reskin::MaskColour:
        rig.slider->SetMaskColor(ModColor::FromQRgb(kBar));
        break;
    case Reskin::Vertical:
        rig.slider->SetVertical(true);
        break;
    }
    rig.slider->setGeometry(before); // what the skin applier does: no resize comes
    const QImage shot = rig.slider->grab().toImage();
    for (const auto& [point, colour] : expected) {
        QCOMPARE(shot.pixel(point) | 0xFF000000, colour);
    }
}

void tst_ctlProgress::properties() {
    Rig rig(false);
    PropertyBag bag;
    rig.slider->SetMaskColor(0x00FF00);
    rig.slider->WriteProperties(bag);
    QCOMPARE(bag.ReadProperty("MaskColor").toUInt(), 0x00FF00u);
    QVERIFY(bag.Contains("PicBar"));
    QVERIFY(bag.Contains("PicFill"));
    QVERIFY(bag.Contains("PicThumb"));
    LeaveTracking tracking;
    ctlProgress copy(nullptr, &tracking);
    copy.SetMax(7);
    copy.ReadProperties(bag);
    QCOMPARE(copy.MaskColor(), 0x00FF00u);
    QCOMPARE(copy.Thumb()->MaskColor(), 0x00FF00u);
    QCOMPARE(copy.PicBar(), rig.slider->PicBar());
    QCOMPARE(copy.picThumb(), rig.slider->picThumb());
    QCOMPARE(copy.Max(), 100);
    QCOMPARE(copy.Min(), 0);
    QCOMPARE(copy.Value(), 0);
    QCOMPARE(copy.Vertical(), false);
}

QTEST_MAIN(tst_ctlProgress)
#include "tst_ctlProgress.moc"
