#include "winsvc/ExitSignals.h"

#include <QProcess>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <thread>

// Run with "--signal-child [replaced]", the test program is a process that
// ends through its event loop on the exit exits; "replaced" lets another
// handler take SIGTERM first and puts the program's own back, as after the
// media engine is made.
namespace {

volatile sig_atomic_t g_foreignCalls = 0;
extern "C" void ForeignHandler(int) {
    g_foreignCalls = g_foreignCalls + 1;
}

void Say(const QByteArray& line) {
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout);
}

int ChildMain(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ExitSignals exits;
    QObject::connect(&exits, &ExitSignals::ExitRequested, &app, [&app](int number) {
        const bool onGuiThread = QThread::currentThread() == app.thread();
        Say("exit " + QByteArray::number(number) + " gui " + QByteArray::number(onGuiThread));
        app.quit();
    });
    if (argc > 2 && QByteArray(argv[2]) == "replaced") {
        std::signal(SIGTERM, SIG_DFL);
        exits.Reinstall();
    }
    QTimer::singleShot(0, [] { Say("ready"); });
    QTimer::singleShot(20000, &app, [] { std::_Exit(5); }); // never outlive the test
    const int code = app.exec();
    Say("normal end");
    return code;
}

struct sigaction Current(int number) {
    struct sigaction action {};
    ::sigaction(number, nullptr, &action);
    return action;
}

} // namespace

class tst_ExitSignals : public QObject {
    Q_OBJECT
private slots:
    void reachesGuiThread_data();
    void reachesGuiThread();
    void reinstallAfterForeignHandler();
    void previousHandlersComeBack();
    void childEndsNormally_data();
    void childEndsNormally();
};

void tst_ExitSignals::reachesGuiThread_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("fromWorker");
    for (const int number : ExitSignals::kSignals) {
        const QByteArray name = QByteArray::number(number);
        QTest::newRow("main " + name) << number << false;
        QTest::newRow("worker " + name) << number << true;
    }
}

void tst_ExitSignals::reachesGuiThread() {
    QFETCH(int, number);
    QFETCH(bool, fromWorker);
    ExitSignals exits;
    QVERIFY(exits.HandlersInPlace());
    QList<QThread*> threads;
    connect(&exits, &ExitSignals::ExitRequested, this,
            [&threads] { threads << QThread::currentThread(); });
    QSignalSpy spy(&exits, &ExitSignals::ExitRequested);
    if (fromWorker) {
        // raise() delivers to the calling thread: the handler runs there.
        std::thread([number] { std::raise(number); }).join();
    } else {
        std::raise(number);
        std::raise(number);
    }
    QVERIFY(spy.wait(2000));
    QTRY_COMPARE(spy.size(), fromWorker ? 1 : 2);
    QCOMPARE(spy.at(0).at(0).toInt(), number);
    QCOMPARE(threads.size(), spy.size());
    QCOMPARE(threads.at(0), QThread::currentThread());
}

void tst_ExitSignals::reinstallAfterForeignHandler() {
    ExitSignals exits;
    QSignalSpy spy(&exits, &ExitSignals::ExitRequested);
    std::signal(SIGHUP, ForeignHandler);
    QVERIFY(!exits.HandlersInPlace());
    g_foreignCalls = 0;
    exits.Reinstall();
    QVERIFY(exits.HandlersInPlace());
    std::raise(SIGHUP);
    QVERIFY(spy.wait(2000));
    QCOMPARE(g_foreignCalls, 0);
    // Our handler restarts interrupted system calls, as libraries expect.
    QVERIFY(Current(SIGHUP).sa_flags & SA_RESTART);
    // Only one object can own the handlers.
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, ExitSignals{});
}

void tst_ExitSignals::previousHandlersComeBack() {
    std::signal(SIGINT, ForeignHandler);
    std::signal(SIGHUP, SIG_IGN);
    const auto termBefore = Current(SIGTERM).sa_handler; // the test library's own
    {
        ExitSignals exits;
        QVERIFY(Current(SIGINT).sa_handler != ForeignHandler);
    }
    QVERIFY(Current(SIGINT).sa_handler == ForeignHandler);
    QVERIFY(Current(SIGHUP).sa_handler == SIG_IGN);
    QVERIFY(Current(SIGTERM).sa_handler == termBefore);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
    // A later object installs afresh.
    ExitSignals again;
    QVERIFY(again.HandlersInPlace());
}

void tst_ExitSignals::childEndsNormally_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("variant");
    QTest::newRow("SIGTERM") << int(SIGTERM) << "";
    QTest::newRow("SIGINT") << int(SIGINT) << "";
    QTest::newRow("SIGHUP") << int(SIGHUP) << "";
    QTest::newRow("SIGTERM after a foreign handler") << int(SIGTERM) << "replaced";
}

void tst_ExitSignals::childEndsNormally() {
    QFETCH(int, number);
    QFETCH(QString, variant);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {"--signal-child", variant});
    QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine(), 10000);
    QCOMPARE(child.readLine().trimmed(), QByteArray("ready"));
    ::kill(pid_t(child.processId()), number);
    QTRY_COMPARE_WITH_TIMEOUT(child.state(), QProcess::NotRunning, 5000);
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(child.readAll().split('\n').mid(0, 2),
             (QByteArrayList{"exit " + QByteArray::number(number) + " gui 1", "normal end"}));
}

int main(int argc, char** argv) {
    if (argc >= 2 && QByteArray(argv[1]) == "--signal-child")
        return ChildMain(argc, argv);
    QCoreApplication app(argc, argv);
    tst_ExitSignals test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ExitSignals.moc"
