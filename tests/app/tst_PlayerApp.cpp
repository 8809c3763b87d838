// The running program in this process: the player window's controls drive
// the real engine on generated media, and its ways out keep the playlists.
#include "net/DripServer.h"
#include "net/TestHttpServer.h"
#include "skin/RecordingPrompts.h"
#include "support/TestMedia.h"
#include "support/TestProgram.h"

#include "app/PlayerApp.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "controls/ctlProgress.h"
#include "net/InteractiveFetches.h"
#include "net/PendingItems.h"
#include "net/frmFetchProgress.h"
#include "playback/MediaEngine.h"
#include "playback/frmPlayer.h"
#include "playlist/PlaylistPlayback.h"
#include "playlist/frmPlaylistWindow.h"
#include "winsvc/ProgramFolders.h"
#include "winsvc/cMagneticWnd.h"

#include "controls/ctlList.h"
#include "controls/ctlListItem.h"
#include "playlist/frmPlaylistWindow.h"
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const int kEngineTimeoutMs = 15000;

} // namespace

class tst_PlayerApp : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void transportButtons();
    void hiddenButtonsDoNothing();
    void seekHappensOnceAtRelease();
    void volumeAndMuteReachTheEngine();
    void windowToggles();
    void keysDriveTheTransport();
    void labelsShowTitleAndStatus();
    void labelsSayWhenEveryItemFailed();
    void exitsSaveTheListsUnchanged_data();
    void exitsSaveTheListsUnchanged();
    void playingRowIsHighlighted();
    void brokenStartSkinFallsBack_data();
    void brokenStartSkinFallsBack();
    void cancelledSearchLeavesTheProgramUsable_data();
    void cancelledSearchLeavesTheProgramUsable();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    RecordingPrompts m_prompts;
    std::unique_ptr<PlayerApp> m_app;

    QString Playlist(int n) const {
        return m_home->filePath(QStringLiteral("PlayList/%1.MLF").arg(n));
    }
    void WritePlaylist(int n, const QByteArray& bytes) const {
        QDir(m_home->path()).mkpath(QStringLiteral("PlayList"));
        QVERIFY(TestMedia::WriteFile(Playlist(n), bytes));
    }
    // A list of `count` silent songs "s1".."sN", each `seconds` long.
    void WriteSongList(int count, double seconds);
    void StartApp();
    frmPlayerWindow& Window() const { return m_app->PlayerWindow(); }
    ctlPlayer* Engine() const {
        frmPlayer* video = m_app->ExistingVideoWindow();
        return video ? video->ctlPlayer1() : nullptr;
    }
    QString PlayingPath() const {
        return m_app->State().CurrentMedia ? m_app->State().CurrentMedia->Path : QString();
    }
    bool WaitForState(int state) const {
        return QTest::qWaitFor([&] { return Engine() && Engine()->playState() == state; },
                               kEngineTimeoutMs);
    }
    QString Song(int n) const { return m_home->filePath(QStringLiteral("s%1.wav").arg(n)); }
};

void tst_PlayerApp::init() {
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    TestProgram::UseInThisProcess(m_home->path());
    m_prompts.messages.clear();
}

void tst_PlayerApp::cleanup() {
    m_app.reset();
    m_home.reset();
}

void tst_PlayerApp::WriteSongList(int count, double seconds) {
    QByteArray list = "{Songs}\r\n";
    for (int n = 1; n <= count; ++n) {
        QVERIFY(TestMedia::WriteFile(Song(n), TestMedia::SilentWav(seconds)));
        list += "s" + QByteArray::number(n) + "=" + Song(n).toUtf8() + "\r\n";
    }
    WritePlaylist(0, list);
}

void tst_PlayerApp::StartApp() {
    m_app = std::make_unique<PlayerApp>(m_prompts);
    QVERIFY(m_app->Start());
    QVERIFY(QTest::qWaitForWindowExposed(&Window()));
}

// Each button as the user presses it, the engine's state and the buttons'
// looks after it.
void tst_PlayerApp::transportButtons() {
    WriteSongList(3, 30);
    StartApp();
    frmPlayerWindow& w = Window();
    QVERIFY(!m_app->ExistingVideoWindow()); // nothing played yet, no engine
    QVERIFY(w.cmdPlay()->isVisible());
    QVERIFY(!w.cmdPause()->isVisible());

    emit w.cmdPlay()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(PlayingPath(), Song(1));
    QTRY_VERIFY(w.cmdPause()->isVisible());
    QVERIFY(!w.cmdPlay()->isVisible());

    emit w.cmdNext()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(PlayingPath(), Song(2));

    emit w.cmdPause()->Click();
    QVERIFY(WaitForState(MediaEngine::Paused));
    QVERIFY(w.cmdPlay()->isVisible());
    QVERIFY(!w.cmdPause()->isVisible());

    // Play after pause resumes the same item.
    emit w.cmdPlay()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(PlayingPath(), Song(2));

    emit w.cmdPrev()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(PlayingPath(), Song(1));

    emit w.cmdStop()->Click();
    QVERIFY(WaitForState(MediaEngine::Stopped));
    QVERIFY(!m_app->State().PlaybackStarted);
    QTRY_VERIFY(w.cmdPlay()->isVisible());
    QVERIFY(!w.cmdPause()->isVisible());
}

// A click that reaches a hidden button (by a key, or delivered late) does
// nothing: Play while playing does not restart the item, Pause while paused
// does not resume it.
void tst_PlayerApp::hiddenButtonsDoNothing() {
    WriteSongList(1, 30);
    StartApp();
    frmPlayerWindow& w = Window();
    emit w.cmdPlay()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QTRY_VERIFY(Engine()->Controls().currentPosition() > 0.3);

    QSignalSpy engineChanges(Engine(), &ctlPlayer::StatusChange);
    emit w.cmdPlay()->Click();
    QTest::qWait(300);
    QVERIFY2(Engine()->Controls().currentPosition() > 0.3, "play restarted the item");
    QCOMPARE(Engine()->playState(), int(MediaEngine::Playing));

    emit w.cmdPause()->Click();
    QVERIFY(WaitForState(MediaEngine::Paused));
    engineChanges.clear();
    emit w.cmdPause()->Click();
    QTest::qWait(300);
    QCOMPARE(Engine()->playState(), int(MediaEngine::Paused));
    QVERIFY(engineChanges.isEmpty());
    QVERIFY(w.cmdPlay()->isVisible());
}

// While the thumb is held the position tick stands still and the engine is
// not moved; letting go seeks to the thumb's value and the tick goes on.
void tst_PlayerApp::seekHappensOnceAtRelease() {
    WriteSongList(1, 30);
    StartApp();
    frmPlayerWindow& w = Window();
    emit w.cmdPlay()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    frmPlayer* video = m_app->ExistingVideoWindow();
    QTRY_VERIFY(video->tmrDuration().isActive());

    emit w.ctlProgress()->ThumbDown();
    QVERIFY(!video->tmrDuration().isActive());
    w.ctlProgress()->SetValue(20);
    QTest::qWait(video->tmrDuration().interval() + 200);
    QCOMPARE(w.ctlProgress()->Value(), 20);
    QVERIFY(Engine()->Controls().currentPosition() < 10);

    emit w.ctlProgress()->ThumbUp();
    QVERIFY(video->tmrDuration().isActive());
    QTRY_VERIFY_WITH_TIMEOUT(Engine()->Controls().currentPosition() >= 20, kEngineTimeoutMs);
    QVERIFY(Engine()->Controls().currentPosition() < 25);
}

// A volume chosen before anything played is kept without making the engine
// and reaches it once made; later changes and the mute button reach it at
// once.
void tst_PlayerApp::volumeAndMuteReachTheEngine() {
    WriteSongList(1, 30);
    StartApp();
    frmPlayerWindow& w = Window();
    QCOMPARE(w.ctlVolume()->Value(), m_app->State().Volume);
    w.ctlVolume()->SetValue(30);
    QCOMPARE(m_app->State().Volume, 30);
    QVERIFY(!m_app->ExistingVideoWindow());

    emit w.cmdPlay()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(Engine()->settings().volume(), 30);
    QCOMPARE(w.ctlVolume()->Value(), 30);
    w.ctlVolume()->SetValue(75);
    QCOMPARE(Engine()->settings().volume(), 75);

    emit w.cmdMute()->Click();
    QVERIFY(w.cmdMute()->Selected());
    QTRY_VERIFY(Engine()->settings().mute());
    emit w.cmdMute()->Click();
    QVERIFY(!w.cmdMute()->Selected());
    QTRY_VERIFY(!Engine()->settings().mute());
}

// The playlist button hides and shows the playlist window; the video button
// opens the video window beside the player window, glued to it, and hides
// it again.
void tst_PlayerApp::windowToggles() {
    StartApp();
    frmPlayerWindow& w = Window();
    QVERIFY(w.cmdPlaylist()->Selected());
    QVERIFY(m_app->PlaylistWindow().isVisible());
    emit w.cmdPlaylist()->Click();
    QVERIFY(!w.cmdPlaylist()->Selected());
    QVERIFY(!m_app->PlaylistWindow().isVisible());
    emit w.cmdPlaylist()->Click();
    QVERIFY(w.cmdPlaylist()->Selected());
    QVERIFY(m_app->PlaylistWindow().isVisible());

    emit w.cmdEqualizer()->Click();
    frmPlayer* video = m_app->ExistingVideoWindow();
    QVERIFY(video);
    QVERIFY(w.cmdEqualizer()->Selected());
    QVERIFY(video->isVisible());
    QCOMPARE(video->pos(), QPoint(w.x() + w.width(), w.y()));
    QVERIFY(m_app->Magnetic().IsGlued(video));
    emit w.cmdEqualizer()->Click();
    QVERIFY(!w.cmdEqualizer()->Selected());
    QVERIFY(!video->isVisible());
}

// The player window's keys act as its buttons and sliders do.
void tst_PlayerApp::keysDriveTheTransport() {
    WriteSongList(3, 30);
    StartApp();
    frmPlayerWindow& w = Window();
    const struct {
        Qt::Key key;
        int state;
        int song;
    } steps[] = {
        {Qt::Key_X, MediaEngine::Playing, 1},     {Qt::Key_B, MediaEngine::Playing, 2},
        {Qt::Key_Z, MediaEngine::Playing, 1},     {Qt::Key_Space, MediaEngine::Paused, 1},
        {Qt::Key_Space, MediaEngine::Playing, 1}, {Qt::Key_C, MediaEngine::Paused, 1},
        {Qt::Key_X, MediaEngine::Playing, 1},     {Qt::Key_V, MediaEngine::Stopped, 1},
    };
    // A clicked button holds the keyboard focus; the keys still work.
    QWidget* const targets[] = {&w, w.cmdStop()};
    int n = 0;
    for (const auto& step : steps) {
        QTest::keyClick(targets[n++ % 2], step.key);
        QVERIFY2(WaitForState(step.state), qPrintable(QKeySequence(step.key).toString()));
        QCOMPARE(PlayingPath(), Song(step.song));
    }

    const int volume = m_app->State().Volume;
    QTest::keyClick(&w, Qt::Key_Up);
    QCOMPARE(m_app->State().Volume, volume + 5);
    QCOMPARE(Engine()->settings().volume(), volume + 5);
    QTest::keyClick(&w, Qt::Key_Down);
    QTest::keyClick(&w, Qt::Key_Down);
    QCOMPARE(Engine()->settings().volume(), volume - 5);
    // Keys with Ctrl are left to the menus.
    QTest::keyClick(&w, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(Engine()->settings().volume(), volume - 5);

    QTest::keyClick(&w, Qt::Key_X);
    QVERIFY(WaitForState(MediaEngine::Playing));
    QTRY_VERIFY_WITH_TIMEOUT(w.ctlProgress()->Max() > 0, kEngineTimeoutMs);
    QTest::keyClick(&w, Qt::Key_Right);
    QTest::keyClick(&w, Qt::Key_Right);
    QTRY_VERIFY_WITH_TIMEOUT(Engine()->Controls().currentPosition() >= 10, kEngineTimeoutMs);
    QTest::keyClick(&w, Qt::Key_Left);
    QTRY_VERIFY_WITH_TIMEOUT(Engine()->Controls().currentPosition() < 9, kEngineTimeoutMs);
    QVERIFY(Engine()->Controls().currentPosition() >= 4);
}

// The info label names the item being played, the status label says what
// the engine does.
void tst_PlayerApp::labelsShowTitleAndStatus() {
    WriteSongList(2, 30);
    StartApp();
    frmPlayerWindow& w = Window();
    QVERIFY(w.lbInfo()->text().isEmpty());
    emit w.cmdPlay()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(w.lbInfo()->text(), QStringLiteral("s1"));
    QTRY_COMPARE(w.lbStatus()->text(), Engine()->status());
    QVERIFY(!w.lbStatus()->text().isEmpty());
    emit w.cmdNext()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(w.lbInfo()->text(), QStringLiteral("s2"));
    emit w.cmdStop()->Click();
    QVERIFY(WaitForState(MediaEngine::Stopped));
    QTRY_COMPARE(w.lbStatus()->text(), Engine()->status());
}

// When no item of the list can be played the status label says so, and the
// engine's own "stopped" that follows does not hide it.
void tst_PlayerApp::labelsSayWhenEveryItemFailed() {
    QByteArray list = "{Bad}\r\n";
    for (int n = 1; n <= 2; ++n) {
        QVERIFY(TestMedia::WriteFile(Song(n), "not a sound at all"));
        list += "b" + QByteArray::number(n) + "=" + Song(n).toUtf8() + "\r\n";
    }
    WritePlaylist(0, list);
    StartApp();
    emit Window().cmdPlay()->Click();
    QTRY_COMPARE_WITH_TIMEOUT(Window().lbStatus()->text(), QStringLiteral("列表中的项目都无法播放"),
                              kEngineTimeoutMs);
    QVERIFY(WaitForState(MediaEngine::Stopped));
    QTest::qWait(200);
    QCOMPARE(Window().lbStatus()->text(), QStringLiteral("列表中的项目都无法播放"));
}

void tst_PlayerApp::exitsSaveTheListsUnchanged_data() {
    QTest::addColumn<bool>("byButton");
    QTest::addColumn<bool>("playing");
    QTest::newRow("exit button") << true << false;
    QTest::newRow("exit button while playing") << true << true;
    QTest::newRow("window closed") << false << false;
    QTest::newRow("window closed while playing") << false << true;
}

// GB18030 titles, CR LF and the files' order come back byte for byte, and
// the program is marked as exiting.
void tst_PlayerApp::exitsSaveTheListsUnchanged() {
    QFETCH(bool, byButton);
    QFETCH(bool, playing);
    QVERIFY(TestMedia::WriteFile(Song(1), TestMedia::SilentWav(30)));
    const QByteArray first = QByteArray("{") + QByteArray::fromHex("CED2B5C4B8E8") + "}\r\n" +
                             QByteArray::fromHex("C7E7CCEC") + "=" + Song(1).toUtf8() + "\r\n" +
                             "Radio=http://127.0.0.1:9/live\r\n";
    const QByteArray second = "{Empty}\r\n";
    WritePlaylist(0, first);
    WritePlaylist(1, second);
    StartApp();
    if (playing) {
        emit Window().cmdPlay()->Click();
        QVERIFY(WaitForState(MediaEngine::Playing));
    }
    QFile::remove(Playlist(0));
    QFile::remove(Playlist(1));

    if (byButton)
        emit Window().cmdExit()->Click();
    else
        Window().close();
    QVERIFY(m_app->HasQuit());
    QVERIFY(m_app->State().IsExiting);
    QVERIFY(!Window().isVisible());
    if (playing)
        QVERIFY(WaitForState(MediaEngine::Stopped));
    if (m_app->ExistingVideoWindow())
        QVERIFY(!m_app->ExistingVideoWindow()->isVisible());
    QCOMPARE(readFile(Playlist(0)), first);
    QCOMPARE(readFile(Playlist(1)), second);
    QVERIFY(!QFile::exists(Playlist(2)));
}

// The song that plays is drawn in the skin's highlight colour, the others in
// the text colour; it follows the playing item and a skin switch.
void tst_PlayerApp::playingRowIsHighlighted() {
    WriteSongList(3, 30);
    StartApp();
    ctlList& songs = *m_app->PlaylistWindow().ctlList1();
    const auto colours = [&] {
        QList<quint32> shown;
        for (int row = 1; row <= 3; ++row) // row 0 is the hidden template
            shown << songs.Row(row)->TitleColor();
        return shown;
    };
    const quint32 text = songs.TextColor();
    QCOMPARE(colours(), (QList<quint32>{text, text, text}));
    QVERIFY(songs.HilightColor() != text);
    emit Window().cmdPlay()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(colours(), (QList<quint32>{songs.HilightColor(), text, text}));
    emit Window().cmdNext()->Click();
    QVERIFY(WaitForState(MediaEngine::Playing));
    QCOMPARE(colours(), (QList<quint32>{text, songs.HilightColor(), text}));
    // Another skin, its own colours, the same row; a selected row keeps the
    // select colour, as it always has.
    QVERIFY(Window().ChangeSkin(QStringLiteral("Amber Deck")));
    QVERIFY(m_app->PlaylistWindow().ReLoadSkin());
    const quint32 amberText = songs.TextColor();
    QVERIFY(amberText != text);
    QCOMPARE(colours(), (QList<quint32>{amberText, songs.SelectColor(), amberText}));
}

void tst_PlayerApp::brokenStartSkinFallsBack_data() {
    QTest::addColumn<QString>("startSkin"); // what the start skin's folder holds
    QTest::newRow("missing") << QString();
    QTest::newRow("empty folder") << QStringLiteral("empty");
    QTest::newRow("unreadable description") << QStringLiteral("garbage");
    QTest::newRow("picture missing") << QStringLiteral("no picture");
    QTest::newRow("playlist window's picture missing") << QStringLiteral("no playlist picture");
}

// The first other skin folder (natural order) that loads is used; every
// broken one on the way is named to the user.
void tst_PlayerApp::brokenStartSkinFallsBack() {
    QFETCH(QString, startSkin);
    const QString skins = m_home->filePath(QStringLiteral("skin"));
    const QString shipped = QFile::symLinkTarget(skins);
    QVERIFY(QFile::remove(skins));
    QDir dir(m_home->path());
    QVERIFY(dir.mkpath(QStringLiteral("skin/0 Broken")));
    for (const QString& name : {QStringLiteral("Default"), QStringLiteral("Amber Deck")})
        QVERIFY(QFile::link(shipped + "/" + name, skins + "/" + name));
    const QString start = skins + QStringLiteral("/Winamp Modern");
    if (!startSkin.isNull())
        QVERIFY(dir.mkpath(start));
    if (startSkin == QLatin1String("garbage")) {
        QVERIFY(TestMedia::WriteFile(start + "/skin.xml", "<skin><player_window"));
    } else if (startSkin.startsWith(QLatin1String("no "))) {
        const QDir from(shipped + QStringLiteral("/Winamp Modern"));
        const QStringList files = from.entryList(QDir::Files);
        for (const QString& file : files) {
            const bool left = startSkin == QLatin1String("no picture")
                                  ? file.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive)
                                  : file == QLatin1String("playlist_window.bmp");
            if (!left)
                QVERIFY(QFile::copy(from.filePath(file), start + "/" + file));
        }
    }

    StartApp();
    QCOMPARE(m_app->Skins().CurrentSkinName(), QStringLiteral("Amber Deck"));
    QVERIFY(!Window().Picture().isNull());
    const QString said = m_prompts.messages.join(QLatin1Char('\n'));
    QVERIFY2(said.contains(QLatin1String("Winamp Modern")), qPrintable(said));
    QVERIFY2(said.contains(QLatin1String("0 Broken")), qPrintable(said));
}

void tst_PlayerApp::cancelledSearchLeavesTheProgramUsable_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("atMs");
    QTest::newRow("Escape on the player window") << "escape" << 150;
    QTest::newRow("the progress window's cancel") << "cancel button" << 800;
    QTest::newRow("the exit button") << "exit button" << 150;
}

// A link search against a service that never answers, ended by the user
// with real clicks and keys: the search returns at once, nothing is added
// and no box says "not found"; a click on play meanwhile did nothing. After a
// cancel the program searches again; after the exit button it has quit and
// keeps the link for the next start.
void tst_PlayerApp::cancelledSearchLeavesTheProgramUsable() {
    QFETCH(QString, action);
    QFETCH(int, atMs);
    const QString link = QStringLiteral("melodeck://singer=Jay&song=Sunny Day&type=-1");
    // The quits of earlier cases called exit() outside the main loop, which
    // stays in force for every event loop started later (a fetch's wait
    // among them) until the main loop has run once.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    DripServer silent(-1, std::chrono::milliseconds(50));
    qputenv("MELODECK_SEARCH_URL", silent.Base().toUtf8());
    WriteSongList(1, 30);
    const QByteArray list = readFile(Playlist(0));
    StartApp();
    frmPlayerWindow& w = Window();
    QTimer::singleShot(50, [&] { QTest::mouseClick(w.cmdPlay(), Qt::LeftButton); });
    QTimer::singleShot(atMs, [&] {
        frmFetchProgress* progress = m_app->Fetches().Progress();
        if (action == "escape")
            QTest::keyClick(&w, Qt::Key_Escape);
        else if (action == "cancel button" && progress && progress->isVisible())
            QTest::mouseClick(progress->cmdCancel, Qt::LeftButton);
        else if (action == "exit button")
            QTest::mouseClick(w.cmdExit(), Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(m_app->AddText(link).isEmpty());
    QVERIFY2(clock.elapsed() < atMs + 1000, QByteArray::number(clock.elapsed()));
    QCOMPARE(silent.Requests(), 1);
    QTRY_COMPARE(silent.Dropped(), 1);
    QVERIFY(m_prompts.messages.isEmpty());
    QVERIFY(!m_app->ExistingVideoWindow());
    QCOMPARE(m_app->Store().Songs().Count(), 1);

    if (action == "exit button") {
        QVERIFY(m_app->HasQuit());
        QCOMPARE(readFile(Playlist(0)), list);
        QString error;
        QCOMPARE(PendingItems::Take(UserDataDir(), error), QStringList{link});
        return;
    }
    QCOMPARE(m_app->Playback().StatusText(), QStringLiteral("搜索已取消"));
    TestHttpServer working(QByteArray("http://127.0.0.1:9/a.mp3<br/>http://127.0.0.1:9/b.mp3"));
    qputenv("MELODECK_SEARCH_URL", working.Base().toUtf8());
    QCOMPARE(m_app->AddText(link).size(), 1);
    QCOMPARE(m_app->Store().Songs().Count(), 2);
    QVERIFY(m_prompts.messages.isEmpty());
}

QTEST_MAIN(tst_PlayerApp)
#include "tst_PlayerApp.moc"
