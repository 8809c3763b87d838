#include "TestPictures.h"

#include "controls/ModMask.h"
#include "controls/PropertyBag.h"
#include "controls/ctlButton.h"
#include "winsvc/LeaveTracking.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtTest>

using namespace TestPictures;

namespace {

// The window the button sits on; it counts presses that fell through.
class Host : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::black); }
};

struct Rig {
    LeaveTracking tracking;
    Host host;
    ctlButton* button;
    QStringList log;
    Rig() {
        host.resize(120, 60);
        button = new ctlButton(&host, &tracking);
        button->move(10, 10);
        button->SetPicture(ButtonStrip(19, 10));
        QObject::connect(button, &ctlButton::Click, [this] { log << "Click"; });
        QObject::connect(button, &ctlButton::DblClick, [this] { log << "DblClick"; });
        QObject::connect(button, &ctlButton::KeyDown, [this](int, int) { log << "KeyDown"; });
        QObject::connect(button, &ctlButton::KeyPress, [this](int) { log << "KeyPress"; });
        QObject::connect(button, &ctlButton::KeyUp, [this](int, int) { log << "KeyUp"; });
        QObject::connect(button, &ctlButton::MouseDown,
                         [this](int, int, float, float) { log << "MouseDown"; });
        QObject::connect(button, &ctlButton::MouseMove,
                         [this](int, int, float, float) { log << "MouseMove"; });
        QObject::connect(button, &ctlButton::MouseUp,
                         [this](int, int, float, float) { log << "MouseUp"; });
        QObject::connect(button, &ctlButton::MouseLeave, [this] { log << "MouseLeave"; });
        host.show();
        if (!QTest::qWaitForWindowExposed(&host)) {
            qWarning("host window not exposed");
        }
        // Start with the pointer over the window but away from the button.
        Move(&host, QPoint(115, 5));
        Move(&host, QPoint(110, 55));
    }
    QRgb Shown() { return PixelOf(button, QPoint(10, 6)); }
};

} // namespace

class tst_ctlButton : public QObject {
    Q_OBJECT
private slots:
    void freshButton();
    void takesOneFrameAndShowsIt_data();
    void takesOneFrameAndShowsIt();
    void stateTable_data();
    void stateTable();
    void selectedIsToggle();
    void shapeIsShownFramesPixels();
    void allMaskFrameIsInvisibleAndUnclickable();
    void disabledPressFallsThrough();
    void canResizeKeepsFrameAtNaturalSize();
    void repaintsOnlyOnChangeOfLook();
    void properties();
    void eventArguments();
};

void tst_ctlButton::freshButton() {
    LeaveTracking tracking;
    ctlButton button(nullptr, &tracking);
    QCOMPARE(button.Enabled(), false);
    QCOMPARE(button.MaskColor(), 0xFF00FFu);
    QCOMPARE(button.ShownFrame(), 3);
    QCOMPARE(button.Selected(), false);
    QCOMPARE(button.CanResize(), false);
    QVERIFY(tracking.IsHooked(&button));
}

void tst_ctlButton::takesOneFrameAndShowsIt_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("frame");
    QTest::newRow("enabled shows normal") << true << 0;
    QTest::newRow("disabled shows frame 3") << false << 3;
}

void tst_ctlButton::takesOneFrameAndShowsIt() {
    QFETCH(bool, enabled);
    QFETCH(int, frame);
    Rig rig;
    rig.button->SetEnabled(enabled);
    QCOMPARE(rig.button->size(), QSize(19, 10)); // a 76-pixel strip
    QCOMPARE(rig.button->ShownFrame(), frame);
    const QImage shown = rig.button->grab().toImage();
    const QImage expected = ButtonStrip(19, 10).copy(19 * frame, 0, 19, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 19; ++x) {
            if (expected.pixel(x, y) != kMask) {
                QCOMPARE(shown.pixel(x, y) | 0xFF000000, expected.pixel(x, y));
            }
        }
    }
}

void tst_ctlButton::stateTable_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<int>("frame");
    QTest::addColumn<int>("hover");
    const QStringList none;
    QTest::newRow("move") << true << "move" << QStringList{"MouseMove"} << 1 << 1;
    QTest::newRow("press") << true << "move press" << QStringList{"MouseMove", "MouseDown"} << 2
                           << 1;
    QTest::newRow("click") << true << "move press release"
                           << QStringList{"MouseMove", "MouseDown", "MouseUp", "Click"} << 1 << 1;
    // Dragging out and releasing there: no click, and the pointer has left.
    QTest::newRow("release outside")
        << true << "move press releaseOutside"
        << QStringList{"MouseMove", "MouseDown", "MouseMove", "MouseUp", "MouseLeave"} << 0 << 0;
    QTest::newRow("right click") << true << "move rightPress rightRelease"
                                 << QStringList{"MouseMove", "MouseDown", "MouseUp"} << 0 << 1;
    QTest::newRow("double click") << true << "move dblclick"
                                  << QStringList{"MouseMove", "MouseDown", "MouseUp",
                                                 "Click",     "DblClick",  "MouseUp"}
                                  << 0 << 1;
    QTest::newRow("leave") << true << "move leave" << QStringList{"MouseMove", "MouseLeave"} << 0
                           << 0;
    QTest::newRow("keys") << true << "key" << QStringList{"KeyDown", "KeyPress", "KeyUp"} << 0 << 0;
    QTest::newRow("disabled move") << false << "move" << none << 3 << 0;
    QTest::newRow("disabled click") << false << "move press release" << none << 3 << 0;
    QTest::newRow("disabled double click") << false << "move dblclick" << none << 3 << 0;
    QTest::newRow("disabled keys") << false << "key" << none << 3 << 0;
    QTest::newRow("disabled leave") << false << "move leave" << QStringList{"MouseLeave"} << 3 << 0;
}

void tst_ctlButton::stateTable() {
    QFETCH(bool, enabled);
    QFETCH(QString, actions);
    QFETCH(QStringList, events);
    QFETCH(int, frame);
    QFETCH(int, hover);
    Rig rig;
    rig.button->SetEnabled(enabled);
    ctlButton* b = rig.button;
    const QPoint inside(10, 6);
    for (const QString& action : actions.split(' ')) {
        if (action == "move") {
            Move(b, inside);
        } else if (action == "press") {
            Press(b, inside);
        } else if (action == "release") {
            Release(b, inside);
        } else if (action == "releaseOutside") {
            Release(b, QPoint(60, 30));
        } else if (action == "rightPress") {
            Press(b, inside, Qt::RightButton);
        } else if (action == "rightRelease") {
            Release(b, inside, Qt::RightButton);
        } else if (action == "dblclick") {
            DoubleClick(b, inside);
        } else if (action == "leave") {
            Move(&rig.host, QPoint(100, 50));
        } else if (action == "key") {
            b->setFocus();
            QTest::keyClick(b, Qt::Key_A);
        }
    }
    QCOMPARE(rig.log.join(' '), events.join(' '));
    QCOMPARE(b->ShownFrame(), frame);
    QCOMPARE(b->Hover(), hover);
    QCOMPARE(rig.Shown(), FrameColour(frame));
    QCOMPARE(b->cursor().shape(), hover ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void tst_ctlButton::selectedIsToggle() {
    Rig rig;
    rig.button->SetEnabled(true);
    rig.button->SetSelected(true);
    QCOMPARE(rig.Shown(), FrameColour(2));
    Move(rig.button, QPoint(10, 6));
    QCOMPARE(rig.Shown(), FrameColour(1));
    Move(&rig.host, QPoint(100, 50));
    QCOMPARE(rig.Shown(), FrameColour(2));
    rig.button->SetSelected(false);
    QCOMPARE(rig.Shown(), FrameColour(0));
    rig.button->SetEnabled(false);
    rig.button->SetSelected(true);
    QCOMPARE(rig.button->ShownFrame(), 2);
    rig.button->SetSelected(false);
    QCOMPARE(rig.button->ShownFrame(), 3);
}

void tst_ctlButton::shapeIsShownFramesPixels() {
    Rig rig;
    rig.button->SetEnabled(true);
    const QImage strip = ButtonStrip(19, 10);
    for (int k = 0; k < 4; ++k) {
        rig.button->DrawState(k);
        const QRegion expected = NaiveRegion(strip.copy(19 * k, 0, 19, 10), kMask);
        QVERIFY2(SameRegion(ModMask::VisibleRegion(rig.button), expected),
                 qPrintable(QString("frame %1").arg(k)));
        QVERIFY(SameRegion(rig.button->FrameMask(k), expected));
    }
    // A cut-out pixel does not take the click: it reaches the window.
    Click(rig.button, QPoint(0, 0));
    QVERIFY(!rig.log.contains("Click"));
    QCOMPARE(rig.host.presses, 1);
    // A new mask colour gives new shapes.
    rig.button->SetMaskColor(ModColor::FromQRgb(FrameColour(0)));
    rig.button->DrawState(0);
    QVERIFY(SameRegion(ModMask::VisibleRegion(rig.button),
                       NaiveRegion(strip.copy(0, 0, 19, 10), FrameColour(0))));
}

void tst_ctlButton::allMaskFrameIsInvisibleAndUnclickable() {
    Rig rig;
    QImage strip = ButtonStrip(19, 10);
    QPainter(&strip).fillRect(0, 0, 19, 10, QColor(kMask));
    rig.button->SetPicture(strip);
    rig.button->SetEnabled(true);
    QVERIFY(rig.button->FrameMask(0).isEmpty());
    QVERIFY(ModMask::VisibleRegion(rig.button).isEmpty());
    Click(&rig.host, QPoint(20, 15));
    QVERIFY(rig.log.isEmpty());
    QCOMPARE(rig.host.presses, 1);
    QCOMPARE(PixelOf(&rig.host, QPoint(20, 15)), qRgb(0, 0, 0));
}

void tst_ctlButton::disabledPressFallsThrough() {
    Rig rig;
    Click(rig.button, QPoint(10, 6));
    QCOMPARE(rig.host.presses, 1);
    rig.button->SetEnabled(true);
    Click(rig.button, QPoint(10, 6));
    QCOMPARE(rig.host.presses, 1);
}

void tst_ctlButton::canResizeKeepsFrameAtNaturalSize() {
    Rig rig;
    rig.button->SetEnabled(true);
    rig.button->resize(40, 30);
    QCOMPARE(rig.button->size(), QSize(19, 10));
    rig.button->SetCanResize(true);
    rig.button->resize(40, 30);
    QCOMPARE(rig.button->size(), QSize(40, 30));
    QCOMPARE(rig.button->ShownFrame(), 0);
    QVERIFY(SameRegion(ModMask::VisibleRegion(rig.button),
                       NaiveRegion(ButtonStrip(19, 10).copy(0, 0, 19, 10), kMask)));
}

void tst_ctlButton::repaintsOnlyOnChangeOfLook() {
    Rig rig;
    rig.button->SetEnabled(true);
    int paints = 0;
    struct Counter : QObject {
        int* n;
        bool eventFilter(QObject*, QEvent* e) override {
            *n += e->type() == QEvent::Paint;
            return false;
        }
    } counter;
    counter.n = &paints;
    Move(rig.button, QPoint(10, 6));
    QCoreApplication::processEvents();
    rig.button->installEventFilter(&counter);
    Move(rig.button, QPoint(11, 6));
    Move(rig.button, QPoint(12, 7));
    rig.button->DrawState(1);
    QCoreApplication::processEvents();
    QCOMPARE(paints, 0);
    Press(rig.button, QPoint(12, 7));
    QCoreApplication::processEvents();
    QVERIFY(paints > 0);
}

void tst_ctlButton::properties() {
    Rig rig;
    PropertyBag bag;
    rig.button->WriteProperties(bag);
    QVERIFY(bag.Contains("Picture"));
    QVERIFY(!bag.Contains("Enabled")); // defaults are not stored
    QVERIFY(!bag.Contains("MaskColor"));
    rig.button->SetEnabled(true);
    rig.button->SetMaskColor(0x00FF00);
    rig.button->WriteProperties(bag);
    QCOMPARE(bag.ReadProperty("MaskColor").toUInt(), 0x00FF00u);

    LeaveTracking tracking;
    ctlButton copy(nullptr, &tracking);
    QSignalSpy changed(&copy, &ctlButton::PropertyChanged);
    copy.ReadProperties(bag);
    QCOMPARE(copy.Enabled(), true);
    QCOMPARE(copy.MaskColor(), 0x00FF00u);
    QCOMPARE(copy.size(), QSize(19, 10));
    QCOMPARE(copy.ShownFrame(), 0);
    QCOMPARE(changed.count(), 1); // Picture through its property only

    ctlButton blank(nullptr, &tracking);
    blank.ReadProperties(PropertyBag());
    QCOMPARE(blank.Enabled(), false);
    QCOMPARE(blank.MaskColor(), 0xFF00FFu);
    QVERIFY(blank.Picture().isNull());
}

void tst_ctlButton::eventArguments() {
    Rig rig;
    rig.button->SetEnabled(true);
    QSignalSpy down(rig.button, &ctlButton::MouseDown);
    QSignalSpy key(rig.button, &ctlButton::KeyDown);
    Press(rig.button, QPoint(7, 3), Qt::RightButton, Qt::ShiftModifier);
    QCOMPARE(down.count(), 1);
    QCOMPARE(down.at(0).at(0).toInt(), 2);
    QCOMPARE(down.at(0).at(1).toInt(), 1);
    QCOMPARE(down.at(0).at(2).toFloat(), 7.0f);
    QCOMPARE(down.at(0).at(3).toFloat(), 3.0f);
    rig.button->setFocus();
    QTest::keyPress(rig.button, Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(key.count(), 2); // Ctrl itself, then the arrow
    QCOMPARE(key.at(0).at(0).toInt(), 0x11);
    QCOMPARE(key.at(1).at(0).toInt(), 0x25);
    QCOMPARE(key.at(1).at(1).toInt(), 2);
}

QTEST_MAIN(tst_ctlButton)
#include "tst_ctlButton.moc"
