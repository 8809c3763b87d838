// Times reading a 10,000-line lyrics file (in UTF-8 and in GBK, which goes
// through the encoding decision and iconv) and finding the current line for
// every tenth of a second of the song.

#include "lyrics/LyricsFile.h"
#include "support/TestMedia.h"
#include "winsvc/LegacyText.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

QString makeLrc(int lines) {
    QString text = QStringLiteral("[ti:长歌]\n[ar:歌手]\n[offset:+150]\n");
    for (int i = 0; i < lines; ++i) {
        const int cs = i * 137; // hundredths
        text += QStringLiteral("[%1:%2.%3]第%4行 <%1:%2.%3>歌词 line %4\n")
                    .arg(cs / 6000, 2, 10, QLatin1Char('0'))
                    .arg(cs / 100 % 60, 2, 10, QLatin1Char('0'))
                    .arg(cs % 100, 2, 10, QLatin1Char('0'))
                    .arg(i);
    }
    return text;
}

double bestOf(int runs, const QString& path, qsizetype& lines) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        QString error;
        const std::optional<Lyrics> lyrics = LyricsFile::Read(path, error);
        best = std::min(best, double(clock.nsecsElapsed()) / 1e6);
        lines = lyrics ? lyrics->Lines.size() : -1;
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    constexpr int kLines = 10000;
    QTemporaryDir dir;
    const QString text = makeLrc(kLines);
    const QString utf8 = dir.filePath(QStringLiteral("utf8.lrc"));
    const QString gbk = dir.filePath(QStringLiteral("gbk.lrc"));
    TestMedia::WriteFile(utf8, text.toUtf8());
    TestMedia::WriteFile(gbk, LegacyText::ToGb18030(text));
    for (const auto& [name, path] : {std::pair{"UTF-8", utf8}, std::pair{"GBK", gbk}}) {
        qsizetype lines = 0;
        const double ms = bestOf(10, path, lines);
        std::printf("read %lld-line lrc (%s, %lld bytes): best of 10 %.2f ms\n",
                    static_cast<long long>(lines), name,
                    static_cast<long long>(QFileInfo(path).size()), ms);
    }
    QString error;
    const std::optional<Lyrics> lyrics = LyricsFile::Read(utf8, error);
    const qint64 lengthMs = lyrics->Lines.last().TimeMs;
    QElapsedTimer clock;
    clock.start();
    qint64 sum = 0;
    for (qint64 t = 0; t <= lengthMs; t += 100)
        sum += lyrics->LineAt(t);
    std::printf("current line for %lld times: %.2f ms (checksum %lld)\n",
                static_cast<long long>(lengthMs / 100 + 1), double(clock.nsecsElapsed()) / 1e6,
                static_cast<long long>(sum));
    return 0;
}
