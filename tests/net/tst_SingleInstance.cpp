#include "net/HandOffFrame.h"
#include "net/HandOffServer.h"
#include "net/SingleInstance.h"

#include <QElapsedTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The test program doubles as the other instance: run with "--first <folder>"
// it starts an instance and stays (printing "role first" or "role second" and
// every command line it receives, base64-encoded); with "--second <folder>
// <base64 command line>" it hands the command line over and prints whether it
// was acknowledged and how long that took; "--command" sends a raw text.
namespace {

void Say(const QByteArray& line) {
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout);
}

// Another user's process that makes the lock and socket this user's copy
// would make (their names hold the user id "--impostor" is given), the way
// the program itself does, and serves hand-offs there.
int ImpostorMain(const QString& folder, const QString& uid) {
    const QString name = QDir(folder).filePath(QStringLiteral("Melodeck.FormDDE.") + uid);
    QLockFile lock(name + QStringLiteral(".lock"));
    HandOffServer server;
    if (!lock.tryLock(0) || !server.Listen(name))
        return 5;
    QObject::connect(&server, &HandOffServer::CommandLineReceived,
                     [](const QString& text) { Say("received " + text.toUtf8().toBase64()); });
    Say("listening yes");
    QTimer::singleShot(30000, qApp, &QCoreApplication::quit);
    return qApp->exec();
}

int ChildMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QByteArray mode = argv[1];
    if (mode == "--impostor" && argc >= 4)
        return ImpostorMain(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    SingleInstance instance(QString::fromLocal8Bit(argv[2]));
    const SingleInstance::Role role = instance.Start();
    Say(role == SingleInstance::Role::First ? "role first" : "role second");
    if (mode == "--first") {
        if (role != SingleInstance::Role::First)
            return 0;
        Say(instance.Listening() ? "listening yes" : "listening no");
        QObject::connect(&instance, &SingleInstance::CommandLineReceived,
                         [](const QString& text) { Say("received " + text.toUtf8().toBase64()); });
        QTimer::singleShot(30000, &app, &QCoreApplication::quit); // never outlive the test
        return app.exec();
    }
    if (role != SingleInstance::Role::Second || argc < 4)
        return 4;
    const QString text = QString::fromUtf8(QByteArray::fromBase64(argv[3]));
    QElapsedTimer clock;
    clock.start();
    const bool acknowledged =
        mode == "--second" ? instance.SendCommandLine(text) : instance.SendCommand(text);
    Say("elapsed " + QByteArray::number(clock.elapsed()));
    return acknowledged ? 0 : 3;
}

} // namespace

class tst_SingleInstance : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstInstanceListensForItsUserOnly();
    void handOff_data();
    void handOff();
    void unansweringFirstInstance();
    void simultaneousFirstStarts();
    void oversizedFrameRefused();
    void idleClientDoesNotBlock();
    void floodOfIdleConnectionsLetsASecondStartIn();
    void staleLockAfterKill();
    void runtimeFolderIsPrivate_data();
    void runtimeFolderIsPrivate();
    void anotherUsersLockAndSocketAreRefused_data();
    void anotherUsersLockAndSocketAreRefused();

private:
    QProcess* Child(const QStringList& arguments);
    // Waits for the child's next output line starting with `prefix`.
    QByteArray Line(QProcess* child, const QByteArray& prefix, int timeoutMs = 10000);
    int Hand(const QString& mode, const QString& text, QByteArray* elapsed = nullptr);

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QProcess*> m_children;
};

void tst_SingleInstance::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_SingleInstance::cleanup() {
    for (QProcess* child : std::as_const(m_children)) {
        child->kill();
        child->waitForFinished(2000);
        delete child;
    }
    m_children.clear();
}

QProcess* tst_SingleInstance::Child(const QStringList& arguments) {
    auto* child = new QProcess;
    m_children << child;
    child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child->start(QCoreApplication::applicationFilePath(), arguments);
    return child;
}

QByteArray tst_SingleInstance::Line(QProcess* child, const QByteArray& prefix, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (child->canReadLine()) {
            const QByteArray line = child->readLine().trimmed();
            if (line.startsWith(prefix))
                return line.mid(prefix.size()).trimmed();
        }
        if (deadline.hasExpired() ||
            (!child->waitForReadyRead(int(deadline.remainingTime())) && !child->canReadLine()))
            return "<none>";
    }
}

// Runs a second instance to its end, keeping this process's event loop (and
// so a server in it) running; returns the child's exit code.
int tst_SingleInstance::Hand(const QString& mode, const QString& text, QByteArray* elapsed) {
    QProcess* child = Child({mode, m_dir->path(), QString::fromLatin1(text.toUtf8().toBase64())});
    if (!QTest::qWaitFor([child] { return child->state() == QProcess::NotRunning; }, 10000))
        return -1;
    if (elapsed)
        *elapsed = Line(child, "elapsed ", 0);
    return child->exitStatus() == QProcess::NormalExit ? child->exitCode() : -2;
}

void tst_SingleInstance::firstInstanceListensForItsUserOnly() {
    SingleInstance first(m_dir->path());
    QCOMPARE(first.Start(), SingleInstance::Role::First);
    QVERIFY(first.Listening());
    QVERIFY(first.ServerName().endsWith(SingleInstance::BaseName()));
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFileInfo(first.Server()->FullServerName()).permissions() & others,
             QFile::Permissions());
    // Another object in the same folder is a second instance.
    SingleInstance second(m_dir->path());
    QCOMPARE(second.Start(), SingleInstance::Role::Second);
}

void tst_SingleInstance::handOff_data() {
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("commandLines"); // how many CommandLineReceived
    QTest::newRow("path") << "--second"
                          << "/home/u/Music/a b.mp3" << 1;
    QTest::newRow("chinese") << "--second" << QStringLiteral("/音乐/周杰伦 - 晴天.mp3") << 1;
    QTest::newRow("60 KiB") << "--second" << QString(60 * 1024, QLatin1Char('x')) << 1;
    QTest::newRow("link") << "--second"
                          << "melodeck://singer=a&song=b c&type=0" << 1;
    QTest::newRow("other command") << "--command"
                                   << "Quit" << 0;
}

void tst_SingleInstance::handOff() {
    QFETCH(QString, mode);
    QFETCH(QString, text);
    QFETCH(int, commandLines);
    SingleInstance first(m_dir->path());
    QCOMPARE(first.Start(), SingleInstance::Role::First);
    QSignalSpy received(&first, &SingleInstance::CommandLineReceived);
    QSignalSpy commands(first.Server(), &HandOffServer::CommandReceived);
    QCOMPARE(Hand(mode, text), 0);
    QCOMPARE(commands.size(), 1);
    QCOMPARE(received.size(), commandLines);
    if (commandLines > 0)
        QCOMPARE(received.at(0).at(0).toString(), text);
    else
        QCOMPARE(commands.at(0).at(0).toString(), text);
}

void tst_SingleInstance::unansweringFirstInstance() {
    QProcess* first = Child({"--first", m_dir->path()});
    QCOMPARE(Line(first, "role"), QByteArray("first"));
    // A stopped process still holds the lock and its socket accepts, but
    // nothing is ever acknowledged.
    ::kill(pid_t(first->processId()), SIGSTOP);
    QByteArray elapsed;
    const int code = Hand("--second", "/m/a.mp3", &elapsed);
    ::kill(pid_t(first->processId()), SIGCONT);
    QCOMPARE(code, 3);
    QVERIFY2(elapsed.toInt() < 2200, elapsed.constData());
}

void tst_SingleInstance::simultaneousFirstStarts() {
    QList<QProcess*> starts;
    for (int i = 0; i < 3; ++i)
        starts << Child({"--first", m_dir->path()});
    QStringList roles;
    for (QProcess* start : starts)
        roles << QString::fromLatin1(Line(start, "role"));
    roles.sort();
    QCOMPARE(roles, (QStringList{"first", "second", "second"}));
    // And the one that won serves.
    QCOMPARE(Hand("--second", "/m/a.mp3"), 0);
}

void tst_SingleInstance::oversizedFrameRefused() {
    SingleInstance first(m_dir->path());
    QCOMPARE(first.Start(), SingleInstance::Role::First);
    QSignalSpy commands(first.Server(), &HandOffServer::CommandReceived);
    QLocalSocket client;
    client.connectToServer(first.ServerName());
    QTRY_COMPARE(client.state(), QLocalSocket::ConnectedState);
    // One byte more than the limit, and that byte sent as well.
    const QByteArray oversized = QByteArray("\0\1\0\1", 4) + "CommandLine=" +
                                 QByteArray(HandOffFrame::kMaxPayload + 1 - 12, 'x');
    client.write(oversized);
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QLocalSocket::UnconnectedState, 1500);
    QCOMPARE(client.bytesAvailable(), qint64(0)); // never acknowledged
    QCOMPARE(commands.size(), 0);
    QTRY_COMPARE(first.Server()->OpenConnections(), 0);
    QCOMPARE(Hand("--second", "/m/after.mp3"), 0);
    QCOMPARE(commands.size(), 1);
}

void tst_SingleInstance::idleClientDoesNotBlock() {
    SingleInstance first(m_dir->path());
    QCOMPARE(first.Start(), SingleInstance::Role::First);
    first.Server()->SetIdleTimeout(3000);
    QSignalSpy received(&first, &SingleInstance::CommandLineReceived);
    QLocalSocket silent;
    QLocalSocket partial;
    silent.connectToServer(first.ServerName());
    partial.connectToServer(first.ServerName());
    partial.write(QByteArray("\0\0\0\x10"
                             "CommandLine=",
                             16));
    QTRY_COMPARE(first.Server()->OpenConnections(), 2);
    int openAtHandOff = 0;
    connect(&first, &SingleInstance::CommandLineReceived, this,
            [&] { openAtHandOff = first.Server()->OpenConnections(); });
    QCOMPARE(Hand("--second", "/m/a.mp3"), 0);
    QCOMPARE(received.size(), 1);
    QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("/m/a.mp3"));
    // Both idle clients were still connected while the hand-off went through...
    QCOMPARE(openAtHandOff, 3);
    // ...and are dropped once their time is up.
    QTRY_COMPARE_WITH_TIMEOUT(silent.state(), QLocalSocket::UnconnectedState, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(partial.state(), QLocalSocket::UnconnectedState, 1000);
    QTRY_COMPARE(first.Server()->OpenConnections(), 0);
}

// A process of the same user holding more idle connections than are served
// at once: a real second start still gets its item through.
void tst_SingleInstance::floodOfIdleConnectionsLetsASecondStartIn() {
    SingleInstance first(m_dir->path());
    QCOMPARE(first.Start(), SingleInstance::Role::First);
    first.Server()->SetIdleTimeout(30000);
    QSignalSpy received(&first, &SingleInstance::CommandLineReceived);
    std::vector<std::unique_ptr<QLocalSocket>> flood;
    for (int i = 0; i < HandOffServer::kMaxConnections + 8; ++i) {
        flood.push_back(std::make_unique<QLocalSocket>());
        flood.back()->connectToServer(first.ServerName());
    }
    QTRY_COMPARE(first.Server()->OpenConnections(), HandOffServer::kMaxConnections);
    QCOMPARE(Hand("--second", "/m/through.mp3"), 0);
    QCOMPARE(received.size(), 1);
    QCOMPARE(received.at(0).at(0).toString(), QStringLiteral("/m/through.mp3"));
    QVERIFY(first.Server()->OpenConnections() <= HandOffServer::kMaxConnections);
}

void tst_SingleInstance::staleLockAfterKill() {
    QProcess* crashed = Child({"--first", m_dir->path()});
    QCOMPARE(Line(crashed, "role"), QByteArray("first"));
    crashed->kill(); // SIGKILL: neither the lock nor the socket file is removed
    QVERIFY(crashed->waitForFinished(5000));
    SingleInstance probe(m_dir->path());
    QVERIFY(QFileInfo::exists(probe.LockPath()));
    QVERIFY(QFileInfo::exists(probe.ServerName()));

    SingleInstance next(m_dir->path());
    QCOMPARE(next.Start(), SingleInstance::Role::First);
    QVERIFY(next.Listening());
    QSignalSpy received(&next, &SingleInstance::CommandLineReceived);
    QCOMPARE(Hand("--second", "/m/b.mp3"), 0);
    QCOMPARE(received.size(), 1);
}

// The lock and socket never go where another user could have made them
// first: the session's folder when it is private, else a private folder of
// the program's own under the temporary folder, else none at all.
void tst_SingleInstance::runtimeFolderIsPrivate_data() {
    QTest::addColumn<QString>("session");     // XDG_RUNTIME_DIR: "" unset, "private"
    QTest::addColumn<QString>("qtFallback");  // Qt's "runtime-<user>": "", "foreign"
    QTest::addColumn<QString>("ownFallback"); // "melodeck-<uid>": "", "foreign", "link", "open"
    QTest::addColumn<QString>("expected");    // "session", "qt", "own", "none"
    QTest::newRow("private session folder") << "private"
                                            << ""
                                            << ""
                                            << "session";
    QTest::newRow("no session folder: Qt's private one") << ""
                                                         << ""
                                                         << ""
                                                         << "qt";
    QTest::newRow("Qt's taken by another user") << ""
                                                << "foreign"
                                                << ""
                                                << "own";
    QTest::newRow("both taken by another user") << ""
                                                << "foreign"
                                                << "foreign"
                                                << "none";
    QTest::newRow("ours a link") << ""
                                 << "foreign"
                                 << "link"
                                 << "none";
    QTest::newRow("ours open to all") << ""
                                      << "foreign"
                                      << "open"
                                      << "none";
}

void tst_SingleInstance::runtimeFolderIsPrivate() {
    QFETCH(QString, session);
    QFETCH(QString, qtFallback);
    QFETCH(QString, ownFallback);
    QFETCH(QString, expected);
    if (::getuid() != 0 && (qtFallback == "foreign" || ownFallback == "foreign"))
        QSKIP("giving a folder to another user needs root");
    QTemporaryDir base;
    const QString tmp = base.filePath("tmp");
    const QString run = base.filePath("run");
    QVERIFY(QDir().mkpath(tmp) && QDir().mkpath(run));
    QVERIFY(::chmod(QFile::encodeName(run).constData(), 0700) == 0);
    const QString qt = tmp + "/runtime-" + QString::fromLocal8Bit(::getpwuid(::getuid())->pw_name);
    const QString own = tmp + "/melodeck-" + QString::number(::getuid());
    const auto make = [](const QString& path, const QString& kind) {
        const QByteArray name = QFile::encodeName(path);
        if (kind == "link")
            return QDir().mkpath(path + ".target") && QFile::link(path + ".target", path);
        return QDir().mkpath(path) &&
               ::chmod(name.constData(), kind == "open" ? 0777 : 0700) == 0 &&
               (kind != "foreign" || ::chown(name.constData(), 65534, 65534) == 0);
    };
    if (!qtFallback.isEmpty())
        QVERIFY(make(qt, qtFallback));
    if (!ownFallback.isEmpty())
        QVERIFY(make(own, ownFallback));
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray savedTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp));
    if (session.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run));
    const QString found = SingleInstance::PrivateRuntimeFolder();
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
    qputenv("TMPDIR", savedTmp);
    const QHash<QString, QString> paths{{"session", run}, {"qt", qt}, {"own", own}, {"none", ""}};
    QCOMPARE(found, paths.value(expected));
    // With no folder, nothing is made anywhere and every start is a first.
    if (expected == "none") {
        SingleInstance instance{found};
        QCOMPARE(instance.Start(), SingleInstance::Role::First);
        QVERIFY(!instance.Listening());
        QVERIFY(!instance.SendCommandLine("x", 100));
    }
}

void tst_SingleInstance::anotherUsersLockAndSocketAreRefused_data() {
    QTest::addColumn<bool>("lock");   // another user's lock is left in the folder
    QTest::addColumn<bool>("socket"); // another user's serving socket is there
    QTest::newRow("another user's running copy: lock and socket") << true << true;
    QTest::newRow("another user's lock alone") << true << false;
    QTest::newRow("another user's socket alone") << false << true;
}

// The runtime folder is this user's, but another user put a lock and socket
// of this user's name there (made while the folder was open to them, or by a
// copy started through su with this folder's path): a start
// neither hands its items to that copy, nor waits for it, nor removes its
// files; it runs as the first copy without hand-offs and says why.
void tst_SingleInstance::anotherUsersLockAndSocketAreRefused() {
    QFETCH(bool, lock);
    QFETCH(bool, socket);
    if (::geteuid() != 0)
        QSKIP("making files as another user needs root");
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty())
        QSKIP("setpriv (util-linux) is missing");
    const QByteArray folder = QFile::encodeName(m_dir->path());
    const QString lockPath = SingleInstance(m_dir->path()).LockPath();
    const QString socketPath = SingleInstance(m_dir->path()).ServerName();
    // The other user's copy makes both in the folder while it is theirs;
    // then the folder is this user's and private again.
    QVERIFY(::chown(folder.constData(), 65534, 65534) == 0);
    auto* other = new QProcess;
    m_children << other;
    other->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    other->start(setpriv, {"--reuid=nobody", "--regid=nogroup", "--clear-groups", "--",
                           QCoreApplication::applicationFilePath(), "--impostor", m_dir->path(),
                           QString::number(::getuid())});
    QCOMPARE(Line(other, "listening "), QByteArray("yes"));
    QVERIFY(::chown(folder.constData(), ::getuid(), ::getgid()) == 0);
    if (!lock)
        QVERIFY(QFile::remove(lockPath));
    if (!socket)
        QVERIFY(QFile::remove(socketPath));
    const auto owners = [&] {
        QFileInfo lockInfo(lockPath), socketInfo(socketPath);
        return QStringList{lockInfo.exists() ? QString::number(lockInfo.ownerId()) : "-",
                           socketInfo.exists() ? QString::number(socketInfo.ownerId()) : "-"};
    };
    const QStringList before = owners();

    QProcess first;
    first.start(QCoreApplication::applicationFilePath(), {"--first", m_dir->path()});
    QCOMPARE(Line(&first, "role "), QByteArray("first"));
    QCOMPARE(Line(&first, "listening "), QByteArray("no"));
    QByteArray warning;
    QTRY_VERIFY((warning += first.readAllStandardError()).contains("belongs to another user"));
    first.kill();
    first.waitForFinished(2000);
    QCOMPARE(Hand(QStringLiteral("--second"), QStringLiteral("/music/mine.mp3")), 4); // not second
    // A second start that found the socket its own still gives a server of
    // another user's nothing.
    if (socket) {
        SingleInstance sender{m_dir->path()};
        QVERIFY(!sender.SendCommandLine(QStringLiteral("/music/mine.mp3"), 1000));
    }
    QCOMPARE(Line(other, "received ", 500), QByteArray("<none>"));
    QCOMPARE(owners(), before);
}

int main(int argc, char** argv) {
    if (argc >= 3 && QByteArray(argv[1]).startsWith("--") && QByteArray(argv[1]) != "--")
        return ChildMain(argc, argv);
    QCoreApplication app(argc, argv);
    tst_SingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SingleInstance.moc"
