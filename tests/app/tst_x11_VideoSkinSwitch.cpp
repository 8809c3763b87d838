// The whole program in this process on a real X server with the engine's own
// video output (run under xvfb-run, see cmake/Melodeck.cmake): a skin chosen
// from the skin menu while a video plays is put on the windows, and the next
// video of the list still plays inside the video window, with no window of
// the engine's own and the program's X connection alive.
#include "MenuRig.h"

#include "app/MainMenus.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "playback/frmPlayer.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/frmPlaylistWindow.h"
#include "skin/ModSkinApply.h"
#include "support/TestMedia.h"
#include "support/x11/X11Screen.h"

#include <QApplication>
#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

namespace {

using X11Screen::ForeignTopLevels;
using X11Screen::PictureFills;

// The points of the player window's body (no control over them) where the
// pictures of skins `from` and `to` differ: what the screen shows there tells
// which of the two the window wears.
QList<QPoint> TellingPoints(const QWidget& window, const QImage& from, const QImage& to) {
    QList<QPoint> points;
    const QRegion shape = window.mask().isEmpty() ? QRegion(window.rect()) : window.mask();
    for (int y = 2; y < to.height(); y += 4)
        for (int x = 2; x < to.width(); x += 4) {
            const QPoint p(x, y);
            if (shape.contains(p) && !window.childAt(p) && from.pixel(p) != to.pixel(p))
                points << p;
        }
    return points;
}

// Whether the screen shows `picture` at every one of `points` of `window`.
bool ScreenShows(const QWidget& window, const QImage& picture, const QList<QPoint>& points) {
    const QImage screen = window.screen()->grabWindow(0).toImage();
    for (const QPoint& p : points) {
        const QColor shown = screen.pixelColor(window.mapToGlobal(p));
        const QColor drawn = picture.pixelColor(p);
        if (qAbs(shown.red() - drawn.red()) + qAbs(shown.green() - drawn.green()) +
                qAbs(shown.blue() - drawn.blue()) >
            6)
            return false;
    }
    return true;
}

QImage PlayerPicture(const SkinStore& skins, const QString& skin) {
    return QImage(ModSkinApply::SkinFolder(skins, skin) + QStringLiteral("/player_window.bmp"))
        .convertToFormat(QImage::Format_RGB32);
}

// The skin menu's item for `name`, as the menu holds it when it opens.
QAction* SkinItem(MainMenus& menus, const QString& name) {
    emit menus.SkinMenu().aboutToShow();
    for (QAction* item : menus.SkinMenu().actions())
        if (item->data().toString() == name)
            return item;
    return nullptr;
}

} // namespace

class tst_x11_VideoSkinSwitch : public QObject {
    Q_OBJECT
private slots:
    void nextVideoAfterASkinSwitch_data();
    void nextVideoAfterASkinSwitch();
    void filmsOfUnlistedNamesAreDrawn_data();
    void filmsOfUnlistedNamesAreDrawn();
};

void tst_x11_VideoSkinSwitch::nextVideoAfterASkinSwitch_data() {
    QTest::addColumn<QStringList>("skins"); // chosen in turn while the first video plays
    QTest::addColumn<bool>("nextAtOnce");   // the next item asked for right after
    // The first row's first clip is the process's first video, the only one
    // for which the GPU output is probed (and, on Xvfb, turned down).
    QTest::newRow("switched while playing, the next video follows at the end")
        << QStringList{"Amber Deck"} << false;
    QTest::newRow("switched, then the next item at once") << QStringList{"Amber Deck"} << true;
    QTest::newRow("switched there and back, then the next item at once")
        << QStringList{"Amber Deck", "Winamp Modern"} << true;
}

void tst_x11_VideoSkinSwitch::nextVideoAfterASkinSwitch() {
    QFETCH(QStringList, skins);
    QFETCH(bool, nextAtOnce);
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run through CTest, which starts one)");
    MenuRig rig;
    // The outputs the program itself chooses, not the rig's null output.
    qputenv("MELODECK_MPV_VO", QByteArray());
    const QString a = rig.home.filePath(QStringLiteral("a.avi"));
    const QString b = rig.home.filePath(QStringLiteral("b.avi"));
    QVERIFY(TestMedia::WriteFile(a, TestMedia::MjpegAvi(30, QSize(64, 48), 10)));
    QVERIFY(TestMedia::WriteFile(b, TestMedia::MjpegAvi(100, QSize(80, 60), 10)));
    QVERIFY(rig.Start());
    PlayerApp& app = *rig.app;
    frmPlayerWindow& player = app.PlayerWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&player));
    const QString startSkin = app.Skins().CurrentSkinName();

    app.PlayCommandLine({a, b});
    QTRY_VERIFY_WITH_TIMEOUT(app.ExistingVideoWindow(), 5000);
    frmPlayer& video = *app.ExistingVideoWindow();
    ctlPlayer& engine = *video.ctlPlayer1();
    QSignalSpy errors(&engine, &ctlPlayer::MediaError);
    QTRY_VERIFY_WITH_TIMEOUT(PictureFills(video), 10000);

    QString worn = startSkin;
    for (const QString& skin : skins) {
        QAction* item = SkinItem(app.Menus(), skin);
        QVERIFY(item);
        item->trigger();
        QCOMPARE(app.Skins().CurrentSkinName(), skin);
        // Every skin is its own picture on screen, not only in the store.
        const QImage was = PlayerPicture(app.Skins(), worn), is = PlayerPicture(app.Skins(), skin);
        const QList<QPoint> points = TellingPoints(player, was, is);
        QVERIFY2(points.size() > 10, qPrintable(skin));
        QTRY_VERIFY_WITH_TIMEOUT(ScreenShows(player, is, points), 5000);
        worn = skin;
    }
    // Still the first video, still drawn inside its window.
    QCOMPARE(app.State().CurrentMedia->Path, a);
    QTRY_VERIFY_WITH_TIMEOUT(PictureFills(video), 5000);
    if (nextAtOnce)
        emit player.cmdNext()->Click();

    QTRY_COMPARE_WITH_TIMEOUT(app.State().CurrentMedia->Path, b, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(engine.playState(), int(MediaEngine::Playing), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(PictureFills(video), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(X11Screen::EngineWindowFills(*engine.WMP()), 5000);
    // Playing, not stuck on its first frame.
    const double at = engine.Controls().currentPosition();
    QTRY_VERIFY_WITH_TIMEOUT(engine.Controls().currentPosition() > at + 1.0, 5000);
    QCOMPARE(errors.count(), 0);

    // The program's own windows are the only ones, none left over from a
    // skin, and its connection to the server is alive.
    QCOMPARE(ForeignTopLevels(), QList<xcb_window_t>());
    QList<QWidget*> shown;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            shown << window;
    std::sort(shown.begin(), shown.end());
    QList<QWidget*> expected{&player, &app.PlaylistWindow(), &video};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(shown, expected);
    QVERIFY(!app.HasQuit());
    QCOMPARE(xcb_connection_has_error(X11Screen::Connection()), 0);
}

void tst_x11_VideoSkinSwitch::filmsOfUnlistedNamesAreDrawn_data() {
    QTest::addColumn<QStringList>("items");
    // .mp4, .mkv and .ogg are in neither type list: the window follows what
    // the engine finds in the file, after the engine has begun to play it.
    QTest::newRow("a film first") << QStringList{"f.mp4", "s.ogg"};
    QTest::newRow("a song, then a film in a window never shown")
        << QStringList{"s.wav", "f.mkv", "s.ogg", "f.mp4"};
    QTest::newRow("a listed film, a song, a film") << QStringList{"a.avi", "s.ogg", "f.mkv"};
}

void tst_x11_VideoSkinSwitch::filmsOfUnlistedNamesAreDrawn() {
    QFETCH(QStringList, items);
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X server (run through CTest, which starts one)");
    MenuRig rig;
    qputenv("MELODECK_MPV_VO", QByteArray());
    QStringList paths;
    for (const QString& name : items) {
        const bool film = !name.startsWith(u's');
        paths << rig.home.filePath(name);
        QVERIFY(TestMedia::WriteFile(paths.last(), film ? TestMedia::MjpegAvi(25, QSize(64, 48), 10)
                                                        : TestMedia::SilentWav(1.5)));
    }
    QVERIFY(rig.Start());
    PlayerApp& app = *rig.app;
    QVERIFY(QTest::qWaitForWindowExposed(&app.PlayerWindow()));
    app.PlayCommandLine(paths);
    for (int n = 0; n < items.size(); ++n) {
        QTRY_COMPARE_WITH_TIMEOUT(app.State().CurrentMedia->Path, paths[n], 10000);
        QTRY_VERIFY_WITH_TIMEOUT(app.ExistingVideoWindow(), 5000);
        frmPlayer& video = *app.ExistingVideoWindow();
        if (items[n].startsWith(u's')) {
            QTRY_VERIFY_WITH_TIMEOUT(!video.isVisible(), 5000);
            continue;
        }
        QTRY_VERIFY_WITH_TIMEOUT(video.isVisible(), 5000);
        QVERIFY2(QTest::qWaitFor([&] { return PictureFills(video); }, 5000), qPrintable(items[n]));
    }
    QCOMPARE(ForeignTopLevels(), QList<xcb_window_t>());
    QCOMPARE(xcb_connection_has_error(X11Screen::Connection()), 0);
}

QTEST_MAIN(tst_x11_VideoSkinSwitch)
#include "tst_x11_VideoSkinSwitch.moc"
