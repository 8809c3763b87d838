#include "playback/FormatDuration.h"
#include "playback/modFile.h"

#include <QTest>

using namespace modFile;

class TestModFile : public QObject {
    Q_OBJECT
private slots:
    void classification_data();
    void classification();
    void openFilter();
    void extractBetween_data();
    void extractBetween();
    void extractBetweenLongText();
    void formatDuration_data();
    void formatDuration();
};

void TestModFile::classification_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("pathKind");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<int>("mediaKind");

    QTest::newRow("windows path") << "C:\\Music\\a.MP3" << 0 << "a.MP3"
                                  << "a"
                                  << "mp3" << 0;
    QTest::newRow("linux path") << "/home/u/a.mp3" << 0 << "a.mp3"
                                << "a"
                                << "mp3" << 0;
    QTest::newRow("mixed separators") << "C:\\Music/sub\\b.wma" << 0 << "b.wma"
                                      << "b"
                                      << "wma" << 0;
    QTest::newRow("stream, prefix case ignored") << "HTTP://server/x.wmv" << 1 << "x.wmv"
                                                 << "x"
                                                 << "wmv" << 1;
    QTest::newRow("mms") << "mms://host/live" << 1 << "live"
                         << "live"
                         << "mms://host/live" << 2;
    QTest::newRow("rtsp") << "rtsp://h/a.rm" << 1 << "a.rm"
                          << "a"
                          << "rm" << 1;
    QTest::newRow("own link, any case") << "MeloDeck://singer=a" << 2 << ""
                                        << ""
                                        << "" << 0;
    QTest::newRow("ppstream link") << "ppstream://abc.rmvb" << 3 << ""
                                   << ""
                                   << "" << 0;
    // https is not a stream scheme: it counts as local and holds no "\".
    QTest::newRow("https is local") << "https://h/s.mp3" << 0 << "s.mp3"
                                    << "s"
                                    << "mp3" << 0;
    QTest::newRow("no dot") << "C:\\Music\\song" << 0 << "song"
                            << "song"
                            << "c:\\music\\song" << 2;
    QTest::newRow("dot in directory") << "C:\\a.b\\song" << 0 << "song"
                                      << "song"
                                      << "b\\song" << 2;
    QTest::newRow("mp4 is other") << "C:\\a\\b.mp4" << 0 << "b.mp4"
                                  << "b"
                                  << "mp4" << 2;
    QTest::newRow("rm is video") << "C:\\a\\b.rm" << 0 << "b.rm"
                                 << "b"
                                 << "rm" << 1;
    QTest::newRow("mpeg is video") << "C:\\a\\b.mpeg" << 0 << "b.mpeg"
                                   << "b"
                                   << "mpeg" << 1;
    QTest::newRow("flash is video") << "/m/x.SWF" << 0 << "x.SWF"
                                    << "x"
                                    << "swf" << 1;
    QTest::newRow("substring rule: mp") << "/m/x.mp" << 0 << "x.mp"
                                        << "x"
                                        << "mp" << 0;
    QTest::newRow("substring rule: a") << "/m/x.a" << 0 << "x.a"
                                       << "x"
                                       << "a" << 0;
    QTest::newRow("trailing dot") << "/m/x." << 0 << "x."
                                  << "x"
                                  << "" << 0;
    QTest::newRow("two dots") << "/m/x.y.avi" << 0 << "x.y.avi"
                              << "x.y"
                              << "avi" << 1;
    QTest::newRow("empty") << "" << 0 << ""
                           << ""
                           << "" << 0;
    QTest::newRow("drive root") << "D:\\" << 0 << ""
                                << ""
                                << "d:\\" << 2;
    QTest::newRow("relative") << "song.wav" << 0 << "song.wav"
                              << "song"
                              << "wav" << 0;
}

void TestModFile::classification() {
    QFETCH(QString, text);
    QFETCH(int, pathKind);
    QFETCH(QString, fileName);
    QFETCH(QString, title);
    QFETCH(QString, extension);
    QFETCH(int, mediaKind);
    QCOMPARE(int(GetPathKind(text)), pathKind);
    QCOMPARE(GetFileName(text), fileName);
    QCOMPARE(GetFileTitle(text), title);
    QCOMPARE(GetExtension(text), extension);
    QCOMPARE(int(GetMediaKind(text)), mediaKind);
}

void TestModFile::openFilter() {
    const QStringList fields = GetOpenFilter().split(QChar(u'\0'));
    const QStringList expected = {
        QStringLiteral("全部支持类型"),
        QStringLiteral("*.wma;*.wav;*.mp3;*.avi;*.asf;*.wmv;*.rmvb;*.rm;*.mpg;*.mpeg;*.dat;*.swf;"),
        QStringLiteral("音频文件"),
        QStringLiteral("*.wma;*.wav;*.mp3;"),
        QStringLiteral("视频文件"),
        QStringLiteral("*.avi;*.asf;*.wmv;*.rmvb;*.rm;*.mpg;*.mpeg;*.dat;"),
        QStringLiteral("Flash文件"),
        QStringLiteral("*.swf;"),
    };
    QCOMPARE(fields, expected);
}

void TestModFile::extractBetween_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("occurrence");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replace");
    QTest::addColumn<QString>("result");

    const QString link = QStringLiteral("melodeck://singer=A&song=B&type=0");
    QTest::newRow("middle field") << link << "song="
                                  << "&" << 1 << ""
                                  << ""
                                  << "B";
    QTest::newRow("last field, no end marker after") << link << "type="
                                                     << "&" << 1 << ""
                                                     << ""
                                                     << "0";
    QTest::newRow("absent start marker") << link << "url="
                                         << "&" << 1 << ""
                                         << ""
                                         << "";
    QTest::newRow("empty start is text start") << link << ""
                                               << "://" << 1 << ""
                                               << ""
                                               << "melodeck";
    QTest::newRow("empty end is rest of text") << link << "&song="
                                               << "" << 1 << ""
                                               << ""
                                               << "B&type=0";
    QTest::newRow("second occurrence") << "<a>1</a><a>2</a>"
                                       << "<a>"
                                       << "</a>" << 2 << ""
                                       << ""
                                       << "2";
    QTest::newRow("start marker is case sensitive") << link << "SONG="
                                                    << "&" << 1 << ""
                                                    << ""
                                                    << "";
    QTest::newRow("replacement") << "x=a+b+c;"
                                 << "x="
                                 << ";" << 1 << "+"
                                 << " "
                                 << "a b c";
    QTest::newRow("empty replacement never deletes") << "x=a+b+c;"
                                                     << "x="
                                                     << ";" << 1 << "+"
                                                     << ""
                                                     << "a+b+c";
    QTest::newRow("end marker right after start") << "ab&&c"
                                                  << "&"
                                                  << "&" << 1 << ""
                                                  << ""
                                                  << "";
    // A missed search restarts at position 0, so asking for more
    // occurrences than exist cuts from the marker's length into the text.
    QTest::newRow("occurrence beyond count") << "k=1;k=2;"
                                             << "k="
                                             << ";" << 3 << ""
                                             << ""
                                             << "=1";
}

void TestModFile::extractBetween() {
    QFETCH(QString, text);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, occurrence);
    QFETCH(QString, find);
    QFETCH(QString, replace);
    QFETCH(QString, result);
    QCOMPARE(ExtractBetween(text, start, end, occurrence, find, replace), result);
}

void TestModFile::extractBetweenLongText() {
    // Far beyond 32767 characters, without an end marker.
    const QString body(100000, QLatin1Char('x'));
    const QString text = QStringLiteral("url=") + body;
    QCOMPARE(ExtractBetween(text, QStringLiteral("url="), QStringLiteral("&")), body);
    const QString marked = body + QStringLiteral("<b>") + QStringLiteral("tail");
    QCOMPARE(ExtractBetween(marked, QStringLiteral("<b>"), QString()), QStringLiteral("tail"));
}

void TestModFile::formatDuration_data() {
    QTest::addColumn<double>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "00:00";
    QTest::newRow("minutes and seconds") << 185.0 << "03:05";
    QTest::newRow("more than 99 minutes") << 6007.0 << "100:07";
    QTest::newRow("half rounds to even, down") << 2.5 << "00:02";
    QTest::newRow("half rounds to even, up") << 3.5 << "00:04";
    QTest::newRow("rounding carries into minutes") << 59.6 << "01:00";
    QTest::newRow("beyond 16 bits") << 40000.0 << "666:40";
    QTest::newRow("negative") << -3.0 << "00:00";
}

void TestModFile::formatDuration() {
    QFETCH(double, seconds);
    QFETCH(QString, text);
    QCOMPARE(FormatDuration(seconds), text);
}

QTEST_APPLESS_MAIN(TestModFile)
#include "tst_modFile.moc"
