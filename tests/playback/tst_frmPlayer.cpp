// The video window's controller against a scripted engine, through the
// narrow interfaces of the windows it drives.
#include "FakePeers.h"
#include "ScriptedEngine.h"
#include "playback/frmPlayer.h"
#include "support/TestWindows.h"
#include "winsvc/cMagneticWnd.h"

#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

std::shared_ptr<CMediaInfo> makeItem(const QString& path, MediaSource source,
                                     const QString& key = QStringLiteral("7")) {
    auto item = std::make_shared<CMediaInfo>();
    item->Path = path;
    item->Source = source;
    item->Key = key;
    item->Title = QStringLiteral("Song");
    return item;
}

} // namespace

class TestFrmPlayer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void creationSetsVolumeSlider();
    void engineStartsAtChosenVolume_data();
    void engineStartsAtChosenVolume();
    void docksToPlayerWindow();
    void statusTable_data();
    void statusTable();
    void captionShowsTitleAndStatus();
    void positionTick_data();
    void positionTick();
    void durationIsLearnedOnce();
    void advancesOnlyAfterEndedThenStopped();
    void noAdvanceWhenPlayingResumesAfterEnd();
    void linkItemRetriesEveryCandidateThenMovesOn();
    void otherItemsMoveOnAfterError_data();
    void otherItemsMoveOnAfterError();
    void fullScreenRoundTrip();
    void resizeRule();
    void closeHidesUnlessExiting();

private:
    PlayerState m_state;
    FakeControls m_controls;
    FakeSongList m_songs;
    FakeEntryPoints m_entry;
    ScriptedEngine* m_engine = nullptr;
    frmPlayer* m_form = nullptr;
};

void TestFrmPlayer::init() {
    m_state = PlayerState();
    m_controls = FakeControls();
    m_songs = FakeSongList();
    m_entry = FakeEntryPoints();
    auto engine = std::make_unique<ScriptedEngine>();
    m_engine = engine.get();
    m_form = new frmPlayer(m_state, PlaybackPeers{m_controls, m_songs, m_entry}, std::move(engine));
    m_entry.state = &m_state;
    m_entry.player = m_form->ctlPlayer1();
}

void TestFrmPlayer::cleanup() {
    m_state.IsExiting = true;
    delete m_form;
    m_form = nullptr;
}

void TestFrmPlayer::creationSetsVolumeSlider() {
    QCOMPARE(m_controls.volume, 50);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("正在播放..."));
    QVERIFY(!m_form->tmrDuration().isActive());
    QVERIFY(!m_form->tmrNext().isActive());
    QCOMPARE(m_form->tmrDuration().interval(), 500);
    QCOMPARE(m_form->tmrNext().interval(), 100);
    QVERIFY(m_form->ctlPlayer1()->stretchToFit());
    QVERIFY(!m_form->ctlPlayer1()->enableContextMenu());
}

void TestFrmPlayer::engineStartsAtChosenVolume_data() {
    QTest::addColumn<int>("chosen");
    QTest::newRow("start volume") << PlayerState::kStartVolume;
    QTest::newRow("saved volume") << 73;
    QTest::newRow("silent") << 0;
}

void TestFrmPlayer::engineStartsAtChosenVolume() {
    QFETCH(int, chosen);
    PlayerState state;
    state.Volume = chosen;
    FakeControls controls;
    auto engine = std::make_unique<ScriptedEngine>();
    ScriptedEngine* made = engine.get();
    frmPlayer form(state, PlaybackPeers{controls, m_songs, m_entry}, std::move(engine));
    QCOMPARE(made->volume(), chosen);
    QCOMPARE(controls.volume, chosen);
}

void TestFrmPlayer::docksToPlayerWindow() {
    cMagneticWnd magnetic;
    auto player = TestWindows::MakeWindow(QRect(100, 100, 200, 100));
    QVERIFY(magnetic.AddWindow(player.get()));
    const QWidget* gone = nullptr;
    {
        PlayerState state;
        state.IsExiting = true;
        PlaybackPeers peers{m_controls, m_songs, m_entry, &magnetic, player.get()};
        frmPlayer form(state, peers, std::make_unique<ScriptedEngine>());
        gone = &form;
        QVERIFY(magnetic.IsRegistered(&form));
        form.move(300, 100); // its frame against the player window's right edge
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        magnetic.CheckGlueing();
        QVERIFY(magnetic.IsGlued(&form));
    }
    QVERIFY(!magnetic.IsRegistered(gone));
    QVERIFY(magnetic.IsRegistered(player.get()));
}

void TestFrmPlayer::statusTable_data() {
    // Before the change both timers run and nothing has been written.
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("play");
    QTest::addColumn<int>("pause");
    QTest::addColumn<bool>("durationTimer");
    QTest::addColumn<bool>("nextTimer");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("led");
    QTest::addColumn<bool>("started");

    const QString untouched = QStringLiteral("untouched");
    QTest::newRow("1 stopped") << 1 << 1 << 0 << false << true << 0 << "00:00" << false;
    QTest::newRow("2 paused") << 2 << 1 << 0 << false << true << -1 << untouched << false;
    QTest::newRow("3 playing") << 3 << -1 << -1 << true << false << -1 << untouched << true;
    QTest::newRow("6 buffering") << 6 << 0 << 1 << false << true << -1 << untouched << false;
    QTest::newRow("8 ended") << 8 << 1 << 0 << false << true << 0 << "00:00" << false;
    QTest::newRow("9 transitioning") << 9 << 0 << 1 << false << true << -1 << untouched << false;
    QTest::newRow("10 ready") << 10 << 0 << 1 << false << true << -1 << untouched << false;
    QTest::newRow("11 reconnecting") << 11 << 0 << 1 << false << true << -1 << untouched << false;
    QTest::newRow("0 ignored") << 0 << -1 << -1 << true << true << -1 << untouched << false;
    QTest::newRow("7 ignored") << 7 << -1 << -1 << true << true << -1 << untouched << false;
}

void TestFrmPlayer::statusTable() {
    QFETCH(int, state);
    QFETCH(int, play);
    QFETCH(int, pause);
    QFETCH(bool, durationTimer);
    QFETCH(bool, nextTimer);
    QFETCH(int, value);
    QFETCH(QString, led);
    QFETCH(bool, started);

    m_engine->raise(3);
    m_engine->raise(8); // leaves tmrNext running
    m_engine->raise(3);
    const_cast<QTimer&>(m_form->tmrNext()).start();
    m_state.PlaybackStarted = false;
    m_controls = FakeControls();

    m_engine->raise(state);
    QCOMPARE(m_controls.play, play);
    QCOMPARE(m_controls.pause, pause);
    QCOMPARE(m_form->tmrDuration().isActive(), durationTimer);
    QCOMPARE(m_form->tmrNext().isActive(), nextTimer);
    QCOMPARE(m_controls.value, value);
    QCOMPARE(m_controls.led, led);
    QCOMPARE(m_state.PlaybackStarted, started);
}

void TestFrmPlayer::captionShowsTitleAndStatus() {
    m_form->MediaTitle = QStringLiteral("月亮代表我的心");
    m_engine->raise(3);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("月亮代表我的心\t正在播放"));
    m_engine->raise(2);
    QCOMPARE(m_form->windowTitle(), QStringLiteral("月亮代表我的心\t已暂停"));
    m_form->ToggleFullScreen();
    m_engine->raise(3);
    QCOMPARE(m_form->windowTitle(), QString());
}

void TestFrmPlayer::positionTick_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("storedDuration");
    QTest::addColumn<double>("duration");
    QTest::addColumn<double>("position");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("led");
    QTest::addColumn<QString>("learned");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("first tick learns the length")
        << "/m/a.mp3"
        << "00:00" << 185.5 << 12.5 << 186 << 12 << "00:12"
        << "03:06" << QStringList{"7=03:06"};
    QTest::newRow("live stream: bar and length untouched")
        << "http://h/live"
        << "00:00" << 0.0 << 75.0 << -1 << -1 << "01:15"
        << "00:00" << QStringList{};
    QTest::newRow("flash keeps the previous maximum")
        << "C:\\f\\movie.SWF"
        << "00:00" << 30.0 << 3.4 << -1 << 3 << "00:03"
        << "00:30" << QStringList{"7=00:30"};
    QTest::newRow("beyond 16 bits") << "/m/long.wav"
                                    << "00:00" << 40000.0 << 35000.0 << 40000 << 35000 << "583:20"
                                    << "666:40" << QStringList{"7=666:40"};
    QTest::newRow("known length is kept") << "/m/a.mp3"
                                          << "04:00" << 185.0 << 1.0 << 185 << 1 << "00:01"
                                          << "04:00" << QStringList{};
}

void TestFrmPlayer::positionTick() {
    QFETCH(QString, path);
    QFETCH(QString, storedDuration);
    QFETCH(double, duration);
    QFETCH(double, position);
    QFETCH(int, max);
    QFETCH(int, value);
    QFETCH(QString, led);
    QFETCH(QString, learned);
    QFETCH(QStringList, rows);

    m_state.CurrentMedia = makeItem(path, MediaSource::FromFile);
    m_state.CurrentMedia->Duration = storedDuration;
    m_engine->duration = duration;
    m_engine->position = position;
    m_form->tmrDuration_Timer();
    QCOMPARE(m_controls.max, max);
    QCOMPARE(m_controls.value, value);
    QCOMPARE(m_controls.led, led);
    QCOMPARE(m_state.CurrentMedia->Duration, learned);
    QCOMPARE(m_songs.writes, rows);
}

void TestFrmPlayer::durationIsLearnedOnce() {
    m_state.CurrentMedia = makeItem(QStringLiteral("/m/a.mp3"), MediaSource::FromFile);
    m_engine->duration = 61.0;
    m_engine->raise(3);
    QTRY_COMPARE(m_songs.writes, QStringList{QStringLiteral("7=01:01")}); // the real 500 ms timer
    m_engine->duration = 99.0; // a later, different report changes nothing
    m_form->tmrDuration_Timer();
    m_form->tmrDuration_Timer();
    QCOMPARE(m_state.CurrentMedia->Duration, QStringLiteral("01:01"));
    QCOMPARE(m_songs.writes.size(), 1);
    QCOMPARE(m_controls.max, 99);
}

void TestFrmPlayer::advancesOnlyAfterEndedThenStopped() {
    m_engine->raise(3);
    m_engine->raise(8);
    QVERIFY(m_form->tmrNext().isActive());
    // The engine is still finishing: ticks wait.
    m_form->tmrNext_Timer();
    m_form->tmrNext_Timer();
    QVERIFY(m_entry.calls.isEmpty());
    m_engine->raise(1);
    QTRY_COMPARE(m_entry.calls, QStringList{QStringLiteral("PlayNextItem")});
    QVERIFY(!m_form->tmrNext().isActive());
    QTest::qWait(250);
    QCOMPARE(m_entry.calls.size(), 1); // only once
}

void TestFrmPlayer::noAdvanceWhenPlayingResumesAfterEnd() {
    m_engine->raise(8);
    m_engine->raise(3); // e.g. the user pressed Play
    QVERIFY(!m_form->tmrNext().isActive());
    m_engine->raise(1); // a later plain stop does not advance either
    QTest::qWait(250);
    QVERIFY(m_entry.calls.isEmpty());
}

void TestFrmPlayer::linkItemRetriesEveryCandidateThenMovesOn() {
    auto item = makeItem(QStringLiteral("http://a/1.mp3"), MediaSource::FromLink);
    item->UrlCol = QStringList{QStringLiteral("http://a/1.mp3"), QStringLiteral("http://b/2.mp3"),
                               QStringLiteral("http://c/3.mp3")};
    m_state.CurrentMedia = item;
    for (int i = 0; i < 3; ++i)
        m_engine->raiseMediaError();
    QCOMPARE(m_entry.calls, (QStringList{
                                QStringLiteral("StopPlayback"),
                                QStringLiteral("PlayCurrentItem http://b/2.mp3"),
                                QStringLiteral("StopPlayback"),
                                QStringLiteral("PlayCurrentItem http://c/3.mp3"),
                                QStringLiteral("StopPlayback"),
                                QStringLiteral("PlayNextItem"),
                            }));
    QCOMPARE(m_form->ctlPlayer1()->FileName(), QStringLiteral("http://c/3.mp3"));
    QVERIFY(item->UrlCol.isEmpty());
    // Another error on the exhausted item keeps moving on, never looping.
    m_entry.calls.clear();
    m_engine->raiseMediaError();
    QCOMPARE(m_entry.calls,
             (QStringList{QStringLiteral("StopPlayback"), QStringLiteral("PlayNextItem")}));
}

void TestFrmPlayer::otherItemsMoveOnAfterError_data() {
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("hasItem");
    QTest::newRow("file") << int(MediaSource::FromFile) << true;
    QTest::newRow("stream") << int(MediaSource::FromUrl) << true;
    QTest::newRow("nothing playing") << 0 << false;
}

void TestFrmPlayer::otherItemsMoveOnAfterError() {
    QFETCH(int, source);
    QFETCH(bool, hasItem);
    if (hasItem)
        m_state.CurrentMedia = makeItem(QStringLiteral("/m/x.mp3"), MediaSource(source));
    m_engine->raiseMediaError();
    QCOMPARE(m_entry.calls,
             (QStringList{QStringLiteral("StopPlayback"), QStringLiteral("PlayNextItem")}));
}

void TestFrmPlayer::fullScreenRoundTrip() {
    m_form->MediaTitle = QStringLiteral("Clip");
    m_form->setGeometry(50, 60, 400, 300);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    const QRect before = m_form->geometry();

    // A right double click does nothing.
    m_engine->raiseDoubleClick(2);
    QVERIFY(!m_form->FullScreen());
    QCOMPARE(m_form->geometry(), before);

    // A left double click on the video goes full screen...
    QTest::mouseDClick(m_form->ctlPlayer1(), Qt::LeftButton, {}, QPoint(20, 20));
    QVERIFY(m_form->FullScreen());
    QVERIFY(m_form->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(m_form->windowTitle(), QString());
    const QRect screen = m_form->screen()->geometry();
    QTRY_COMPARE(m_form->geometry(), QRect(0, 0, screen.width(), screen.height()));
    QVERIFY(m_form->isVisible());

    // ...and another one restores the exact bounds and the title.
    m_engine->raiseDoubleClick(1);
    QVERIFY(!m_form->FullScreen());
    QVERIFY(!(m_form->windowFlags() & Qt::FramelessWindowHint));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Clip"));
    QTRY_COMPARE(m_form->geometry(), before);
    QVERIFY(m_form->isVisible());
}

void TestFrmPlayer::resizeRule() {
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_form->resize(400, 300);
    QTRY_COMPARE(m_form->ctlPlayer1()->geometry(), QRect(0, 0, 400, 300));

    m_form->ctlPlayer1()->setStretchToFit(false);
    m_form->ctlPlayer1()->resize(100, 50);
    m_form->resize(500, 301);
    QTRY_COMPARE(m_form->ctlPlayer1()->geometry(), QRect(200, 125, 100, 50));
    m_engine->raise(9); // a status change lays out too
    QCOMPARE(m_form->ctlPlayer1()->geometry(), QRect(200, 125, 100, 50));
}

void TestFrmPlayer::closeHidesUnlessExiting() {
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
    m_controls.equalizer = 1;
    QVERIFY(!m_form->close());
    QVERIFY(!m_form->isVisible());
    QCOMPARE(m_controls.equalizer, 0);

    m_form->show();
    m_state.IsExiting = true;
    m_controls.equalizer = 1;
    QVERIFY(m_form->close());
    QCOMPARE(m_controls.equalizer, 1);
}

QTEST_MAIN(TestFrmPlayer)
#include "tst_frmPlayer.moc"
