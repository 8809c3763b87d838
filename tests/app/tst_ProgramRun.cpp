// The real program as a user meets it: it starts, hands over to the copy
// already running, and saves its playlists on every way out.
#include "net/TestHttpServer.h"
#include "support/TestMedia.h"
#include "support/TestProgram.h"
#include "winsvc/LegacyText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <unistd.h>

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program directory with its playlists; the program runs from it.
struct Home {
    QTemporaryDir dir;
    QString path() const { return dir.path(); }
    QString playlist(int n) const { return dir.filePath(QStringLiteral("PlayList/%1.MLF").arg(n)); }
    // The hand-off socket of this user's copy; its lock is beside it.
    QString socket() const {
        return dir.filePath(QStringLiteral("runtime/Melodeck.FormDDE.") +
                            QString::number(::getuid()));
    }
    // A short silent WAV in the home; empty when it could not be written.
    QString writeSong() const {
        const QString song = dir.filePath(QStringLiteral("song.wav"));
        return TestMedia::WriteFile(song, TestMedia::SilentWav(0.3)) ? song : QString();
    }
    void writePlaylist(int n, const QByteArray& bytes) const {
        QDir(dir.path()).mkpath(QStringLiteral("PlayList"));
        QVERIFY(TestMedia::WriteFile(playlist(n), bytes));
    }
};

// The lock and a listening socket of a running copy, held by the test
// itself: a copy that takes connections and never answers them.
struct HeldDoor {
    QLockFile lock;
    QLocalServer server;
    bool held;
    explicit HeldDoor(const QString& socket)
        : lock(socket + QStringLiteral(".lock")), held(lock.tryLock(0) && server.listen(socket)) {}
};

// Starts the program and waits until it serves hand-offs, which it does
// once its windows are up and its playlists loaded.
void startFirst(QProcess& program, const Home& home, const QStringList& args = {}) {
    const QString socket = home.socket();
    // A killed copy leaves its socket behind; the new one makes its own.
    QFile::remove(socket);
    program.setProcessEnvironment(TestProgram::Environment(home.path()));
    program.start(TestProgram::Path(), args);
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 20000);
}

void endWith(QProcess& program, int signal) {
    ::kill(pid_t(program.processId()), signal);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

} // namespace

class tst_ProgramRun : public QObject {
    Q_OBJECT
private slots:
    void everyExitSavesTheListsUnchanged_data();
    void everyExitSavesTheListsUnchanged();
    void firstStartMakesTheDefaultList();
    void informationOptionsChangeNothing_data();
    void informationOptionsChangeNothing();
    void itemAfterTheEndOfOptions();
    void argumentsBecomeItems_data();
    void argumentsBecomeItems();
    void secondStartHandsOverAndEnds();
    void itemsARunningCopyNeverTakesWaitForTheNextStart();
    void anotherUsersLockAndSocketGetNothing();
    void signalWhileAVideoPlaysSavesAndEnds();
    void noLoadableSkinEndsWithStatusOne();
    void startsWithoutTheEngineLibrary();
    void startAsksAboutANewerVersion();
};

void tst_ProgramRun::everyExitSavesTheListsUnchanged_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

// Lists loaded and saved again come back byte for byte: GB18030 text, CR LF,
// the order of the files.
void tst_ProgramRun::everyExitSavesTheListsUnchanged() {
    QFETCH(int, signal);
    Home home;
    const QByteArray first = QByteArray("{") + QByteArray::fromHex("CED2B5C4B8E8") + "}\r\n" +
                             QByteArray::fromHex("C7E7CCEC") + "=/music/a.mp3\r\n" +
                             "Radio=http://127.0.0.1:9/live\r\n";
    const QByteArray second = "{Empty}\r\n";
    home.writePlaylist(0, first);
    home.writePlaylist(1, second);
    QProcess program;
    startFirst(program, home);
    endWith(program, signal);
    QCOMPARE(readFile(home.playlist(0)), first);
    QCOMPARE(readFile(home.playlist(1)), second);
    QVERIFY(!QFile::exists(home.playlist(2)));
}

// A new installation: no PlayList folder at all. The program starts with
// the empty default list and the first exit keeps it.
void tst_ProgramRun::informationOptionsChangeNothing_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out"); // how standard output starts
    QTest::addColumn<QString>("err"); // how standard error starts
    const QString usage = QStringLiteral("Usage: melodeck [options] [--] [item...]\n");
    const QString version = QStringLiteral("Melodeck 5.0.007\n");
    const QString unknown = QStringLiteral("melodeck: unknown option ");
    QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QString();
    QTest::newRow("-h with an item") << QStringList{"a.mp3", "-h"} << 0 << usage << QString();
    QTest::newRow("--version") << QStringList{"--version"} << 0 << version << QString();
    QTest::newRow("help wins over an unknown option")
        << QStringList{"--bogus", "--version", "--help"} << 0 << usage << QString();
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << QString() << unknown;
    QTest::newRow("unknown option after an item")
        << QStringList{"a.mp3", "-x"} << 2 << QString() << unknown;
    QTest::newRow("Qt's own option is not unknown, help still answers")
        << QStringList{"-platform", "offscreen", "--version"} << 0 << version << QString();
}

// Options that only inform answer on the terminal, with no display needed,
// and neither start a player nor hand anything over nor write a list.
void tst_ProgramRun::informationOptionsChangeNothing() {
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    Home home;
    QProcessEnvironment environment = TestProgram::Environment(home.path());
    environment.remove(QStringLiteral("DISPLAY"));
    // What only informs must not need a window system at all.
    if (status == 0)
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(TestProgram::Path(), args);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), status);
    const QString stdOut = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString stdErr = QString::fromLocal8Bit(program.readAllStandardError());
    QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
    QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.startsWith(err), qPrintable(stdErr));
    QVERIFY(!QFileInfo::exists(home.dir.filePath(QStringLiteral("PlayList"))));
}

// After "--" an argument starting with "-" is the item.
void tst_ProgramRun::itemAfterTheEndOfOptions() {
    Home home;
    QProcess program;
    startFirst(program, home, {QStringLiteral("--"), QStringLiteral("-x.mp3")});
    endWith(program, SIGTERM);
    QVERIFY2(
        readFile(home.playlist(0)).contains("=" + QDir::currentPath().toUtf8() + "/-x.mp3\r\n"),
        readFile(home.playlist(0)));
}

// What a shell or a file manager passes becomes playable items: each
// argument one item, paths made whole in the folder they were typed in, file
// URIs of this machine their paths. "<m>" stands for the media folder.
void tst_ProgramRun::argumentsBecomeItems_data() {
    QTest::addColumn<bool>("first");     // given to the first copy, else handed over
    QTest::addColumn<QString>("folder"); // where the copy is started, under the home
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("lines"); // "title=path" saved after the default list's header
    QTest::addColumn<int>("status");        // of the copy given the arguments
    QTest::newRow("two files, handed over") << false << "m" << QStringList{"a.wav", "b.wav"}
                                            << QStringList{"a=<m>/a.wav", "b=<m>/b.wav"} << 0;
    QTest::newRow("two files, first copy") << true << "m" << QStringList{"b.wav", "./a.wav"}
                                           << QStringList{"b=<m>/b.wav", "a=<m>/a.wav"} << 0;
    QTest::newRow("relative path from another folder")
        << false << "other" << QStringList{"../m/a.wav"} << QStringList{"a=<m>/a.wav"} << 0;
    QTest::newRow("file URI with escapes and Chinese")
        << false << "other" << QStringList{"file://<m-encoded>/%E6%AD%8C%201.wav"}
        << QStringList{"歌 1=<m>/歌 1.wav"} << 0;
    QTest::newRow("localhost file URI")
        << true << "other" << QStringList{"file://localhost<m>/a.wav"} << QStringList{"a=<m>/a.wav"}
        << 0;
    QTest::newRow("another host's file URI refused")
        << false << "other" << QStringList{"file://elsewhere/x.wav"} << QStringList{} << 1;
    QTest::newRow("path with spaces, unquoted") << false << "m" << QStringList{"my", "song.wav"}
                                                << QStringList{"my song=<m>/my song.wav"} << 0;
    QTest::newRow("stream and link pass as they are")
        << false << "m" << QStringList{"http://127.0.0.1:9/live.mp3"}
        << QStringList{"live=http://127.0.0.1:9/live.mp3"} << 0;
}

void tst_ProgramRun::argumentsBecomeItems() {
    QFETCH(bool, first);
    QFETCH(QString, folder);
    QFETCH(QStringList, args);
    QFETCH(QStringList, lines);
    QFETCH(int, status);
    Home home;
    const QString media = home.dir.filePath(QStringLiteral("m"));
    QVERIFY(QDir().mkpath(media) && QDir().mkpath(home.dir.filePath(QStringLiteral("other"))));
    for (const QString& name : {"a.wav", "b.wav", "my song.wav", "歌 1.wav"})
        QVERIFY(TestMedia::WriteFile(media + u'/' + name, TestMedia::SilentWav(0.2)));
    for (QString& arg : args)
        arg.replace("<m-encoded>", QUrl::toPercentEncoding(media, "/")).replace("<m>", media);
    // A first copy finds a list with an item already in it: the item it
    // was given plays, not the list's first.
    const QByteArray before = first ? QByteArray("{L}\r\nold=http://127.0.0.1:9/old\r\n")
                                    : QByteArray::fromHex("7B5BC4ACC8CF5D7D0D0A");
    if (first)
        home.writePlaylist(0, before);
    QProcess program;
    program.setWorkingDirectory(home.dir.filePath(folder));
    startFirst(program, home, first ? args : QStringList{});
    if (!first) {
        QProcess second;
        second.setProcessEnvironment(TestProgram::Environment(home.path()));
        second.setWorkingDirectory(home.dir.filePath(folder));
        second.start(TestProgram::Path(), args);
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), status);
    }
    QByteArray expected = before;
    for (QString line : lines)
        expected += LegacyText::ToGb18030(line.replace("<m>", media) + "\r\n");
    if (first) {
        // The first of them plays.
        QByteArray said;
        QTRY_VERIFY_WITH_TIMEOUT((said += program.readAllStandardOutput())
                                     .contains(lines.first().section(u'=', 0, 0).toUtf8()),
                                 10000);
    }
    endWith(program, SIGTERM);
    QCOMPARE(readFile(home.playlist(0)), expected);
}

void tst_ProgramRun::firstStartMakesTheDefaultList() {
    Home home;
    QProcess program;
    startFirst(program, home);
    endWith(program, SIGTERM);
    QCOMPARE(readFile(home.playlist(0)), QByteArray::fromHex("7B5BC4ACC8CF5D7D0D0A"));
}

// A second start with a text hands it to the first and ends at once without
// a window; without a text it ends without a word. The first adds what it
// is handed to the current list, without playing it.
void tst_ProgramRun::secondStartHandsOverAndEnds() {
    Home home;
    home.writePlaylist(0, "{L}\r\n");
    const QString song = home.dir.filePath(QStringLiteral("song.wav"));
    QVERIFY(TestMedia::WriteFile(song, TestMedia::SilentWav(0.3)));
    QProcess first;
    startFirst(first, home);

    const QStringList texts{song, QStringLiteral("http://127.0.0.1:9/live.mp3"), QString()};
    for (const QString& text : texts) {
        QProcess second;
        second.setProcessEnvironment(TestProgram::Environment(home.path()));
        QElapsedTimer clock;
        clock.start();
        second.start(TestProgram::Path(), text.isEmpty() ? QStringList() : QStringList{text});
        QVERIFY(second.waitForFinished(5000));
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY(second.readAllStandardOutput().isEmpty());
    }
    // The first copy saves what it was handed soon, without waiting for
    // its end; a kill then loses nothing, and a new start has it all.
    const QByteArray handed =
        QByteArray("{L}\r\nsong=") + song.toUtf8() + "\r\nlive=http://127.0.0.1:9/live.mp3\r\n";
    QTRY_COMPARE_WITH_TIMEOUT(readFile(home.playlist(0)), handed, 5000);
    ::kill(pid_t(first.processId()), SIGKILL);
    QVERIFY(first.waitForFinished(5000));
    QProcess again;
    startFirst(again, home);
    endWith(again, SIGTERM);
    QCOMPARE(readFile(home.playlist(0)), handed);
}

// A running copy that holds the lock but never answers (hung, or flooded):
// the second start tries for a few seconds, says so, and the next first
// start has its items.
void tst_ProgramRun::itemsARunningCopyNeverTakesWaitForTheNextStart() {
    Home home;
    home.writePlaylist(0, "{L}\r\n");
    const QString song = home.writeSong();
    QVERIFY(!song.isEmpty());
    const QProcessEnvironment environment = TestProgram::Environment(home.path());
    const QString socket = home.socket();
    {
        HeldDoor mute(socket);
        QVERIFY(mute.held);
        QProcess second;
        second.setProcessEnvironment(environment);
        second.start(TestProgram::Path(), {song, QStringLiteral("http://127.0.0.1:9/a.mp3")});
        // Connections are taken and never answered.
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 20000);
        QCOMPARE(second.exitCode(), 1);
        QVERIFY(second.readAllStandardError().contains("kept for the next start"));
    }
    QVERIFY(QFile::exists(home.dir.filePath(QStringLiteral("pending-items"))));
    QProcess next;
    startFirst(next, home);
    endWith(next, SIGTERM);
    QCOMPARE(readFile(home.playlist(0)),
             QByteArray("{L}\r\nsong=") + song.toUtf8() + "\r\na=http://127.0.0.1:9/a.mp3\r\n");
    QVERIFY(!QFile::exists(home.dir.filePath(QStringLiteral("pending-items"))));
}

// A lock naming a live process and a serving socket of this user's name, but
// another user's (chowned to nobody): the start does not take them for its
// running copy, hands them nothing and waits for nothing; it runs as the
// first copy with its item, says why it has no hand-offs, and ends normally.
void tst_ProgramRun::anotherUsersLockAndSocketGetNothing() {
    if (::geteuid() != 0)
        QSKIP("giving files to another user needs root");
    Home home;
    home.writePlaylist(0, "{L}\r\n");
    const QString song = home.writeSong();
    QVERIFY(!song.isEmpty());
    const QProcessEnvironment environment = TestProgram::Environment(home.path());
    const QString socket = home.socket();
    HeldDoor other(socket);
    QVERIFY(other.held);
    for (const QString& path : {socket, socket + QStringLiteral(".lock")})
        QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);

    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(TestProgram::Path(), {song});
    QVERIFY(program.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(readFile(home.playlist(0)),
                              QByteArray("{L}\r\nsong=") + song.toUtf8() + "\r\n", 20000);
    QCOMPARE(program.state(), QProcess::Running);
    endWith(program, SIGTERM);
    QVERIFY(program.readAllStandardError().contains("belongs to another user"));
    QVERIFY(!other.server.hasPendingConnections());
    QCOMPARE(QFileInfo(socket).ownerId(), 65534u);
    QCOMPARE(QFileInfo(socket + QStringLiteral(".lock")).ownerId(), 65534u);
}

// The engine's library has signal handlers of its own; once it runs, a
// SIGTERM still ends the program through its normal way out.
void tst_ProgramRun::signalWhileAVideoPlaysSavesAndEnds() {
    Home home;
    const QString clip = home.dir.filePath(QStringLiteral("clip.avi"));
    QVERIFY(TestMedia::WriteFile(clip, TestMedia::MjpegAvi(300)));
    QProcess program;
    startFirst(program, home, {clip});
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += program.readAllStandardOutput()).contains("clip"), 20000);
    // The engine opens the file and sets up its outputs on threads of its
    // own; the program checks its handlers every second.
    QTest::qWait(1500);
    QCOMPARE(program.state(), QProcess::Running);
    endWith(program, SIGTERM);
    QCOMPARE(readFile(home.playlist(0)),
             QByteArray::fromHex("7B5BC4ACC8CF5D7D0D0A") + "clip=" + clip.toUtf8() + "\r\n");
}

void tst_ProgramRun::noLoadableSkinEndsWithStatusOne() {
    Home home;
    QProcess program;
    program.setProcessEnvironment(TestProgram::Environment(home.path()));
    QFile::remove(home.dir.filePath(QStringLiteral("skin")));
    QDir(home.path()).mkpath(QStringLiteral("skin/Broken"));
    program.start(TestProgram::Path(), QStringList());
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), 1);
    QVERIFY(!program.readAllStandardError().isEmpty());
    QVERIFY(!QFile::exists(home.playlist(0)));
}

// Without a loadable engine library the program still starts and keeps its
// lists; the first play fails with a message naming the library, and the
// program runs on.
void tst_ProgramRun::startsWithoutTheEngineLibrary() {
    Home home;
    const QString song = home.dir.filePath(QStringLiteral("song.wav"));
    QVERIFY(TestMedia::WriteFile(song, TestMedia::SilentWav(1)));
    QProcessEnvironment env = TestProgram::Environment(home.path());
    env.insert(QStringLiteral("MELODECK_MPV_LIBRARY"), QStringLiteral("libmpv-missing.so.2"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(TestProgram::Path(), {song});
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT(
        (said += program.readAllStandardError()).contains("libmpv-missing.so.2"), 20000);
    QVERIFY(said.contains("无法加载媒体引擎"));
    QCOMPARE(program.state(), QProcess::Running);
    endWith(program, SIGTERM);
    QCOMPARE(readFile(home.playlist(0)),
             QByteArray::fromHex("7B5BC4ACC8CF5D7D0D0A") + "song=" + song.toUtf8() + "\r\n");
}

// Once its windows are up the program asks the update server; without a
// screen the question goes to the terminal, is answered "no" and the
// program runs on.
void tst_ProgramRun::startAsksAboutANewerVersion() {
    TestHttpServer server(QByteArray("5.1\n"));
    Home home;
    QProcess program;
    QProcessEnvironment env = TestProgram::Environment(home.path());
    env.insert(QStringLiteral("MELODECK_UPDATE_URL"), server.Base());
    program.setProcessEnvironment(env);
    program.start(TestProgram::Path());
    QVERIFY(program.waitForStarted());
    QTRY_COMPARE_WITH_TIMEOUT(server.RequestLines().size(), 1, 20000);
    QCOMPARE(server.RequestLines().first(),
             QByteArray("GET /melodeck/5.0/update/version.txt HTTP/1.1"));
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT(
        (errors += program.readAllStandardError()).contains("发现最新版本，是否确定升级？"), 20000);
    QCOMPARE(program.state(), QProcess::Running);
    endWith(program, SIGTERM);
}

QTEST_GUILESS_MAIN(tst_ProgramRun)
#include "tst_ProgramRun.moc"
