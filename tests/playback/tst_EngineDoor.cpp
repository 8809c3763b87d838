// What reaches the real engine (libmpv, null outputs): item texts that name
// protocols are refused, local files are played as media only, and lists
// fetched from the network never lead to local files nor loop for ever.
#include "PlayerRuns.h"
#include "playback/EngineDoor.h"
#include "playback/ctlPlayer.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int kTimeoutMs = 10000;

// A small web server on 127.0.0.1: a request for a path in `pages` gets that
// page, any other gets `body` as an m3u list. It counts the connections it
// has seen.
class PlaylistServer : public QObject {
public:
    PlaylistServer() {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                ++connections;
                socket->setParent(this);
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            }
        });
    }
    QString url(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(path);
    }
    QByteArray body;
    QMap<QByteArray, QByteArray> pages;
    int connections = 0;

private:
    void answer(QTcpSocket* socket) {
        const QByteArray request = socket->peek(65536);
        if (!request.contains("\r\n\r\n"))
            return;
        socket->readAll();
        const QByteArray path = request.split(' ').value(1).mid(1);
        const QByteArray page = pages.value(path, body);
        socket->write("HTTP/1.0 200 OK\r\nContent-Length: " + QByteArray::number(page.size()) +
                      "\r\nConnection: close\r\n\r\n" + page);
        socket->disconnectFromHost();
    }
    QTcpServer m_server;
};

// `text` with %1, %2… replaced by `values`, whichever of them it uses.
QByteArray fill(QByteArray text, const QStringList& values) {
    for (int i = 0; i < values.size(); ++i)
        text.replace("%" + QByteArray::number(i + 1), values.at(i).toUtf8());
    return text;
}

} // namespace

class TestEngineDoor : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void admitItem_data();
    void admitItem();
    void protocolItemsFailLikeMissingFiles_data();
    void protocolItemsFailLikeMissingFiles();
    void refusalReplacesThePlayingItem();
    void localFilesArePlayedAsMediaOnly_data();
    void localFilesArePlayedAsMediaOnly();
    void streamListsNeverLeadToLocalFiles_data();
    void streamListsNeverLeadToLocalFiles();
    void streamListsPlayWhatTheyList_data();
    void streamListsPlayWhatTheyList();
    void deadMirrorsFailOnce_data();
    void deadMirrorsFailOnce();

private:
    QString write(const QString& name, const QByteArray& data) {
        const QString path = m_dir.filePath(name);
        return TestMedia::WriteFile(path, data) ? path : QString();
    }
    QTemporaryDir m_dir;
};

void TestEngineDoor::admitItem_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("admitted"); // null: refused
    const QString here = QDir::currentPath();
    const QString refused;
    const auto row = [](const char* name, const QString& item, const QString& admitted) {
        QTest::newRow(name) << item << admitted;
    };
    row("absolute path", "/music/a b.mp3", "/music/a b.mp3");
    row("path is normalised", "/music/./x/../a.mp3", "/music/a.mp3");
    row("relative path", "music/a.mp3", here + "/music/a.mp3");
    row("backslashes", "music\\sub\\a.mp3", here + "/music/sub/a.mp3");
    row("drive path", "C:\\Music\\a.mp3", here + "/C:/Music/a.mp3");
    row("dash is a file, not stdin", "-", here + "/-");
    row("protocol text in a relative path", "./av://lavfi:sine", here + "/av:/lavfi:sine");
    row("leading space", " av://lavfi:sine", here + "/ av:/lavfi:sine");
    row("file URL", "file:///music/a%20b.mp3", "/music/a b.mp3");
    row("file URL for localhost", "file://localhost/music/a.mp3", "/music/a.mp3");
    row("file URL of another host", "file://server/share/a.mp3", refused);
    row("file URL hiding NUL", "file:///music/a%00.mp3", refused);
    row("file URL hiding a line break", "file:///music/a%0a.mp3", refused);
    for (const char* url :
         {"http://127.0.0.1:8000/a.mp3", "HTTPS://Example.com/radio?x=1", "mms://host/live",
          "mmsh://host/live", "rtsp://host:554/s", "RTMP://host/app/s"})
        row(url, url, url);
    for (const char* url : {"av://lavfi:sine=d=1",
                            "lavfi://sine",
                            "edl:///music/a.mp3",
                            "memory://ID3",
                            "fd://0",
                            "fdclose://3",
                            "appending:///music/a.mp3",
                            "slice://0-10@/music/a.mp3",
                            "null://",
                            "mf://*.jpg",
                            "cdda://",
                            "dvd://",
                            "bd://",
                            "ftp://host/a.mp3",
                            "smb://host/a.mp3",
                            "udp://127.0.0.1:9",
                            "tcp://127.0.0.1:9",
                            "ytdl://x",
                            "data:audio/mp3;base64,AAAA",
                            "melodeck://singer=a&song=b",
                            "ppstream://x",
                            "http:/no-host",
                            "http://",
                            "https:example.com"})
        row(url, url, refused);
    row("empty", "", refused);
    row("NUL", QStringLiteral("/music/a.mp3") + QChar(0) + "x", refused);
    row("line break", "/music/a\nb.mp3", refused);
    row("escape", "/music/\x1b[2Ja.mp3", refused);
    row("DEL", "/music/a\x7f.mp3", refused);
    row("lone surrogate", QStringLiteral("/music/") + QChar(0xD800) + "a.mp3", refused);
    const QString longest = '/' + QString(EngineDoor::kMaxItemLength - 1, 'a');
    row("longest", longest, longest);
    row("too long", longest + 'a', refused);
    row("too long URL", "http://host/" + QString(EngineDoor::kMaxItemLength, 'a'), refused);
}

void TestEngineDoor::admitItem() {
    QFETCH(QString, item);
    QFETCH(QString, admitted);
    const std::optional<QString> result = EngineDoor::AdmitItem(item);
    QCOMPARE(result.has_value(), !admitted.isNull());
    if (result) {
        QCOMPARE(*result, admitted);
        QCOMPARE(EngineDoor::IsLocalFile(*result), admitted.startsWith('/'));
    }
}

void TestEngineDoor::protocolItemsFailLikeMissingFiles_data() {
    QTest::addColumn<QString>("item");
    // Each of these would play (and the first would write a file) if it
    // reached libmpv.
    QTest::newRow("lavfi writing a file")
        << "av://lavfi:sine=d=1,ametadata=mode=print:file=" + m_dir.filePath("written");
    QTest::newRow("lavfi source") << QStringLiteral("av://lavfi:sine=d=5");
    QTest::newRow("EDL of a local file") << QStringLiteral("edl://%1").arg(m_dir.filePath("x.wav"));
    QTest::newRow("missing file, for comparison") << m_dir.filePath("missing.mp3");
}

void TestEngineDoor::protocolItemsFailLikeMissingFiles() {
    QFETCH(QString, item);
    QFile::remove(m_dir.filePath("written"));
    QVERIFY(!write("x.wav", TestMedia::SilentWav(5)).isEmpty());
    ctlPlayer player;
    const FailedRun run = PlayUntilFailed(player, item, kTimeoutMs);
    QVERIFY(run.ended);
    QCOMPARE(run.states, (QList<int>{9, 1}));
    QCOMPARE(run.errors, QStringList{item});
    QCOMPARE(player.FileName(), item);
    QCOMPARE(player.status(), QStringLiteral("无法播放该媒体"));
    QVERIFY(!QFile::exists(m_dir.filePath("written")));
}

void TestEngineDoor::refusalReplacesThePlayingItem() {
    ctlPlayer player;
    player.setFileName(write("playing.wav", TestMedia::SilentWav(5)));
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 3, kTimeoutMs);
    StateLog log(player);
    QSignalSpy errors(&player, &ctlPlayer::MediaError);
    player.setFileName(QStringLiteral("av://lavfi:sine=d=5"));
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kTimeoutMs);
    QTest::qWait(300); // the end of the item stopped comes in meanwhile
    QCOMPARE(log.states, (QList<int>{9, 1}));
    QCOMPARE(player.Controls().currentPosition(), 0.0);
    QCOMPARE(player.status(), QStringLiteral("无法播放该媒体"));
}

void TestEngineDoor::localFilesArePlayedAsMediaOnly_data() {
    // %1: an address nothing may connect to; %2: a local file that would
    // play; %3: the list file itself.
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("m3u to the network") << QByteArray("#EXTM3U\n%1\n");
    QTest::newRow("m3u to a local file") << QByteArray("#EXTM3U\n%2\n");
    QTest::newRow("m3u listing itself") << QByteArray("#EXTM3U\n%3\n");
    QTest::newRow("PLS to the network") << QByteArray("[playlist]\nFile1=%1\nNumberOfEntries=1\n");
    QTest::newRow("EDL to the network") << QByteArray("# mpv EDL v0\n%1\n");
    QTest::newRow("EDL of a local file") << QByteArray("# mpv EDL v0\n%2\n");
    QTest::newRow("HLS to the network")
        << QByteArray("#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\n%1\n#EXT-X-ENDLIST\n");
}

void TestEngineDoor::localFilesArePlayedAsMediaOnly() {
    QFETCH(QByteArray, content);
    PlaylistServer listener;
    const QString wav = write("listed.wav", TestMedia::SilentWav(5));
    const QString song = m_dir.filePath("song.mp3");
    QVERIFY(TestMedia::WriteFile(song, fill(content, {listener.url("a.mp3"), wav, song})));

    ctlPlayer player;
    const FailedRun run = PlayUntilFailed(player, song, kTimeoutMs);
    QVERIFY(run.ended);
    QCOMPARE(run.errors, QStringList{song});
    QTest::qWait(100); // a connection the engine started would be seen by now
    QCOMPARE(listener.connections, 0);
    QVERIFY(!run.states.contains(3));
}

void TestEngineDoor::streamListsNeverLeadToLocalFiles_data() {
    // %1: a local file that would play; %2: the list's own address.
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("minConnections");
    QTest::newRow("local path") << QByteArray("#EXTM3U\n%1\n") << 1;
    QTest::newRow("file URL") << QByteArray("#EXTM3U\nfile://%1\n") << 1;
    QTest::newRow("protocol") << QByteArray("#EXTM3U\nedl://%1\n") << 1;
    QTest::newRow("HLS segment")
        << QByteArray("#EXTM3U\n#EXT-X-TARGETDURATION:10\n#EXTINF:10,\nfile://%1\n#EXT-X-ENDLIST\n")
        << 1;
    QTest::newRow("EDL") << QByteArray("# mpv EDL v0\n%1\n") << 1;
    QTest::newRow("cue sheet") << QByteArray("FILE \"%1\" WAVE\n  TRACK 01 AUDIO\n"
                                             "    INDEX 01 00:00:00\n")
                               << 1;
    QTest::newRow("listing itself") << QByteArray("#EXTM3U\n%2\n") << 2;
}

void TestEngineDoor::streamListsNeverLeadToLocalFiles() {
    QFETCH(QByteArray, body);
    QFETCH(int, minConnections);
    PlaylistServer server;
    const QString wav = write("local.wav", TestMedia::SilentWav(5));
    server.body = fill(body, {wav, server.url("radio.m3u")});

    ctlPlayer player;
    const FailedRun run = PlayUntilFailed(player, server.url("radio.m3u"), kTimeoutMs);
    QVERIFY(run.ended);
    QVERIFY(server.connections >= minConnections);
    QVERIFY(!run.states.contains(3)); // the local file never played
    QCOMPARE(run.errors.value(0), server.url("radio.m3u"));
}

void TestEngineDoor::streamListsPlayWhatTheyList_data() {
    // %1: the address of a short sound; %2: the address of an m3u list of it.
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("m3u") << QByteArray("#EXTM3U\n%1\n");
    QTest::newRow("PLS") << QByteArray("[playlist]\nFile1=%1\nNumberOfEntries=1\n");
    QTest::newRow("PLS of an m3u") << QByteArray("[playlist]\nFile1=%2\nNumberOfEntries=1\n");
}

void TestEngineDoor::streamListsPlayWhatTheyList() {
    QFETCH(QByteArray, body);
    PlaylistServer server;
    server.pages.insert("sound.wav", TestMedia::SilentWav(0.5));
    server.pages.insert("inner.m3u", fill("#EXTM3U\n%1\n", {server.url("sound.wav")}));
    server.body = fill(body, {server.url("sound.wav"), server.url("inner.m3u")});

    ctlPlayer player;
    StateLog log(player);
    QSignalSpy ended(&player, &ctlPlayer::EndOfStream);
    player.setFileName(server.url("radio"));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, kTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(player.playState(), 1, kTimeoutMs);
    // The lists lead on without a stop in between.
    QCOMPARE(log.states, (QList<int>{9, 3, 8, 1}));
}

// A radio list whose mirrors are all down (the common way a station is
// gone) fails once, after every mirror was tried, and the list is fetched
// once; a live mirror after dead ones plays.
void TestEngineDoor::deadMirrorsFailOnce_data() {
    // %1: a dead address; %2: a live short sound.
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("plays");
    QTest::newRow("two dead, m3u") << QByteArray("#EXTM3U\n%1/a.mp3\n%1/b.mp3\n") << false;
    QTest::newRow("three dead, PLS")
        << QByteArray("[playlist]\nFile1=%1/a\nFile2=%1/b\nFile3=%1/c\nNumberOfEntries=3\n")
        << false;
    QTest::newRow("dead, then live") << QByteArray("#EXTM3U\n%1/a.mp3\n%2\n") << true;
}

void TestEngineDoor::deadMirrorsFailOnce() {
    QFETCH(QByteArray, body);
    QFETCH(bool, plays);
    PlaylistServer server;
    server.pages.insert("sound.wav", TestMedia::SilentWav(0.3));
    server.body = fill(body, {QStringLiteral("http://127.0.0.1:1"), server.url("sound.wav")});

    ctlPlayer player;
    QSignalSpy errors(&player, &ctlPlayer::MediaError);
    QSignalSpy ended(&player, &ctlPlayer::EndOfStream);
    player.setFileName(server.url("radio.m3u"));
    QTRY_VERIFY_WITH_TIMEOUT(errors.count() + ended.count() > 0 && player.playState() == 1,
                             kTimeoutMs);
    QTest::qWait(300); // a reload or a second report would be seen by now
    QCOMPARE(errors.count(), plays ? 0 : 1);
    QCOMPARE(ended.count(), plays ? 1 : 0);
    QCOMPARE(server.connections, plays ? 2 : 1);
    QCOMPARE(player.playState(), 1);
}

QTEST_MAIN(TestEngineDoor)
#include "tst_EngineDoor.moc"
