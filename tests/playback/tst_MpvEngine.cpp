// The real engine (libmpv, null outputs) on small generated files, seen
// through the wrapper control the rest of the program uses.
#include "PlayerRuns.h"
#include "playback/ctlPlayer.h"
#include "support/TestMedia.h"

#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestMpvEngine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void playsToTheEndThenStops();
    void playsVideo();
    void pauseResumeSeek();
    void volumeAndMute();
    void unplayableItemsRaiseMediaError_data();
    void unplayableItemsRaiseMediaError();
    void fileNameReadsBackWhatWasWritten();
    void newMediaReadsTags_data();
    void newMediaReadsTags();
    void settingsRoundTrip();
    void surfaceCoversControlAfterStatusChange();
    void playAfterStopStartsAgain();
    void withoutTheLibraryItemsFailAndSayWhy_data();
    void withoutTheLibraryItemsFailAndSayWhy();

private:
    QString writeMedia(const QString& name, const QByteArray& data);
    QTemporaryDir m_dir;
};

namespace {

constexpr int kTimeoutMs = 15000;

// The GBK bytes of "月亮代表我的心".
QByteArray gbkTitle() {
    return QByteArray::fromHex("d4c2c1c1b4fab1edced2b5c4d0c4");
}

} // namespace

void TestMpvEngine::initTestCase() {
    QVERIFY(m_dir.isValid());
}

QString TestMpvEngine::writeMedia(const QString& name, const QByteArray& data) {
    const QString path = m_dir.filePath(name);
    if (!TestMedia::WriteFile(path, data))
        return QString();
    return path;
}

void TestMpvEngine::playsToTheEndThenStops() {
    const QString path = writeMedia(QStringLiteral("short.mp3"), TestMedia::SilentMp3(0.6));
    ctlPlayer player;
    StateLog log(player);
    QSignalSpy ended(&player, &ctlPlayer::EndOfStream);
    QSignalSpy changed(&player, &ctlPlayer::MediaChange);
    player.setFileName(path);
    QTRY_VERIFY_WITH_TIMEOUT(log.states.contains(3), kTimeoutMs);
    QCOMPARE(player.status(), QStringLiteral("正在播放"));
    QTRY_COMPARE_WITH_TIMEOUT(log.states.value(log.states.size() - 1), 1, kTimeoutMs);
    QCOMPARE(log.states, (QList<int>{9, 3, 8, 1}));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(player.playState(), 1);
}

void TestMpvEngine::playsVideo() {
    const QString path = writeMedia(QStringLiteral("clip.avi"), TestMedia::MjpegAvi(8));
    ctlPlayer player;
    StateLog log(player);
    QSignalSpy changed(&player, &ctlPlayer::MediaChange);
    player.setFileName(path);
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, kTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(player.currentMedia().duration() - 0.8) < 0.15, kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(log.states.value(log.states.size() - 1), 1, kTimeoutMs);
    QCOMPARE(log.states, (QList<int>{9, 3, 8, 1}));
}

void TestMpvEngine::pauseResumeSeek() {
    const QString path = writeMedia(QStringLiteral("long.wav"), TestMedia::SilentWav(30));
    ctlPlayer player;
    StateLog log(player);
    player.setFileName(path);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 3, kTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(player.currentMedia().duration() > 29.0, kTimeoutMs);
    QCOMPARE(player.currentMedia().durationString(), QStringLiteral("00:30"));

    player.pause();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 2, kTimeoutMs);
    QCOMPARE(player.status(), QStringLiteral("已暂停"));

    player.Controls().setCurrentPosition(20.0);
    QTRY_VERIFY_WITH_TIMEOUT(qAbs(player.Controls().currentPosition() - 20.0) < 0.5, kTimeoutMs);
    QCOMPARE(player.Controls().currentPositionString(), QStringLiteral("00:20"));
    QCOMPARE(player.playState(), 2); // seeking while paused stays paused

    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 3, kTimeoutMs);
    QTRY_VERIFY_WITH_TIMEOUT(player.Controls().currentPosition() > 20.0, kTimeoutMs);

    player.Stop1();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 1, kTimeoutMs);
    QCOMPARE(player.Controls().currentPosition(), 0.0);
    QCOMPARE(log.states, (QList<int>{9, 3, 2, 3, 1}));
}

void TestMpvEngine::volumeAndMute() {
    ctlPlayer player;
    QCOMPARE(player.settings().volume(), 50);
    QCOMPARE(player.settings().mute(), false);
    player.settings().setVolume(80);
    QCOMPARE(player.settings().volume(), 80);
    player.settings().setVolume(150);
    QCOMPARE(player.settings().volume(), 100);
    player.settings().setVolume(-5);
    QCOMPARE(player.settings().volume(), 0);
    player.settings().setMute(true);
    QCOMPARE(player.settings().mute(), true);

    // The settings hold across items.
    const QString path = writeMedia(QStringLiteral("vol.wav"), TestMedia::SilentWav(5));
    player.setFileName(path);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 3, kTimeoutMs);
    QCOMPARE(player.settings().volume(), 0);
    QCOMPARE(player.settings().mute(), true);
}

void TestMpvEngine::unplayableItemsRaiseMediaError_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing file") << "missing.mp3" << QByteArray();
    QTest::newRow("broken file") << "broken.mp3" << QByteArray(4096, '\x5a');
}

void TestMpvEngine::unplayableItemsRaiseMediaError() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QString path = m_dir.filePath(name);
    if (!content.isEmpty())
        path = writeMedia(name, content);
    ctlPlayer player;
    const FailedRun run = PlayUntilFailed(player, path, kTimeoutMs);
    QVERIFY(run.ended);
    QCOMPARE(run.errors, QStringList{path});
    QVERIFY(!run.states.contains(3));
    QCOMPARE(run.states.last(), 1);
    QVERIFY(!player.status().isEmpty());
}

void TestMpvEngine::fileNameReadsBackWhatWasWritten() {
    ctlPlayer player;
    QCOMPARE(player.FileName(), QString());
    const QString bogus = m_dir.filePath(QStringLiteral("nothing-here.wma"));
    QSignalSpy errors(&player, &ctlPlayer::MediaError);
    player.setFileName(bogus);
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kTimeoutMs);
    QCOMPARE(player.FileName(), bogus);
}

void TestMpvEngine::newMediaReadsTags_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("title");
    QTest::addColumn<double>("seconds");
    QTest::newRow("ID3v2 legacy 8-bit title")
        << TestMedia::SilentMp3(2.0, gbkTitle()) << QStringLiteral("月亮代表我的心") << 2.0;
    QTest::newRow("ID3v1 title") << TestMedia::SilentMp3WithId3v1(3.0, gbkTitle())
                                 << QStringLiteral("月亮代表我的心") << 3.0;
    QTest::newRow("ASCII title") << TestMedia::SilentMp3(1.0, "Plain Song")
                                 << QStringLiteral("Plain Song") << 1.0;
    QTest::newRow("no tag") << TestMedia::SilentMp3(1.0) << QString() << 1.0;
}

void TestMpvEngine::newMediaReadsTags() {
    QFETCH(QByteArray, file);
    QFETCH(QString, title);
    QFETCH(double, seconds);
    const QString path = writeMedia(QStringLiteral("tagged.mp3"), file);
    ctlPlayer player;
    const EngineMedia media = player.newMedia(path);
    QCOMPARE(media.getItemInfo(QStringLiteral("title")), title);
    const double duration = media.getItemInfo(QStringLiteral("Duration")).toDouble();
    QVERIFY2(qAbs(duration - seconds) < 0.1, qPrintable(QString::number(duration)));
    QCOMPARE(player.playState(), 0); // reading tags plays nothing

    // Streams and links give no item information.
    QCOMPARE(player.newMedia(QStringLiteral("http://127.0.0.1:9/x.mp3"))
                 .getItemInfo(QStringLiteral("Duration")),
             QString());
    QCOMPARE(player.newMedia(QStringLiteral("melodeck://singer=a&song=b&type=0"))
                 .getItemInfo(QStringLiteral("title")),
             QString());
}

void TestMpvEngine::settingsRoundTrip() {
    ctlPlayer player;
    PropertyBag saved;
    player.setStretchToFit(true);
    player.setEnableContextMenu(false);
    QVERIFY(player.IsPropertyChanged(QStringLiteral("stretchToFit")));
    QVERIFY(player.IsPropertyChanged(QStringLiteral("enableContextMenu")));
    player.WriteProperties(saved);
    QVERIFY(saved.Contains(QStringLiteral("fullScreen")));

    const QString path = writeMedia(QStringLiteral("saved.wav"), TestMedia::SilentWav(1));
    saved.WriteProperty(QStringLiteral("FileName"), path);
    saved.WriteProperty(QStringLiteral("fullScreen"), true);

    ctlPlayer restored;
    StateLog log(restored);
    restored.ReadProperties(saved);
    QCOMPARE(restored.stretchToFit(), true);
    QCOMPARE(restored.enableContextMenu(), false);
    QCOMPARE(restored.FileName(), path);
    QTest::qWait(300);
    QVERIFY(log.states.isEmpty()); // restoring never starts playback
    QCOMPARE(restored.playState(), 0);

    ctlPlayer fresh;
    PropertyBag empty;
    fresh.ReadProperties(empty);
    QCOMPARE(fresh.stretchToFit(), false);
    QCOMPARE(fresh.enableContextMenu(), true);
}

void TestMpvEngine::surfaceCoversControlAfterStatusChange() {
    ctlPlayer player;
    player.resize(320, 240);
    player.show();
    QVERIFY(QTest::qWaitForWindowExposed(&player));
    QCOMPARE(player.WMP()->geometry(), QRect(0, 0, 320, 240));
    player.WMP()->setGeometry(10, 10, 5, 5);
    const QString path = writeMedia(QStringLiteral("fit.wav"), TestMedia::SilentWav(1));
    QSignalSpy status(&player, &ctlPlayer::StatusChange);
    player.setFileName(path);
    QVERIFY(status.wait(kTimeoutMs));
    QCOMPARE(player.WMP()->geometry(), QRect(0, 0, 320, 240));
}

void TestMpvEngine::playAfterStopStartsAgain() {
    const QString path = writeMedia(QStringLiteral("again.wav"), TestMedia::SilentWav(10));
    ctlPlayer player;
    player.setFileName(path);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 3, kTimeoutMs);
    player.Stop1();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 1, kTimeoutMs);
    player.play();
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 3, kTimeoutMs);
}

void TestMpvEngine::withoutTheLibraryItemsFailAndSayWhy_data() {
    QTest::addColumn<QByteArray>("library");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no such library") << QByteArray("libmelodeck-absent-mpv.so.2")
                                     << QStringLiteral("libmelodeck-absent-mpv.so.2");
    // A library that loads but is not libmpv (the C library is always there).
    QTest::newRow("not libmpv") << QByteArray("libc.so.6") << QStringLiteral("mpv_create");
}

void TestMpvEngine::withoutTheLibraryItemsFailAndSayWhy() {
    QFETCH(QByteArray, library);
    QFETCH(QString, reason);
    qputenv("MELODECK_MPV_LIBRARY", library);
    const auto restore = qScopeGuard([] { qunsetenv("MELODECK_MPV_LIBRARY"); });
    const QString path = writeMedia(QStringLiteral("fine.wav"), TestMedia::SilentWav(1));

    ctlPlayer player;
    // Settings and transport without an engine are taken and do nothing.
    player.settings().setVolume(30);
    player.settings().setMute(true);
    player.play();
    player.pause();
    player.Stop1();
    player.setStretchToFit(true);
    QCOMPARE(player.settings().volume(), 30);

    // A playable item fails like a missing one, and the status names the
    // library and why it is missing; every later try does the same.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const FailedRun run = PlayUntilFailed(player, path, kTimeoutMs);
        QVERIFY(run.ended);
        QCOMPARE(run.errors, QStringList{path});
        QCOMPARE(run.states, (QList<int>{9, 1}));
        QVERIFY2(player.status().contains(QString::fromLatin1(library)),
                 qPrintable(player.status()));
        QVERIFY2(player.status().contains(reason), qPrintable(player.status()));
        QCOMPARE(player.Controls().currentPosition(), 0.0);
    }
}

QTEST_MAIN(TestMpvEngine)
#include "tst_MpvEngine.moc"
