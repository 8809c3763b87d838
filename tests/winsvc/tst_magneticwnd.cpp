#include "support/TestWindows.h"
#include "winsvc/WindowDragger.h"
#include "winsvc/WindowNotifications.h"
#include "winsvc/cMagneticWnd.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QtTest>

#include <memory>

namespace WN = WindowNotifications;
using TestWindows::MakeWindow;

namespace {
// Drags in a few steps, as a hand would.
void Drag(QWidget* widget, QPoint local, QPoint travel) {
    TestWindows::Drag(widget, local, travel, 4);
}
} // namespace

namespace {

// Counts the notifications a window receives, in order.
class Recorder : public QObject {
public:
    QList<int> types;
    bool eventFilter(QObject*, QEvent* e) override {
        const int t = e->type();
        if (t == WN::EnterSizeMove || t == WN::Moving || t == WN::Sizing || t == WN::ExitSizeMove) {
            if (types.isEmpty() || types.last() != t) {
                types.append(t);
            }
        }
        return false;
    }
};

} // namespace

class tst_MagneticWnd : public QObject {
    Q_OBJECT
private slots:
    void registration();
    void dragMovesGluedWindows();
    void dragChildAloneUnglues();
    void framedWindowsByOuterRectangle();
    void dragSnaps_data();
    void dragSnaps();
    void gripSizesAndSnaps();
    void glueRecomputedOnCommands_data();
    void glueRecomputedOnCommands();
    void removingParentFreesChildren();
    void destroyedWindowLeaves();
};

void tst_MagneticWnd::registration() {
    cMagneticWnd magnet;
    auto player = MakeWindow(QRect(100, 100, 200, 100));
    auto list = MakeWindow(QRect(100, 200, 200, 80));
    QWidget child(player.get());

    QCOMPARE(magnet.SnapWidth(), 10);
    QVERIFY(magnet.AddWindow(player.get()));
    QVERIFY(magnet.AddWindow(list.get(), player.get()));
    QVERIFY(magnet.IsGlued(list.get()));
    QVERIFY(!magnet.AddWindow(list.get(), nullptr)); // already registered: unchanged
    QVERIFY(magnet.IsGlued(list.get()));
    QVERIFY(!magnet.AddWindow(nullptr));
    auto lone = MakeWindow(QRect(500, 100, 50, 50));
    QVERIFY(!magnet.AddWindow(lone.get(), lone.get()));
    QVERIFY(!magnet.IsRegistered(lone.get()));
    QVERIFY(!magnet.AddWindow(&child));                       // not a window
    QVERIFY(!magnet.AddWindow(MakeWindow({}).get(), &child)); // parent not a window
    QVERIFY(!magnet.RemoveWindow(&child));
    QVERIFY(magnet.RemoveWindow(list.get()));
    QVERIFY(!magnet.RemoveWindow(list.get()));
    QVERIFY(!magnet.IsRegistered(list.get()));
}

void tst_MagneticWnd::dragMovesGluedWindows() {
    cMagneticWnd magnet;
    auto player = MakeWindow(QRect(100, 100, 200, 100));
    auto list = MakeWindow(QRect(100, 200, 200, 80));   // against the player's bottom
    auto second = MakeWindow(QRect(100, 280, 200, 60)); // against the list only
    auto apart = MakeWindow(QRect(450, 300, 100, 100));
    QVERIFY(magnet.AddWindow(player.get()));
    QVERIFY(magnet.AddWindow(list.get(), player.get()));
    QVERIFY(magnet.AddWindow(second.get(), player.get()));
    QVERIFY(magnet.AddWindow(apart.get(), player.get()));
    QVERIFY(magnet.IsGlued(list.get()));
    QVERIFY(magnet.IsGlued(second.get()));
    QVERIFY(!magnet.IsGlued(apart.get()));

    WindowDragger dragger(player.get());
    Recorder recorder;
    player->installEventFilter(&recorder);
    Drag(player.get(), QPoint(50, 50), QPoint(40, 30));

    QCOMPARE(player->geometry(), QRect(140, 130, 200, 100));
    QCOMPARE(list->geometry(), QRect(140, 230, 200, 80));
    QCOMPARE(second->geometry(), QRect(140, 310, 200, 60));
    QCOMPARE(apart->geometry(), QRect(450, 300, 100, 100));
    QVERIFY(!dragger.IsTracking());
    QCOMPARE(recorder.types, (QList<int>{WN::EnterSizeMove, WN::Moving, WN::ExitSizeMove}));
    QVERIFY(magnet.IsGlued(list.get()));
}

void tst_MagneticWnd::dragChildAloneUnglues() {
    cMagneticWnd magnet;
    auto player = MakeWindow(QRect(100, 100, 200, 100));
    auto list = MakeWindow(QRect(100, 200, 200, 80));
    QVERIFY(magnet.AddWindow(player.get()));
    QVERIFY(magnet.AddWindow(list.get(), player.get()));
    WindowDragger dragger(list.get());

    Drag(list.get(), QPoint(20, 20), QPoint(150, 120));
    QCOMPARE(player->geometry(), QRect(100, 100, 200, 100));
    QCOMPARE(list->geometry(), QRect(250, 320, 200, 80));
    QVERIFY(!magnet.IsGlued(list.get()));

    // Dropped back against the player it is glued again.
    Drag(list.get(), QPoint(20, 20), QPoint(-147, -118));
    QCOMPARE(list->geometry(), QRect(100, 200, 200, 80));
    QVERIFY(magnet.IsGlued(list.get()));
}

void tst_MagneticWnd::framedWindowsByOuterRectangle() {
    cMagneticWnd magnet;
    auto player = MakeWindow(QRect(100, 100, 200, 100));
    QWidget video; // with a frame, like the video window
    video.resize(160, 120);
    video.move(300, 100); // its frame against the player's right edge
    video.show();
    QVERIFY(QTest::qWaitForWindowExposed(&video));
    const QPoint frameOffset = video.geometry().topLeft() - video.frameGeometry().topLeft();
    if (frameOffset.isNull())
        QSKIP("this platform gives windows no frame");
    QVERIFY(magnet.AddWindow(player.get()));
    QVERIFY(magnet.AddWindow(&video, player.get()));
    QVERIFY(magnet.IsGlued(&video));

    // Travelling with the player it keeps its place beside it.
    WindowDragger playerDragger(player.get());
    Drag(player.get(), QPoint(50, 50), QPoint(40, 30));
    QCOMPARE(player->geometry(), QRect(140, 130, 200, 100));
    QCOMPARE(video.frameGeometry().topLeft(), QPoint(340, 130));
    QCOMPARE(video.geometry().topLeft(), QPoint(340, 130) + frameOffset);

    // Dragged itself, its frame is what snaps.
    WindowDragger videoDragger(&video);
    Drag(&video, QPoint(20, 20), QPoint(60, 0));
    QCOMPARE(video.frameGeometry().left(), 400);
    QVERIFY(!magnet.IsGlued(&video));
    Drag(&video, QPoint(20, 20), QPoint(-55, 0));
    QCOMPARE(video.frameGeometry().topLeft(), QPoint(340, 130));
    QCOMPARE(video.size(), QSize(160, 120));
    QVERIFY(magnet.IsGlued(&video));
}

void tst_MagneticWnd::dragSnaps_data() {
    QTest::addColumn<int>("gap");
    QTest::addColumn<int>("expectedLeft");
    // The dragged window ends `gap` pixels right of the other one's right edge
    // (x = 300).
    QTest::newRow("9 px snaps") << 9 << 300;
    QTest::newRow("10 px stays") << 10 << 310;
    QTest::newRow("overlapping by 5 snaps") << -5 << 300;
}

void tst_MagneticWnd::dragSnaps() {
    QFETCH(int, gap);
    QFETCH(int, expectedLeft);
    cMagneticWnd magnet;
    auto player = MakeWindow(QRect(100, 100, 200, 100));
    auto other = MakeWindow(QRect(400, 120, 100, 100));
    QVERIFY(magnet.AddWindow(player.get()));
    QVERIFY(magnet.AddWindow(other.get()));
    WindowDragger dragger(other.get());

    Drag(other.get(), QPoint(10, 10), QPoint(300 + gap - 400, 3));
    QCOMPARE(other->geometry(), QRect(expectedLeft, 123, 100, 100));
}

void tst_MagneticWnd::gripSizesAndSnaps() {
    cMagneticWnd magnet;
    auto player = MakeWindow(QRect(100, 100, 200, 100));
    auto other = MakeWindow(QRect(400, 100, 100, 150));
    QVERIFY(magnet.AddWindow(player.get()));
    QVERIFY(magnet.AddWindow(other.get()));
    player->setMinimumSize(50, 40);
    QWidget grip(player.get());
    grip.setGeometry(190, 90, 10, 10);
    grip.show();
    WindowDragger dragger(player.get());
    dragger.AddSizeGrip(&grip);

    Recorder recorder;
    player->installEventFilter(&recorder);
    // Right edge ends 6 px short of the other window, bottom 4 px short of its bottom.
    Drag(&grip, QPoint(5, 5), QPoint(94, 46));
    QCOMPARE(player->geometry(), QRect(100, 100, 300, 150));
    QCOMPARE(recorder.types, (QList<int>{WN::EnterSizeMove, WN::Sizing, WN::ExitSizeMove}));

    // Shrinking below the minimum size stops at it.
    Drag(&grip, QPoint(5, 5), QPoint(-400, -400));
    QCOMPARE(player->geometry(), QRect(100, 100, 50, 40));
}

void tst_MagneticWnd::glueRecomputedOnCommands_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("command");
    QTest::addColumn<bool>("recomputed");
    QTest::newRow("minimise") << int(WN::SysCommand) << WN::SC_MINIMIZE << true;
    QTest::newRow("restore") << int(WN::SysCommand) << WN::SC_RESTORE << true;
    QTest::newRow("maximise") << int(WN::SysCommand) << WN::SC_MAXIMIZE << false;
    QTest::newRow("minimise with extra bits")
        << int(WN::SysCommand) << (WN::SC_MINIMIZE | 2) << false;
    QTest::newRow("any command") << int(WN::Command) << 7 << true;
}

void tst_MagneticWnd::glueRecomputedOnCommands() {
    QFETCH(int, type);
    QFETCH(int, command);
    QFETCH(bool, recomputed);
    cMagneticWnd magnet;
    auto player = MakeWindow(QRect(100, 100, 200, 100));
    auto list = MakeWindow(QRect(100, 200, 200, 80));
    QVERIFY(magnet.AddWindow(player.get()));
    QVERIFY(magnet.AddWindow(list.get(), player.get()));
    QVERIFY(magnet.IsGlued(list.get()));

    list->move(100, 260); // no notification: the glue is stale
    QVERIFY(magnet.IsGlued(list.get()));
    if (type == WN::SysCommand) {
        WN::SysCommandEvent event(command);
        QCoreApplication::sendEvent(player.get(), &event);
    } else {
        WN::CommandEvent event(command);
        QCoreApplication::sendEvent(player.get(), &event);
    }
    QCOMPARE(magnet.IsGlued(list.get()), !recomputed);
}

void tst_MagneticWnd::removingParentFreesChildren() {
    cMagneticWnd magnet;
    auto player = MakeWindow(QRect(100, 100, 200, 100));
    auto list = MakeWindow(QRect(100, 200, 200, 80));
    QVERIFY(magnet.AddWindow(player.get()));
    QVERIFY(magnet.AddWindow(list.get(), player.get()));
    QVERIFY(magnet.RemoveWindow(player.get()));
    QVERIFY(magnet.IsRegistered(list.get()));
    QVERIFY(!magnet.IsGlued(list.get()));

    // The player is no longer hooked: dragging it leaves the list behind and
    // it does not snap to the list.
    WindowDragger dragger(player.get());
    Drag(player.get(), QPoint(50, 50), QPoint(3, 5));
    QCOMPARE(player->geometry(), QRect(103, 105, 200, 100));
    QCOMPARE(list->geometry(), QRect(100, 200, 200, 80));

    // The list still snaps, to the work area: the player is no longer
    // registered, so it is not snapped to either.
    const int workLeft = list->screen()->availableGeometry().left();
    WindowDragger listDragger(list.get());
    Drag(list.get(), QPoint(10, 10), QPoint(workLeft + 6 - 100, 3));
    QCOMPARE(list->geometry(), QRect(workLeft, 203, 200, 80));
    Drag(list.get(), QPoint(10, 10), QPoint(100, 0));
    Drag(list.get(), QPoint(10, 10), QPoint(-4, 0)); // 3 px from the player's left edge
    QCOMPARE(list->geometry(), QRect(workLeft + 96, 203, 200, 80));
}

void tst_MagneticWnd::destroyedWindowLeaves() {
    cMagneticWnd magnet;
    auto player = MakeWindow(QRect(100, 100, 200, 100));
    auto list = MakeWindow(QRect(100, 200, 200, 80));
    QVERIFY(magnet.AddWindow(player.get()));
    QVERIFY(magnet.AddWindow(list.get(), player.get()));
    QWidget* gone = player.get();
    player.reset();
    QVERIFY(!magnet.IsRegistered(gone));
    QVERIFY(!magnet.IsGlued(list.get()));
    WindowDragger dragger(list.get());
    Drag(list.get(), QPoint(10, 10), QPoint(30, 30));
    QCOMPARE(list->geometry(), QRect(130, 230, 200, 80));
}

QTEST_MAIN(tst_MagneticWnd)
#include "tst_magneticwnd.moc"
