// Where an item's lyrics are found, on generated songs with real tags: a
// file beside the song first, then the user's lyrics folder, then the tags
// (ID3v2 in MPEG audio, Vorbis comments in FLAC, MP4 items); streams by their
// title.
#include "lyrics/LyricsFinder.h"
#include "support/AudioContainers.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/xiphcomment.h>

namespace {

TagLib::String utf8(const QString& text) {
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

// Writes an ID3v2 tag holding `uslt` (unsynchronized) and, unless `sylt` is
// empty, a synchronized frame of two lines timed in milliseconds ("ms") or
// MPEG frames ("frames"), into the MP3 at `path`.
bool tagMp3(const QString& path, const QString& uslt, const QString& sylt) {
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    if (!file.isValid())
        return false;
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    if (!uslt.isEmpty()) {
        auto* frame = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF8);
        frame->setText(utf8(uslt));
        tag->addFrame(frame);
    }
    if (!sylt.isEmpty()) {
        using Sylt = TagLib::ID3v2::SynchronizedLyricsFrame;
        auto* frame = new Sylt(TagLib::String::UTF8);
        frame->setTimestampFormat(sylt == QLatin1String("frames") ? Sylt::AbsoluteMpegFrames
                                                                  : Sylt::AbsoluteMilliseconds);
        Sylt::SynchedTextList lines;
        lines.append({2500, TagLib::String("sylt two")});
        lines.append({700, TagLib::String("sylt one")});
        frame->setSynchedText(lines);
        tag->addFrame(frame);
    }
    return file.save(TagLib::MPEG::File::ID3v2);
}

// The song `name` in `path`, its lyrics tag holding `lyrics` when given: by
// the name's ending FLAC (a Vorbis comment's LYRICS), MP4 (the ©lyr item), or
// MPEG audio ("24" in the name: MPEG-2 at 24 kHz) with ID3v2.
bool writeSong(const QString& path, const QString& lyrics, const QString& sylt) {
    const QByteArray name = QFile::encodeName(path);
    if (path.endsWith(QLatin1String(".flac"))) {
        if (!TestMedia::WriteFile(path, AudioContainers::SilentFlac(1.0)))
            return false;
        if (lyrics.isEmpty())
            return true;
        TagLib::FLAC::File file(name.constData());
        file.xiphComment(true)->addField("LYRICS", utf8(lyrics));
        return file.isValid() && file.save();
    }
    if (path.endsWith(QLatin1String(".m4a"))) {
        if (!TestMedia::WriteFile(path, AudioContainers::EmptyM4a(1.0)))
            return false;
        if (lyrics.isEmpty())
            return true;
        TagLib::MP4::File file(name.constData());
        file.tag()->setItem("\251lyr", TagLib::StringList(utf8(lyrics)));
        return file.isValid() && file.save();
    }
    const QByteArray audio = path.contains(QLatin1String("24")) ? TestMedia::SilentMpeg2Mp3(1.0)
                                                                : TestMedia::SilentMp3(1.0);
    if (!TestMedia::WriteFile(path, audio))
        return false;
    return (lyrics.isEmpty() && sylt.isEmpty()) || tagMp3(path, lyrics, sylt);
}

} // namespace

class TestLyricsFinder : public QObject {
    Q_OBJECT
private slots:
    void findsInOrder_data();
    void findsInOrder();
    void names_data();
    void names();
};

void TestLyricsFinder::findsInOrder_data() {
    QTest::addColumn<QString>("item");      // a path inside the music folder, or a stream
    QTest::addColumn<QStringList>("files"); // "music/<name>" or "lyrics/<name>", each a .lrc
    QTest::addColumn<QString>("uslt");      // the song's lyrics tag (ID3v2 USLT, LYRICS, ©lyr)
    QTest::addColumn<QString>("sylt");      // "", or a SYLT frame timed in "ms" or "frames"
    QTest::addColumn<QString>("expected");  // the first line, its time, where from; "" for none

    const QString song = QStringLiteral("song.mp3");
    const QString lrcText = QStringLiteral("[00:01]from the tag");
    QTest::newRow("beside beats the lyrics folder and the tags")
        << song << QStringList{"music/song.lrc", "lyrics/song.lrc"} << lrcText << "ms"
        << "1000 music/song.lrc";
    QTest::newRow("beside, name in another case")
        << song << QStringList{"music/SONG.LRC"} << QString() << ""
        << "1000 music/SONG.LRC";
    QTest::newRow("another song's file beside is not taken")
        << song << QStringList{"music/song2.lrc", "lyrics/Song.lrc"} << QString() << ""
        << "1000 lyrics/Song.lrc";
    QTest::newRow("lyrics folder beats the tags")
        << song << QStringList{"lyrics/song.lrc"} << lrcText << "ms"
        << "1000 lyrics/song.lrc";
    QTest::newRow("unreadable file beside: reported, then the folder")
        << song << QStringList{"music/song.lrc=fifo", "lyrics/song.lrc"} << QString() << ""
        << "1000 lyrics/song.lrc !";
    QTest::newRow("synchronized tag beats the unsynchronized one")
        << song << QStringList() << lrcText << "ms"
        << "700 sylt one";
    QTest::newRow("unsynchronized tag holding LRC text") << song << QStringList() << lrcText << ""
                                                         << "1000 from the tag";
    QTest::newRow("unsynchronized plain tag") << song << QStringList() << "first\nsecond"
                                              << ""
                                              << "plain first";
    QTest::newRow("SYLT in MPEG frames of MPEG-1 Layer III, 1152 samples at 44.1 kHz")
        << song << QStringList() << lrcText << "frames"
        << "18286 sylt one";
    QTest::newRow("SYLT in MPEG frames of MPEG-2 Layer III, 576 samples at 24 kHz")
        << "song24.mp3" << QStringList() << QString() << "frames"
        << "16800 sylt one";
    QTest::newRow("FLAC: LYRICS holding LRC text") << "song.flac" << QStringList() << lrcText << ""
                                                   << "1000 from the tag";
    QTest::newRow("FLAC: a file beside beats LYRICS")
        << "song.flac" << QStringList{"music/song.lrc"} << lrcText << ""
        << "1000 music/song.lrc";
    QTest::newRow("FLAC without lyrics") << "song.flac" << QStringList() << QString() << ""
                                         << "";
    QTest::newRow("MP4: ©lyr holding LRC text") << "song.m4a" << QStringList() << lrcText << ""
                                                << "1000 from the tag";
    QTest::newRow("MP4: plain ©lyr") << "song.m4a" << QStringList() << "第一行\n第二行"
                                     << ""
                                     << "plain 第一行";
    QTest::newRow("nothing anywhere") << song << QStringList() << QString() << ""
                                      << "";
    QTest::newRow("stream: the folder by title")
        << "http://radio.example/live" << QStringList{"lyrics/Radio Song.lrc"} << QString() << ""
        << "1000 lyrics/Radio Song.lrc";
}

void TestLyricsFinder::findsInOrder() {
    QFETCH(QString, item);
    QFETCH(QStringList, files);
    QFETCH(QString, uslt);
    QFETCH(QString, sylt);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("music")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("lyrics")));
    const bool local = !item.startsWith(QLatin1String("http"));
    const QString songPath = dir.filePath(QStringLiteral("music/") + (local ? item : "song.mp3"));
    QVERIFY(writeSong(songPath, uslt, sylt));
    for (const QString& file : files) {
        const QString name = file.section(QLatin1Char('='), 0, 0);
        const QString path = dir.filePath(name);
        if (file.endsWith(QLatin1String("=fifo")))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(TestMedia::WriteFile(path, "[ti:x]\n[00:01]" + name.toUtf8()));
    }
    const LyricsFinder::Item what{local ? songPath : item, QStringLiteral("Radio Song")};
    const LyricsFinder::Found found =
        LyricsFinder::Find(what, dir.filePath(QStringLiteral("lyrics")));
    QString got;
    if (found.Result && !found.Result->IsEmpty()) {
        const LyricLine& first = found.Result->Lines.first();
        got = (found.Result->Timed ? QString::number(first.TimeMs) : QStringLiteral("plain")) +
              QLatin1Char(' ') + first.Text;
    }
    if (!found.Errors.isEmpty())
        got += QStringLiteral(" !");
    QCOMPARE(got, expected);
}

void TestLyricsFinder::names_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("name");
    QTest::newRow("local: the base name") << "/m/a.b.mp3"
                                          << "T"
                                          << "a.b";
    QTest::newRow("stream: the title") << "http://x/y.mp3"
                                       << " 歌 "
                                       << "歌";
    QTest::newRow("title with separators") << "http://x/y"
                                           << "a/b\\c"
                                           << "a_b_c";
    QTest::newRow("title that is a folder name") << "http://x/y"
                                                 << ".."
                                                 << "";
}

void TestLyricsFinder::names() {
    QFETCH(QString, path);
    QFETCH(QString, title);
    QFETCH(QString, name);
    QCOMPARE(LyricsFinder::LyricsName({path, title}), name);
}

QTEST_GUILESS_MAIN(TestLyricsFinder)
#include "tst_LyricsFinder.moc"
