// The video window on a real X server with the engine's own video output:
// the clip's picture is drawn inside the window, follows it when it moves,
// resizes and goes full screen, and the engine opens no window of its own.
// Run under xvfb-run (see cmake/Melodeck.cmake); skipped on other platforms.
#include "FakePeers.h"
#include "playback/frmPlayer.h"
#include "support/TestMedia.h"
#include "support/x11/X11Screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

using X11Screen::Connection;
using X11Screen::ForeignTopLevels;
using X11Screen::PictureFills;

// The engine's own window inside the video surface, sized to it.
bool EngineWindowFillsSurface(const ctlPlayer& player) {
    return X11Screen::EngineWindowFills(*player.WMP());
}

// Steps of a sequence that act on the window instead of playing a file.
const QString kFullScreen = QStringLiteral("toggle full screen");
const QString kClose = QStringLiteral("close the window");

PlayerState ExitingState() {
    PlayerState state;
    state.IsExiting = true; // closing the window really closes it
    return state;
}

// The video window over fake peers, shown at a size the clips are scaled to.
struct ShownVideoWindow {
    PlayerState state = ExitingState();
    FakeControls controls;
    FakeSongList songs;
    FakeEntryPoints entry;
    frmPlayer form{state, PlaybackPeers{controls, songs, entry}};

    ShownVideoWindow() {
        form.setGeometry(100, 80, 320, 240);
        form.show();
    }
};

} // namespace

class tst_x11_VideoWindow : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    // First: its first row is the process's first video, the only one for
    // which the GPU output is probed on Xvfb's software renderer.
    void videoAfterVideo_data();
    void videoAfterVideo();
    void pictureInsideVideoWindow();
};

void tst_x11_VideoWindow::initTestCase() {
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !Connection())
        QSKIP("needs an X server (QT_QPA_PLATFORM=xcb)");
}

void tst_x11_VideoWindow::pictureInsideVideoWindow() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString clip = dir.filePath(QStringLiteral("clip.avi"));
    QVERIFY(TestMedia::WriteFile(clip, TestMedia::MjpegAvi(300, QSize(64, 48), 10)));

    ShownVideoWindow shown;
    frmPlayer& form = shown.form;
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ctlPlayer1()->setFileName(clip);

    QTRY_VERIFY_WITH_TIMEOUT(PictureFills(form), 10000);
    QVERIFY(EngineWindowFillsSurface(*form.ctlPlayer1()));
    QCOMPARE(ForeignTopLevels(), QList<xcb_window_t>());

    // Moved and resized, the picture goes along.
    form.setGeometry(400, 300, 480, 300);
    QTRY_VERIFY_WITH_TIMEOUT(PictureFills(form), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(EngineWindowFillsSurface(*form.ctlPlayer1()), 5000);

    // Full screen: the whole screen, from its origin.
    form.ToggleFullScreen();
    QCOMPARE(form.geometry(), form.screen()->geometry());
    QTRY_VERIFY_WITH_TIMEOUT(PictureFills(form), 5000);
    form.ToggleFullScreen();
    QCOMPARE(form.geometry(), QRect(400, 300, 480, 300));
    QTRY_VERIFY_WITH_TIMEOUT(PictureFills(form), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(EngineWindowFillsSurface(*form.ctlPlayer1()), 5000);
    QCOMPARE(ForeignTopLevels(), QList<xcb_window_t>());
}

void tst_x11_VideoWindow::videoAfterVideo_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("withoutStdin");
    QTest::newRow("descriptor 0 free, video then another video")
        << QStringList{"a.avi", "b.avi"} << true;
    QTest::newRow("same video twice") << QStringList{"a.avi", "a.avi"} << false;
    QTest::newRow("audio, video, audio, video")
        << QStringList{"s.wav", "a.avi", "s.wav", "b.avi"} << false;
    QTest::newRow("full screen across an item change")
        << QStringList{"a.avi", kFullScreen, "b.avi", kFullScreen, "a.avi"} << false;
    QTest::newRow("window closed while playing, then the next video")
        << QStringList{"a.avi", kClose, "b.avi"} << false;
}

// Each item of a sequence plays to its end in the same window; the outputs
// made again for each video must neither break the program's connection to
// the X server nor open a window of their own. A step that is not a file
// acts on the window while the item before it plays. As the playlist does,
// a video shows the window when it is hidden and an audio item hides it.
void tst_x11_VideoWindow::videoAfterVideo() {
    QFETCH(QStringList, steps);
    QFETCH(bool, withoutStdin);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(
        TestMedia::WriteFile(dir.filePath("a.avi"), TestMedia::MjpegAvi(30, QSize(64, 48), 10)));
    QVERIFY(
        TestMedia::WriteFile(dir.filePath("b.avi"), TestMedia::MjpegAvi(30, QSize(80, 60), 10)));
    QVERIFY(TestMedia::WriteFile(dir.filePath("s.wav"), TestMedia::SilentWav(0.5)));

    ShownVideoWindow shown;
    frmPlayer& form = shown.form;
    ctlPlayer& player = *form.ctlPlayer1();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Descriptor 0 free when an item is handed over (stdin closed, or the
    // fallback output's connection gone with the previous clip): the clip's
    // file would be opened on it and lost to the failing GPU probe.
    if (withoutStdin)
        ::close(0);
    QSignalSpy ends(&player, &ctlPlayer::EndOfStream);
    QSignalSpy errors(&player, &ctlPlayer::MediaError);
    qsizetype started = 0;
    const auto playedToEnd = [&] {
        // Played to its end, not given up.
        QTRY_COMPARE_WITH_TIMEOUT(ends.count(), started, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(player.playState(), int(MediaEngine::Stopped), 5000);
        QCOMPARE(ForeignTopLevels(), QList<xcb_window_t>());
    };
    for (const QString& step : steps) {
        if (step == kFullScreen || step == kClose) {
            QCOMPARE(player.playState(), int(MediaEngine::Playing));
            if (step == kClose) {
                // Closed by its user, while the program goes on.
                shown.state.IsExiting = false;
                QVERIFY(!form.close());
                shown.state.IsExiting = true;
                QVERIFY(!form.isVisible());
            } else {
                form.ToggleFullScreen();
                QTRY_VERIFY_WITH_TIMEOUT(PictureFills(form), 5000);
            }
            continue;
        }
        if (started > 0) {
            playedToEnd();
            if (QTest::currentTestFailed())
                return;
        }
        ++started;
        player.setFileName(dir.filePath(step));
        const bool video = step.endsWith(QLatin1String(".avi"));
        form.setVisible(video);
        if (video) {
            QVERIFY(QTest::qWaitForWindowExposed(&form));
            QTRY_VERIFY_WITH_TIMEOUT(PictureFills(form), 10000);
            QTRY_VERIFY_WITH_TIMEOUT(EngineWindowFillsSurface(player), 5000);
        }
    }
    playedToEnd();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(errors.count(), 0);
    // Still connected: an X error the outputs caused would end the program.
    QCOMPARE(xcb_connection_has_error(Connection()), 0);
}

QTEST_MAIN(tst_x11_VideoWindow)
#include "tst_x11_VideoWindow.moc"
