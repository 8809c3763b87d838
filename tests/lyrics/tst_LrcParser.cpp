// Lyrics files as users have them: the encodings of Chinese music, every
// stamp form, offsets, ID tags, repeated stamps and files that are not
// lyrics at all, read from real files; and which line is sung when.
#include "lyrics/LrcParser.h"
#include "lyrics/LyricsFile.h"
#include "support/TestMedia.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

// "time=text" per line, joined by "|"; plain lyrics start with "plain:".
QString describe(const Lyrics& lyrics) {
    QStringList lines;
    for (const LyricLine& line : lyrics.Lines)
        lines.append(lyrics.Timed ? QStringLiteral("%1=%2").arg(line.TimeMs).arg(line.Text)
                                  : line.Text);
    return (lyrics.Timed ? QString() : QStringLiteral("plain:")) + lines.join(QLatin1Char('|'));
}

QByteArray utf16(const QString& text, bool littleEndian) {
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (QChar c : text) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        bytes.append(littleEndian ? lo : hi).append(littleEndian ? hi : lo);
    }
    return bytes;
}

} // namespace

class TestLrcParser : public QObject {
    Q_OBJECT
private slots:
    void readsFiles_data();
    void readsFiles();
    void refusesWhatIsNoLyricsFile_data();
    void refusesWhatIsNoLyricsFile();
    void lineAt_data();
    void lineAt();
    void wordsSung_data();
    void wordsSung();

private:
    QTemporaryDir m_dir;
};

void TestLrcParser::readsFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const QByteArray gbk("\xC4\xE3\xBA\xC3\xCA\xC0\xBD\xE7");  // 你好世界
    const QByteArray big5("\xA7\x41\xA6\x6E\xA5\x40\xAC\xC9"); // 你好世界
    // Valid in both: Big5's trail byte 0x71 is a rare GBK extension character.
    const QByteArray big5AndGbk("\xBA\x71\xB5\xFC"); // 歌詞 in Big5
    // Valid in both, every byte 0xA1 and above: GB2312's block.
    const QByteArray gbkAndBig5("\xB8\xE8\xB4\xCA"); // 歌词 in GBK

    QTest::newRow("stamp forms") << QByteArray("[00:01]a\n[00:02.5]b\n[00:03.25]c\n"
                                               "[00:04.125]d\n[00:05:50]e\n[123:04.00]f")
                                 << "1000=a|2500=b|3250=c|4125=d|5500=e|7384000=f";
    QTest::newRow("sorted, stable for equal times")
        << QByteArray("[00:03]third\n[00:01]first\n[00:02]x\n[00:02]y\n[00:01.0]z")
        << "1000=first|1000=z|2000=x|2000=y|3000=third";
    QTest::newRow("several stamps before one text")
        << QByteArray("[00:10][00:01] [00:05]chorus\n[00:03]verse")
        << "1000=chorus|3000=verse|5000=chorus|10000=chorus";
    QTest::newRow("ID tags are never lines")
        << QByteArray("[ar:Singer]\n[ti:Song]\n[al:Album]\n[by:me]\n[length: 03:20]\n"
                      "[re:tool]\n[ve:1.0]\n[00:01]sung")
        << "1000=sung";
    QTest::newRow("positive offset shows lines earlier")
        << QByteArray("[offset:+500]\n[00:01]a\n[00:02]b") << "500=a|1500=b";
    QTest::newRow("negative offset with spaces, after the lines")
        << QByteArray("[00:01]a\n[00:00.2]b\n[offset: - 300 ]") << "500=b|1300=a";
    QTest::newRow("offset before zero stays at zero")
        << QByteArray("[offset:2000]\n[00:01]a\n[00:03]b") << "0=a|1000=b";
    QTest::newRow("empty timed lines are pauses")
        << QByteArray("[00:01]a\n[00:02]\n[00:03]   \n[00:04]b") << "1000=a|2000=|3000=|4000=b";
    QTest::newRow("word stamps are not text")
        << QByteArray("[00:01.00]<00:01.00>Hel<00:01.20>lo <00:01.50>world<00:02.00>\n"
                      "[00:03]a <b> c")
        << "1000=Hello world|3000=a <b> c";
    QTest::newRow("untimed lines ignored in a timed file")
        << QByteArray("just text\n[00:01]a\nmore text\n[xx:yy]b\n[00:02]c") << "1000=a|2000=c";
    QTest::newRow("no stamps: plain text without tags")
        << QByteArray("\n[ti:Song]\nfirst line\n\nsecond line\n\n")
        << "plain:first line||second line";
    QTest::newRow("not stamps: seconds 60, three-digit seconds, seven-digit minutes")
        << QByteArray("[00:60]a\n[00:001]b\n[1234567:00]c\n[0:5]d") << "5000=d";
    QTest::newRow("CR, CR LF and LF lines")
        << QByteArray("[00:01]a\r\n[00:02]b\r[00:03]c\n") << "1000=a|2000=b|3000=c";
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF[00:01]歌词") << "1000=歌词";
    QTest::newRow("UTF-8 without BOM") << QByteArray("[00:01]歌词") << "1000=歌词";
    QTest::newRow("UTF-16 LE with BOM")
        << utf16(QStringLiteral("[00:01]歌词\n[00:02]b"), true) << "1000=歌词|2000=b";
    QTest::newRow("UTF-16 BE with BOM")
        << utf16(QStringLiteral("[00:01]歌词"), false) << "1000=歌词";
    QTest::newRow("GBK") << "[ti:" + gbk + "]\n[00:01]" + gbk << "1000=你好世界";
    QTest::newRow("GB18030 four-byte character")
        << QByteArray("[00:01]\x81\x30\x81\x30") << QStringLiteral("1000=\u0080");
    QTest::newRow("Big5") << "[00:01]" + big5 << "1000=你好世界";
    QTest::newRow("Big5 that is also valid GBK") << "[00:01]" + big5AndGbk << "1000=歌詞";
    QTest::newRow("GBK that is also valid Big5") << "[00:01]" + gbkAndBig5 << "1000=歌词";
    QTest::newRow("valid in no encoding: the rest survives")
        << QByteArray("[00:01]a\xFF\n[00:02]b") << "1000=a\uFFFD|2000=b";
    QTest::newRow("empty file") << QByteArray() << "plain:";
    QTest::newRow("a binary file is not timed") << TestMedia::SilentWav(0.1).left(400) << "plain:";
}

void TestLrcParser::readsFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    const QString path = m_dir.filePath(QStringLiteral("song.lrc"));
    QVERIFY(TestMedia::WriteFile(path, bytes));
    QString error;
    const std::optional<Lyrics> lyrics = LyricsFile::Read(path, error);
    QVERIFY2(lyrics, qPrintable(error));
    if (QTest::currentDataTag() == QLatin1String("a binary file is not timed"))
        QVERIFY(!lyrics->Timed);
    else
        QCOMPARE(describe(*lyrics), expected);
}

void TestLrcParser::refusesWhatIsNoLyricsFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("over the size cap") << "huge.lrc"
                                       << "larger than 1048576";
    QTest::newRow("FIFO") << "pipe.lrc"
                          << "not a regular file";
    QTest::newRow("device") << "zero.lrc"
                            << "not a regular file";
    QTest::newRow("missing") << "none.lrc"
                             << "cannot open";
}

void TestLrcParser::refusesWhatIsNoLyricsFile() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    const QString path = m_dir.filePath(name);
    if (name == QLatin1String("huge.lrc")) {
        QVERIFY(TestMedia::WriteFile(path, QByteArray("[00:01]a\n").repeated(120000)));
    } else if (name == QLatin1String("pipe.lrc")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (name == QLatin1String("zero.lrc")) {
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    }
    QString error;
    QVERIFY(!LyricsFile::Read(path, error));
    QVERIFY2(error.contains(reason) && error.contains(name), qPrintable(error));
}

void TestLrcParser::lineAt_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("timeMs");
    QTest::addColumn<int>("line");
    const QString song = QStringLiteral("[00:01]a\n[00:02]b\n[00:02]c\n[00:04]\n[00:05]d");
    QTest::newRow("before the first line") << song << qint64(999) << -1;
    QTest::newRow("exactly at the first") << song << qint64(1000) << 0;
    QTest::newRow("between lines") << song << qint64(1999) << 0;
    QTest::newRow("equal times: the last of them") << song << qint64(2000) << 2;
    QTest::newRow("in a pause") << song << qint64(4500) << 3;
    QTest::newRow("after the last") << song << qint64(3600000) << 4;
    QTest::newRow("plain lyrics have no current line")
        << QStringLiteral("a\nb") << qint64(5000) << -1;
    QTest::newRow("no lines") << QString() << qint64(0) << -1;
}

void TestLrcParser::lineAt() {
    QFETCH(QString, text);
    QFETCH(qint64, timeMs);
    QFETCH(int, line);
    QCOMPARE(LrcParser::Parse(text).LineAt(timeMs), line);
}

// Enhanced LRC: which part of the current line is sung at a time, and when
// the next word starts ("-1" for none), through the parser's word times.
void TestLrcParser::wordsSung_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("timeMs");
    QTest::addColumn<QString>("expected"); // "sung text/next word ms"
    const QString song = QStringLiteral(
        "[00:01.00]<00:01.00>Hel<00:01.20>lo <00:01.50>world<00:02.00>\n[00:03]plain line");
    QTest::newRow("first syllable") << song << qint64(1000) << "Hel/1200";
    QTest::newRow("just before the second") << song << qint64(1199) << "Hel/1200";
    QTest::newRow("a word counts from its start") << song << qint64(1200) << "Hello /1500";
    QTest::newRow("the end stamp is no word") << song << qint64(1600) << "Hello world/-1";
    QTest::newRow("a line without word times is sung whole")
        << song << qint64(3000) << "plain line/-1";
    QTest::newRow("text before the first stamp, spaces trimmed")
        << QStringLiteral("[00:05]  la <00:06>la ") << qint64(5000) << "la /6000";
    QTest::newRow("lead-in: nothing sung before the first word")
        << QStringLiteral("[00:05]<00:05.50>la la") << qint64(5200) << "/5500";
    QTest::newRow("a repeated line sings its words as far after its stamp")
        << QStringLiteral("[00:10][00:50]<00:10.00>a <00:11.00>b") << qint64(50500) << "a /51000";
    QTest::newRow("the first of the repeats keeps the written times")
        << QStringLiteral("[00:10][00:50]<00:10.00>a <00:11.00>b") << qint64(10500) << "a /11000";
    QTest::newRow("the offset moves words too")
        << QStringLiteral("[offset:500]\n[00:02]<00:02>x<00:03>y") << qint64(2000) << "x/2500";
    QTest::newRow("a stamp earlier than the one before counts from it")
        << QStringLiteral("[00:01]<00:01.50>a<00:01.20>b<00:02>c") << qint64(1500) << "ab/2000";
    QTest::newRow("two stamps together: the later one")
        << QStringLiteral("[00:01]<00:01><00:02>ab") << qint64(1500) << "/2000";
    QTest::newRow("stamps in the leading space: the last starts the text")
        << QStringLiteral("[00:01] <00:01> <00:02>x <00:03>y") << qint64(1500) << "/2000";
    QTest::newRow("a pause of stamps alone")
        << QStringLiteral("[00:01]<00:01.00> <00:02.00>") << qint64(1500) << "/-1";
    QTest::newRow("a broken word stamp is text")
        << QStringLiteral("[00:01]a<00:61>b <00:02>c") << qint64(1000) << "a<00:61>b /2000";
    // Hostile sizes: a search for each '<' to the end would take hours.
    const QString opens(400000, QLatin1Char('<'));
    QTest::newRow("a line of many '<'")
        << "[00:01]" + opens + "<00:02>x" << qint64(1000) << opens + "/2000";
    const QString aWords = QStringLiteral("<00:02>a").repeated(300);
    QTest::newRow("word times past the cap: the line is sung whole")
        << QStringLiteral("[00:01]").repeated(1000) + aWords << qint64(1000)
        << QString(300, QLatin1Char('a')) + "/-1";
    QTest::newRow("word times within the cap")
        << QStringLiteral("[00:01]").repeated(600) + aWords << qint64(1000) << "/2000";
}

void TestLrcParser::wordsSung() {
    QFETCH(QString, text);
    QFETCH(qint64, timeMs);
    QFETCH(QString, expected);
    const Lyrics lyrics = LrcParser::Parse(text);
    const int index = lyrics.LineAt(timeMs);
    QVERIFY(index >= 0);
    const LyricLine& line = lyrics.Lines[index];
    QCOMPARE(line.Text.left(line.SungLength(timeMs)) + QLatin1Char('/') +
                 QString::number(line.NextWordMs(timeMs)),
             expected);
}

QTEST_GUILESS_MAIN(TestLrcParser)
#include "tst_LrcParser.moc"
