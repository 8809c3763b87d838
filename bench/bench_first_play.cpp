// Times the first play after an empty start: from the click on the player
// window's play button to the engine's "playing" state, with everything the
// first play does on the way (the video window and the engine are made, the
// engine's library is loaded, the file is opened and decoded). Each round is
// a fresh process, so the library load is always included.
//
//   QT_QPA_PLATFORM=offscreen MELODECK_MPV_AO=null build/bench/bench_first_play [rounds]
//
// The program runs in this process against an isolated home folder holding
// one list with one generated MP3 (30 s, tagged).

#include "app/PlayerApp.h"
#include "app/frmPlayerWindow.h"
#include "controls/ctlButton.h"
#include "playback/MediaEngine.h"
#include "playback/ctlPlayer.h"
#include "playback/frmPlayer.h"
#include "support/TestMedia.h"
#include "support/TestProgram.h"
#include "winsvc/LegacyText.h"
#include "winsvc/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kTimeoutMs = 10000;

// One round in this process; prints the milliseconds or -1.
int OneRound(int argc, char** argv) {
    QApplication app(argc, argv);
    QTemporaryDir home;
    const QProcessEnvironment env = TestProgram::Environment(home.path());
    for (const char* name : {"MELODECK_HOME", "XDG_RUNTIME_DIR", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                             "MELODECK_SEARCH_URL", "MELODECK_UPDATE_URL"})
        qputenv(name, env.value(QLatin1String(name)).toUtf8());
    const QString song = home.filePath(QStringLiteral("song.mp3"));
    QDir(home.path()).mkpath(QStringLiteral("PlayList"));
    TestMedia::WriteFile(song, TestMedia::SilentMp3(30, "Song"));
    TestMedia::WriteFile(home.filePath(QStringLiteral("PlayList/0.MLF")),
                         LegacyText::ToGb18030(QStringLiteral("{歌}\r\nSong=") + song + "\r\n"));
    // The shipped skins, beside the program.
    QFile::link(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/skin"),
                home.filePath(QStringLiteral("skin")));

    SilentPrompts prompts;
    PlayerApp player(prompts);
    if (!player.Start())
        return 1;
    QTest::qWait(300); // the start settles, as a user's click comes later
    QElapsedTimer clock;
    clock.start();
    emit player.PlayerWindow().cmdPlay()->Click();
    const bool playing = QTest::qWaitFor(
        [&] {
            frmPlayer* video = player.ExistingVideoWindow();
            return video && video->ctlPlayer1()->playState() == MediaEngine::Playing;
        },
        kTimeoutMs);
    std::printf("%lld\n", playing ? static_cast<long long>(clock.elapsed()) : -1LL);
    return playing ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && QByteArray(argv[1]) == "--round")
        return OneRound(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    std::vector<int> times;
    for (int i = 0; i < rounds; ++i) {
        QProcess round;
        round.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--round")});
        if (!round.waitForFinished(30000) || round.exitCode() != 0) {
            std::printf("round %d failed: %s\n", i + 1, round.readAllStandardError().constData());
            continue;
        }
        times.push_back(round.readAllStandardOutput().trimmed().toInt());
        std::printf("round %d: %d ms\n", i + 1, times.back());
    }
    if (times.empty())
        return 1;
    std::sort(times.begin(), times.end());
    std::printf("click -> playing, median of %zu: %d ms (min %d, max %d)\n", times.size(),
                times[times.size() / 2], times.front(), times.back());
    return 0;
}
