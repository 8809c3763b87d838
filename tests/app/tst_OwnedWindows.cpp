// The three windows as one program: the playlist and video windows go down
// and come back with the player window, whatever minimises it, and every
// window resized below its minimum from outside the program snaps back.
// The state changes arrive through the windows' own platform windows, as a
// window manager's do (under X11 the same events come from the manager).
#include "MenuRig.h"

#include "app/LyricsPanel.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "lyrics/frmLyricWindow.h"
#include "playback/frmPlayer.h"
#include "playlist/frmPlaylistWindow.h"
#include "winsvc/MinimumSizeGuard.h"
#include "winsvc/OwnedWindows.h"

#include <QWindow>
#include <QtTest>

class tst_OwnedWindows : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { m_rig.reset(); }
    void minimiseTakesTheOwnedWindows_data();
    void minimiseTakesTheOwnedWindows();
    void resizeFromOutsideSnapsBack_data();
    void resizeFromOutsideSnapsBack();

private:
    frmPlayerWindow& Player() const { return m_rig->app->PlayerWindow(); }
    frmPlaylistWindow& Playlist() const { return m_rig->app->PlaylistWindow(); }
    QWidget* Window(const QString& name) const;
    // Shows or hides the playlist and video windows with the player's buttons.
    void SetShown(ctlButton* button, bool shown);

    std::unique_ptr<MenuRig> m_rig;
};

void tst_OwnedWindows::init() {
    m_rig = std::make_unique<MenuRig>();
    QVERIFY(m_rig->Start());
    QVERIFY(QTest::qWaitForWindowExposed(&Player()));
    m_rig->app->VideoWindow(); // made hidden, as the first video would
}

QWidget* tst_OwnedWindows::Window(const QString& name) const {
    if (name == "player")
        return &Player();
    if (name == "playlist")
        return &Playlist();
    return m_rig->app->ExistingVideoWindow();
}

void tst_OwnedWindows::SetShown(ctlButton* button, bool shown) {
    if (button->Selected() != shown)
        emit button->Click();
}

// minimise: the player window's own button, or the platform's state change
// (a window manager's iconify); restore: the platform's (a taskbar click) or
// the program's own showNormal (a second copy handing over). `during`
// happens while the windows are down.
void tst_OwnedWindows::minimiseTakesTheOwnedWindows_data() {
    QTest::addColumn<QString>("minimise");
    QTest::addColumn<QString>("restore");
    QTest::addColumn<bool>("playlistShown");
    QTest::addColumn<bool>("videoShown");
    QTest::addColumn<QString>("during");
    QTest::addColumn<bool>("playlistAfter");
    QTest::addColumn<bool>("videoAfter");
    QTest::newRow("button, both shown") << "button"
                                        << "platform" << true << true << "" << true << true;
    QTest::newRow("manager, playlist hidden stays hidden")
        << "platform"
        << "showNormal" << false << true << "" << false << true;
    QTest::newRow("video shown while down goes down, then comes back")
        << "button"
        << "platform" << true << false << "show video" << true << true;
    QTest::newRow("playlist closed while down stays closed")
        << "platform"
        << "platform" << true << true << "hide playlist" << false << true;
}

void tst_OwnedWindows::minimiseTakesTheOwnedWindows() {
    QFETCH(QString, minimise);
    QFETCH(QString, restore);
    QFETCH(bool, playlistShown);
    QFETCH(bool, videoShown);
    QFETCH(QString, during);
    QFETCH(bool, playlistAfter);
    QFETCH(bool, videoAfter);
    frmPlayer* video = m_rig->app->ExistingVideoWindow();
    SetShown(Player().cmdPlaylist(), playlistShown);
    SetShown(Player().cmdEqualizer(), videoShown);
    QCOMPARE(m_rig->app->Owned().Windows(),
             (QList<QWidget*>{&Playlist(), &m_rig->app->Lyrics().Window(), video}));

    if (minimise == "button")
        emit Player().cmdMinimize()->Click();
    else
        Player().windowHandle()->setWindowStates(Qt::WindowMinimized);
    QTRY_VERIFY(Player().isMinimized());
    QVERIFY(m_rig->app->Owned().GroupMinimised());
    QCOMPARE(Playlist().isMinimized(), playlistShown);
    QCOMPARE(video->isMinimized(), videoShown);

    if (during == "show video") {
        SetShown(Player().cmdEqualizer(), true);
        QTRY_VERIFY(video->isMinimized());
    } else if (during == "hide playlist") {
        SetShown(Player().cmdPlaylist(), false);
    }

    if (restore == "platform")
        Player().windowHandle()->setWindowStates(Qt::WindowNoState);
    else
        Player().showNormal();
    QTRY_VERIFY(!Player().isMinimized());
    QVERIFY(!m_rig->app->Owned().GroupMinimised());
    QCOMPARE(Playlist().isVisible(), playlistAfter);
    QCOMPARE(video->isVisible(), videoAfter);
    for (QWidget* window : {static_cast<QWidget*>(&Playlist()), static_cast<QWidget*>(video)})
        QVERIFY2(!window->isMinimized(), qPrintable(window->windowTitle()));
}

// A resize through the window's platform window, as a manager's frame, a
// tiling layout or xdotool's make it; the program's own sizing never goes
// below the minimum. `shrink` is what is taken off each edge (left, top,
// right, bottom); the edge that stayed is kept. `insist`: the layout puts the
// window back at its too-small size after the snap, and is not answered
// again (the two would resize the window for ever) until another size comes.
void tst_OwnedWindows::resizeFromOutsideSnapsBack_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QMargins>("shrink");
    QTest::addColumn<bool>("insist");
    for (const QString window : {"player", "playlist", "video"}) {
        QTest::addRow("%s, narrower from the right", qPrintable(window))
            << window << QMargins(0, 0, 60, 0) << false;
        QTest::addRow("%s, lower from the bottom", qPrintable(window))
            << window << QMargins(0, 0, 0, 50) << false;
        QTest::addRow("%s, from the top-left corner", qPrintable(window))
            << window << QMargins(40, 30, 0, 0) << false;
    }
    QTest::newRow("playlist, to a sliver") << "playlist" << QMargins(0, 0, 250, 180) << false;
    QTest::newRow("playlist, a layout insists") << "playlist" << QMargins(0, 0, 80, 40) << true;
}

void tst_OwnedWindows::resizeFromOutsideSnapsBack() {
    QFETCH(QString, window);
    QFETCH(QMargins, shrink);
    QFETCH(bool, insist);
    SetShown(Player().cmdEqualizer(), true);
    QWidget* w = Window(window);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const QSize minimum = w->minimumSize();
    QVERIFY2(minimum.width() > 60 && minimum.height() > 50, "a minimum the manager is told");
    // Start at the minimum, so any shrink goes below it.
    w->resize(minimum);
    QTRY_COMPARE(w->size(), minimum);
    const QRect before = w->geometry();
    const QRect squeezed = before.marginsRemoved(shrink);

    w->windowHandle()->setGeometry(squeezed);
    QTRY_COMPARE(w->geometry(), squeezed); // the platform's size reaches the widget
    // Back at the minimum from the edges that stayed: where it was.
    QTRY_COMPARE(w->geometry(), before);
    if (!insist)
        return;
    w->windowHandle()->setGeometry(squeezed);
    QTRY_COMPARE(w->geometry(), squeezed);
    QTest::qWait(3 * MinimumSizeGuard::kSettleMs);
    QCOMPARE(w->geometry(), squeezed);
    w->windowHandle()->setGeometry(squeezed.adjusted(0, 0, -10, -10));
    QTRY_COMPARE(w->geometry(), before);
}

QTEST_MAIN(tst_OwnedWindows)
#include "tst_OwnedWindows.moc"
