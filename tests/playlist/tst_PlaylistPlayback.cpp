// The playback entry points against the real engine (libmpv with null
// outputs) on generated media, with real list controls and a plain widget
// standing in for the player window.
#include "PlaylistRig.h"
#include "playback/frmPlayer.h"
#include "playback/modFile.h"
#include "playlist/PlaylistPlayback.h"
#include "support/TestMedia.h"
#include "support/TestWindows.h"

#include <QTemporaryDir>

namespace {

constexpr int kTimeoutMs = 15000;

struct FakeControls : PlayerWindowControls {
    int equalizer = -1; // -1: never written
    void setPlayVisible(bool) override {}
    void setPauseVisible(bool) override {}
    void setEqualizerSelected(bool v) override { equalizer = v; }
    void setProgressMax(int) override {}
    void setProgressValue(int) override {}
    void setVolumeValue(int) override {}
    void setLedText(const QString&) override {}
};

// The entry points with their video window made on first use, as the
// program does, beside a player window at a known place.
struct PlaybackRig : PlaylistRig {
    FakeControls controls;
    std::unique_ptr<QWidget> playerWindow = TestWindows::MakeWindow(QRect(100, 60, 275, 116));
    int glueChecks = 0;
    std::unique_ptr<frmPlayer> video;
    PlaylistPlayback playback{store, [this]() -> frmPlayer& { return Video(); },
                              PlayerWindowAccess{[this] { return playerWindow->geometry(); },
                                                 &controls, [this] { ++glueChecks; }}};

    explicit PlaybackRig(const QString& folder) : PlaylistRig(folder) {}
    ~PlaybackRig() {
        state.IsExiting = true;
        video.reset();
    }
    frmPlayer& Video() {
        if (!video)
            video = std::make_unique<frmPlayer>(state, PlaybackPeers{controls, playback, playback});
        return *video;
    }
    ctlPlayer& Player() { return *Video().ctlPlayer1(); }

    // A shown, current list of the files; returns the item keys.
    QStringList List(const QStringList& paths) {
        const QString key = store.AddPlaylist(QStringLiteral("l"));
        store.ShowPlaylist(key);
        state.CurrentListKey = key;
        QStringList keys;
        for (const QString& path : paths) {
            auto item = std::make_shared<CMediaInfo>();
            item->Path = path;
            item->Title = path.section(u'/', -1);
            item->Types = modFile::GetMediaKind(path);
            keys << store.AddMediaToList(item, key, true);
        }
        return keys;
    }
    // Seeks once the engine has the file open (a seek before is ignored).
    void SeekTo(double seconds) {
        QTRY_VERIFY_WITH_TIMEOUT(Player().currentMedia().duration() > 0, kTimeoutMs);
        Player().Controls().setCurrentPosition(seconds);
        QTRY_VERIFY_WITH_TIMEOUT(Player().Controls().currentPosition() >= seconds, kTimeoutMs);
    }
    void DoubleClick(const QString& key) {
        playback.StopPlayback();
        state.CurrentItemKey = key;
        playback.PlayCurrentItem();
    }
};

} // namespace

class tst_PlaylistPlayback : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void nextAtTheLastItemReplaysIt();
    void doubleClickWhilePausedStartsFromTheBeginning_data();
    void doubleClickWhilePausedStartsFromTheBeginning();
    void videoOpensBesideThePlayerAndAudioHidesIt();
    void unlistedNamesFollowWhatTheFileHolds();
    void unknownItemKeyPlaysTheFirstItem();
    void listOfFailuresStopsAfterOnePass_data();
    void listOfFailuresStopsAfterOnePass();

private:
    QString media(const QString& name, const QByteArray& data);
    QTemporaryDir m_dir;
};

void tst_PlaylistPlayback::initTestCase() {
    QVERIFY(m_dir.isValid());
}

QString tst_PlaylistPlayback::media(const QString& name, const QByteArray& data) {
    const QString path = m_dir.filePath(name);
    if (!QFile::exists(path) && !TestMedia::WriteFile(path, data))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_PlaylistPlayback::nextAtTheLastItemReplaysIt() {
    PlaybackRig rig(m_dir.path());
    const QStringList keys = rig.List(
        {media("a.wav", TestMedia::SilentWav(20)), media("b.wav", TestMedia::SilentWav(20))});
    rig.songs.SelectItem(keys[1]);
    rig.state.CurrentItemKey = keys[1];
    rig.playback.PlayCurrentItem();
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 3, kTimeoutMs);
    rig.SeekTo(8);

    QSignalSpy states(&rig.Player().engine(), &MediaEngine::PlayStateChange);
    rig.playback.PlayNextItem();
    QCOMPARE(rig.state.CurrentItemKey, keys[1]);
    QCOMPARE(rig.state.CurrentMedia, rig.store.GetMedia(rig.state.CurrentListKey, keys[1]));
    // The item is loaded again and plays from its start.
    QTRY_VERIFY_WITH_TIMEOUT(states.contains(QVariantList{9}) && states.last() == QVariantList{3},
                             kTimeoutMs);
    QVERIFY(rig.Player().Controls().currentPosition() < 4);
    QCOMPARE(rig.Player().engine().URL(), rig.state.CurrentMedia->Path);
    QVERIFY(rig.songs.ItemData(keys[1])->iSelected);
}

void tst_PlaylistPlayback::doubleClickWhilePausedStartsFromTheBeginning_data() {
    QTest::addColumn<int>("target");
    QTest::newRow("another song") << 1;
    QTest::newRow("the paused song") << 0;
}

void tst_PlaylistPlayback::doubleClickWhilePausedStartsFromTheBeginning() {
    QFETCH(int, target);
    PlaybackRig rig(m_dir.path());
    const QStringList keys = rig.List(
        {media("a.wav", TestMedia::SilentWav(20)), media("b.wav", TestMedia::SilentWav(20))});
    rig.DoubleClick(keys[0]);
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 3, kTimeoutMs);
    rig.SeekTo(10);
    rig.playback.PausePlayback();
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 2, kTimeoutMs);

    rig.DoubleClick(keys[target]);
    const QString path = rig.store.GetMedia(rig.state.CurrentListKey, keys[target])->Path;
    QCOMPARE(rig.Player().engine().URL(), path);
    QCOMPARE(rig.video->MediaTitle, path.section(u'/', -1));
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 3, kTimeoutMs);
    QVERIFY2(rig.Player().Controls().currentPosition() < 5,
             qPrintable(QString::number(rig.Player().Controls().currentPosition())));

    // Play while paused resumes where it was.
    rig.SeekTo(10);
    rig.playback.PausePlayback();
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 2, kTimeoutMs);
    rig.playback.PlayCurrentItem();
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 3, kTimeoutMs);
    QVERIFY(rig.Player().Controls().currentPosition() >= 10);
}

void tst_PlaylistPlayback::videoOpensBesideThePlayerAndAudioHidesIt() {
    PlaybackRig rig(m_dir.path());
    const QStringList keys = rig.List(
        {media("v.avi", TestMedia::MjpegAvi(40)), media("s.wav", TestMedia::SilentWav(5))});
    rig.DoubleClick(keys[0]);
    QVERIFY(rig.video->isVisible());
    QCOMPARE(rig.video->pos(), QPoint(100 + 275, 60));
    QCOMPARE(rig.controls.equalizer, 1);
    QCOMPARE(rig.glueChecks, 1);
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 3, kTimeoutMs);

    rig.playback.PlayNextItem();
    QCOMPARE(rig.state.CurrentItemKey, keys[1]);
    QVERIFY(!rig.video->isVisible());
    QCOMPARE(rig.controls.equalizer, 0);
    const QString audio = rig.state.CurrentMedia->Path;
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().engine().URL(), audio, kTimeoutMs);
}

// Names in neither type list are shown or hidden by what the file holds,
// whatever came before them.
void tst_PlaylistPlayback::unlistedNamesFollowWhatTheFileHolds() {
    PlaybackRig rig(m_dir.path());
    const QStringList keys = rig.List(
        {media("film.mp4", TestMedia::MjpegAvi(40)), media("song.mkv", TestMedia::SilentWav(5)),
         media("clip.webm", TestMedia::MjpegAvi(40)), media("film.avi", TestMedia::MjpegAvi(40)),
         media("tune.mp4", TestMedia::SilentMp3(5))});
    const struct {
        int item;
        bool shown;
    } steps[] = {{0, true}, {1, false}, {2, true}, {3, true}, {4, false}};
    for (const auto& step : steps) {
        rig.DoubleClick(keys[step.item]);
        QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 3, kTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(rig.video->isVisible(), step.shown, kTimeoutMs);
        QCOMPARE(rig.controls.equalizer, int(step.shown));
    }
}

void tst_PlaylistPlayback::unknownItemKeyPlaysTheFirstItem() {
    PlaybackRig rig(m_dir.path());
    const QStringList keys = rig.List(
        {media("a.wav", TestMedia::SilentWav(5)), media("b.wav", TestMedia::SilentWav(5))});
    rig.DoubleClick(keys[1]);
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 3, kTimeoutMs);

    // A key of another list (or a removed item): the list's first item plays.
    rig.DoubleClick(QStringLiteral("999"));
    QCOMPARE(rig.state.CurrentItemKey, keys[0]);
    QCOMPARE(rig.Player().engine().URL(), rig.store.Items(rig.state.CurrentListKey)[0]->Path);
    QVERIFY(rig.songs.ItemData(keys[0])->iSelected);

    // An empty list plays nothing, and the engine is not told to play again.
    rig.state.CurrentListKey = rig.store.AddPlaylist(QStringLiteral("empty"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 3, kTimeoutMs);
    rig.DoubleClick(keys[1]);
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 1, kTimeoutMs);
    QTest::qWait(200);
    QCOMPARE(rig.Player().playState(), 1);
    QCOMPARE(rig.state.CurrentMedia, rig.store.GetMedia(rig.store.ListKeys()[0], keys[0]));
}

// In every play mode: a repeating or shuffling one must not go round for ever.
void tst_PlaylistPlayback::listOfFailuresStopsAfterOnePass_data() {
    QTest::addColumn<PlayMode>("mode");
    QTest::newRow("default") << PlayMode::Default;
    QTest::newRow("in order") << PlayMode::InOrder;
    QTest::newRow("repeat list") << PlayMode::RepeatList;
    QTest::newRow("repeat one") << PlayMode::RepeatOne;
    QTest::newRow("shuffle") << PlayMode::Shuffle;
}

void tst_PlaylistPlayback::listOfFailuresStopsAfterOnePass() {
    QFETCH(PlayMode, mode);
    PlaybackRig rig(m_dir.path());
    rig.playback.SetMode(mode);
    rig.List(
        {m_dir.filePath("none1.mp3"), m_dir.filePath("none2.mp3"), m_dir.filePath("none3.mp3")});
    QSignalSpy errors(&rig.Player().engine(), &MediaEngine::MediaError);
    QSignalSpy status(&rig.playback, &PlaylistPlayback::StatusTextChanged);
    rig.playback.PlayCurrentItem();
    QTRY_COMPARE_WITH_TIMEOUT(rig.playback.StatusText(), QStringLiteral("列表中的项目都无法播放"),
                              kTimeoutMs);
    QTest::qWait(300);
    QCOMPARE(errors.count(), 3);
    QCOMPARE(status.count(), 1);

    // A list that plays again clears the message and may fail a full pass anew.
    const QString good = media("good.wav", TestMedia::SilentWav(5));
    rig.store.GetMedia(rig.state.CurrentListKey, rig.state.CurrentItemKey)->Path = good;
    rig.playback.PlayCurrentItem();
    QTRY_COMPARE_WITH_TIMEOUT(rig.Player().playState(), 3, kTimeoutMs);
    QVERIFY(rig.playback.StatusText().isEmpty());
}

QTEST_MAIN(tst_PlaylistPlayback)
#include "tst_PlaylistPlayback.moc"
