// Where an item's lyrics are found, on generated songs with real tags: a
// file beside the song first, then the user's lyrics folder, then the tags;
// streams by their title.
#include "lyrics/LyricsFinder.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/synchronizedlyricsframe.h>
#include <taglib/unsynchronizedlyricsframe.h>

namespace {

// Writes an ID3v2 tag holding `uslt` (unsynchronized) and, when `sylt`,
// a synchronized frame of two lines, into the MP3 at `path`.
bool tagLyrics(const QString& path, const QString& uslt, bool sylt) {
    TagLib::MPEG::File file(QFile::encodeName(path).constData());
    if (!file.isValid())
        return false;
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(true);
    if (!uslt.isEmpty()) {
        auto* frame = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF8);
        frame->setText(TagLib::String(uslt.toStdString(), TagLib::String::UTF8));
        tag->addFrame(frame);
    }
    if (sylt) {
        auto* frame = new TagLib::ID3v2::SynchronizedLyricsFrame(TagLib::String::UTF8);
        frame->setTimestampFormat(TagLib::ID3v2::SynchronizedLyricsFrame::AbsoluteMilliseconds);
        TagLib::ID3v2::SynchronizedLyricsFrame::SynchedTextList lines;
        lines.append({2500, TagLib::String("sylt two")});
        lines.append({700, TagLib::String("sylt one")});
        frame->setSynchedText(lines);
        tag->addFrame(frame);
    }
    return file.save(TagLib::MPEG::File::ID3v2);
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
    QTest::addColumn<QString>("uslt");
    QTest::addColumn<bool>("sylt");
    QTest::addColumn<QString>("expected"); // the first line, its time, where from; "" for none

    const QString song = QStringLiteral("song.mp3");
    const QString lrcText = QStringLiteral("[00:01]from the tag");
    QTest::newRow("beside beats the lyrics folder and the tags")
        << song << QStringList{"music/song.lrc", "lyrics/song.lrc"} << lrcText << true
        << "1000 music/song.lrc";
    QTest::newRow("beside, name in another case")
        << song << QStringList{"music/SONG.LRC"} << QString() << false << "1000 music/SONG.LRC";
    QTest::newRow("another song's file beside is not taken")
        << song << QStringList{"music/song2.lrc", "lyrics/Song.lrc"} << QString() << false
        << "1000 lyrics/Song.lrc";
    QTest::newRow("lyrics folder beats the tags")
        << song << QStringList{"lyrics/song.lrc"} << lrcText << true << "1000 lyrics/song.lrc";
    QTest::newRow("unreadable file beside: reported, then the folder")
        << song << QStringList{"music/song.lrc=fifo", "lyrics/song.lrc"} << QString() << false
        << "1000 lyrics/song.lrc !";
    QTest::newRow("synchronized tag beats the unsynchronized one")
        << song << QStringList() << lrcText << true << "700 sylt one";
    QTest::newRow("unsynchronized tag holding LRC text")
        << song << QStringList() << lrcText << false << "1000 from the tag";
    QTest::newRow("unsynchronized plain tag")
        << song << QStringList() << "first\nsecond" << false << "plain first";
    QTest::newRow("nothing anywhere") << song << QStringList() << QString() << false << "";
    QTest::newRow("stream: the folder by title")
        << "http://radio.example/live" << QStringList{"lyrics/Radio Song.lrc"} << QString() << false
        << "1000 lyrics/Radio Song.lrc";
}

void TestLyricsFinder::findsInOrder() {
    QFETCH(QString, item);
    QFETCH(QStringList, files);
    QFETCH(QString, uslt);
    QFETCH(bool, sylt);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("music")));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("lyrics")));
    const QString songPath = dir.filePath(QStringLiteral("music/song.mp3"));
    QVERIFY(TestMedia::WriteFile(songPath, TestMedia::SilentMp3(1.0)));
    if (!uslt.isEmpty() || sylt)
        QVERIFY(tagLyrics(songPath, uslt, sylt));
    for (const QString& file : files) {
        const QString name = file.section(QLatin1Char('='), 0, 0);
        const QString path = dir.filePath(name);
        if (file.endsWith(QLatin1String("=fifo")))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(TestMedia::WriteFile(path, "[ti:x]\n[00:01]" + name.toUtf8()));
    }
    const bool local = !item.startsWith(QLatin1String("http"));
    const LyricsFinder::Item what{local ? dir.filePath(QStringLiteral("music/") + item) : item,
                                  QStringLiteral("Radio Song")};
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
