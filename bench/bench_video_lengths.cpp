// Two figures for the lengths of video files:
//
// 1. An empty start of the real program (offscreen, isolated home folder, no
//    list): after 3 s, the shared libraries it has mapped, whether the demuxer
//    library or the engine is among them, and its resident memory. Measuring
//    the melodeck of another build (the first argument) gives the figures to
//    compare with.
// 2. 1,000 generated video files (AVI, MPEG, ASF, FLV in turn) in one list:
//    the time from loading it until every length is filled in by the
//    background readers, and the same files measured one after the other on
//    one thread.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_video_lengths [program]

#include "controls/ctlList.h"
#include "playback/DemuxerLengthReader.h"
#include "playback/PlayerState.h"
#include "playlist/ItemInfoReader.h"
#include "playlist/PlaylistStore.h"
#include "support/TestMedia.h"
#include "support/TestProgram.h"
#include "support/VideoContainers.h"
#include "winsvc/LegacyText.h"
#include "winsvc/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

constexpr int kFiles = 1000;
constexpr int kSettleMs = 3000;

struct StartFigures {
    int libraries = 0;
    bool demuxer = false;
    bool engine = false;
    long rssKb = 0;
};

StartFigures Inspect(qint64 pid) {
    StartFigures figures;
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    QSet<QByteArray> files;
    if (maps.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : maps.readAll().split('\n')) {
            const qsizetype slash = line.indexOf('/');
            if (slash >= 0 && line.contains(".so"))
                files.insert(line.mid(slash));
        }
    }
    figures.libraries = int(files.size());
    for (const QByteArray& file : files) {
        figures.demuxer = figures.demuxer || file.contains("libavformat");
        figures.engine = figures.engine || file.contains("libmpv");
    }
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                figures.rssKb = line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return figures;
}

bool EmptyStart(const QString& program) {
    QTemporaryDir home;
    QProcess run;
    run.setProcessEnvironment(TestProgram::Environment(home.path()));
    run.start(program, {});
    if (!run.waitForStarted(10000)) {
        std::printf("cannot start %s\n", qPrintable(program));
        return false;
    }
    QTest::qWait(kSettleMs);
    const StartFigures f = Inspect(run.processId());
    run.terminate();
    if (!run.waitForFinished(10000))
        run.kill();
    std::printf("empty start of %s after %d s: %d shared libraries, libavformat %s, libmpv %s, "
                "RSS %.1f MiB\n",
                qPrintable(program), kSettleMs / 1000, f.libraries,
                f.demuxer ? "mapped" : "not mapped", f.engine ? "mapped" : "not mapped",
                double(f.rssKb) / 1024);
    return true;
}

QByteArray Clip(int i) {
    const double seconds = 2.0 + (i % 30);
    switch (i % 4) {
    case 0:
        return TestMedia::MjpegAvi(int(seconds * 2), QSize(16, 16), 2);
    case 1:
        return VideoContainers::MpegProgramStream(seconds);
    case 2:
        return VideoContainers::Asf(seconds);
    default:
        return VideoContainers::Flv(seconds);
    }
}

const char* const kExtensions[] = {"avi", "mpg", "wmv", "flv"};

bool FillLengths(const QString& root) {
    const QString lists = root + QStringLiteral("/PlayList/");
    QDir().mkpath(lists);
    QStringList lines{QStringLiteral("{视频}")};
    for (int i = 0; i < kFiles; ++i) {
        const QString path = root + QStringLiteral("/%1.%2").arg(i).arg(kExtensions[i % 4]);
        if (!TestMedia::WriteFile(path, Clip(i)))
            return false;
        lines << QStringLiteral("v%1=").arg(i) + path;
    }
    TestMedia::WriteFile(lists + QStringLiteral("0.MLF"),
                         LegacyText::ToGb18030(lines.join("\r\n")));

    ctlList left, songs;
    songs.resize(300, 600);
    PlayerState state;
    SilentPrompts prompts;
    PlaylistStore store(left, songs, state, prompts);
    store.SetFolder(lists);
    QElapsedTimer clock;
    clock.start();
    store.LoadPlaylists();
    if (store.InfoReader().Pending() > 0) {
        QEventLoop wait;
        QObject::connect(&store.InfoReader(), &ItemInfoReader::Idle, &wait, &QEventLoop::quit);
        wait.exec();
    }
    const double filledMs = double(clock.nsecsElapsed()) / 1e6;
    int known = 0;
    for (int row = 1; row <= songs.Count(); ++row)
        known += songs.ItemData(row)->iTime != QLatin1String("00:00");
    std::printf("%d mixed video files (AVI, MPEG, ASF, FLV): every length filled in %.1f ms "
                "after the start of the load; %d of %d rows have a length\n",
                kFiles, filledMs, known, songs.Count());

    const DemuxerLengthReader reader;
    clock.restart();
    for (int i = 0; i < kFiles; ++i)
        reader.Read(root + QStringLiteral("/%1.%2").arg(i).arg(kExtensions[i % 4]));
    std::printf("the same files through the demuxer reader alone, one after the other: %.1f ms\n",
                double(clock.nsecsElapsed()) / 1e6);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString program = argc > 1 ? QString::fromLocal8Bit(argv[1]) : TestProgram::Path();
    if (!EmptyStart(program))
        return 1;
    QTemporaryDir dir;
    return FillLengths(dir.path()) ? 0 : 1;
}
