// Links end to end: the real program, a second copy or the desktop's opener
// handing it a melodeck:// link, and the reference search service sharing a
// folder of generated files over HTTP on 127.0.0.1.
#include "net/DripServer.h"
#include "support/TestMedia.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

namespace {

const QString kLink = QStringLiteral("melodeck://singer=Jay Chou&song=Sunny Day&type=-1");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The search service over two songs of one singer with the same title, so
// that a search answers with two candidates in this order.
struct Service {
    QTemporaryDir music;
    QProcess process;
    QString base;
    QByteArray log; // every request line so far

    void start() {
        for (const char* name : {"01.mp3", "02.mp3"}) {
            QVERIFY(QDir(music.path()).mkpath(QStringLiteral("Jay Chou")));
            QVERIFY(TestMedia::WriteFile(music.filePath(QStringLiteral("Jay Chou/") + name),
                                         TestMedia::SilentMp3(0.5, "Sunny Day")));
        }
        process.start(QStringLiteral(MELODECK_SEARCH_TOOL),
                      {"--music", music.path(), "--port", "0", "--bind", "127.0.0.1"});
        QVERIFY(process.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(process.canReadLine(), 10000);
        const QByteArray line = process.readLine().trimmed();
        QVERIFY2(line.startsWith("port "), line.constData());
        base = QStringLiteral("http://127.0.0.1:%1/").arg(QString::fromLatin1(line.mid(5)));
    }
    QString candidate(int n) const { return base + QStringLiteral("file/%1.mp3").arg(n); }
    // How many request lines containing `text` have been logged so far.
    qsizetype count(const QByteArray& text) {
        log += process.readAllStandardOutput();
        return log.count(text);
    }
    bool logged(const QByteArray& text) { return count(text) > 0; }
    ~Service() {
        process.kill();
        process.waitForFinished(5000);
    }
};

// A program directory of its own, with the service as its search service.
struct Home {
    QTemporaryDir dir;
    QString program = TestProgram::Path(); // what the first copy is started as
    QString playlist(int n) const { return dir.filePath(QStringLiteral("PlayList/%1.MLF").arg(n)); }
    QProcessEnvironment environment(const Service* service) const {
        QProcessEnvironment env = TestProgram::Environment(dir.path());
        if (service)
            env.insert(QStringLiteral("MELODECK_SEARCH_URL"), service->base);
        return env;
    }
    QString socket() const {
        return dir.filePath(QStringLiteral("runtime/Melodeck.FormDDE.") +
                            QString::number(::getuid()));
    }
};

// Starts the first copy and waits until it serves hand-offs.
void startFirst(QProcess& program, const Home& home, const Service* service,
                const QStringList& args = {}) {
    program.setProcessEnvironment(home.environment(service));
    program.start(home.program, args);
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.socket()), 20000);
}

void endWithSigterm(QProcess& program) {
    ::kill(pid_t(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
}

// The default list as saved, holding the one line `item`.
QByteArray defaultListWith(const QByteArray& item) {
    return QByteArray::fromHex("7B5BC4ACC8CF5D7D0D0A") + item + "\r\n";
}

} // namespace

class tst_LinkHandOff : public QObject {
    Q_OBJECT
private slots:
    void secondInstanceAddsTheServicesAnswers();
    void failedCandidateFallsBackToTheNext();
    void desktopOpenerReachesTheRunningInstance_data();
    void desktopOpenerReachesTheRunningInstance();
    void engineRefusedAddressPlaysAndWritesNothing();
    void quitDuringTheLinkSearchKeepsTheItem_data();
    void quitDuringTheLinkSearchKeepsTheItem();
};

// The second copy hands the link over and ends; the first searches and adds
// one item whose address is the service's first answer.
void tst_LinkHandOff::secondInstanceAddsTheServicesAnswers() {
    Service service;
    service.start();
    Home home;
    QProcess first;
    startFirst(first, home, &service);

    QProcess second;
    second.setProcessEnvironment(home.environment(&service));
    second.start(TestProgram::Path(), {kLink});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    // The hand-off is taken and searched; the item is saved. (A quit during
    // the search would keep the link for the next start instead.)
    const QByteArray item = defaultListWith("Sunny Day=" + service.candidate(0).toUtf8());
    QTRY_COMPARE_WITH_TIMEOUT(readFile(home.playlist(0)), item, 10000);
    QVERIFY(service.logged("-> 2\n"));
    endWithSigterm(first);
    QCOMPARE(readFile(home.playlist(0)), item);
    // Added only: nothing was played, so no file was fetched.
    QVERIFY(!service.logged("file "));
}

// The first candidate is gone from the service: the player falls back to
// the second, fetches it and plays it through.
void tst_LinkHandOff::failedCandidateFallsBackToTheNext() {
    Service service;
    service.start();
    QVERIFY(QFile::remove(service.music.filePath(QStringLiteral("Jay Chou/01.mp3"))));
    Home home;
    QProcess program;
    startFirst(program, home, &service, {kLink});
    QTRY_VERIFY_WITH_TIMEOUT(service.logged("file 0.mp3 404"), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(service.logged("file 1.mp3 200"), 15000);
    // Played through: once the item has ended the list moves on, which
    // starts the only item a third time, from the address that worked. A
    // second failure would have stopped the list instead.
    QByteArray out;
    QTRY_VERIFY_WITH_TIMEOUT(
        (out += program.readAllStandardOutput()).count("正在播放: Sunny Day") >= 3, 15000);
    endWithSigterm(program);
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    QVERIFY2(errors.contains(service.candidate(0) + QStringLiteral(" 无法播放")),
             qPrintable(errors));
    QVERIFY2(!errors.contains(service.candidate(1)), qPrintable(errors));
    QCOMPARE(readFile(home.playlist(0)),
             defaultListWith("Sunny Day=" + service.candidate(1).toUtf8()));
}

// The desktop's opener, with the test's own desktop folders, finds the entry
// the running program registered and starts a copy with the link, which
// hands it over to the running one.
void tst_LinkHandOff::desktopOpenerReachesTheRunningInstance_data() {
    QTest::addColumn<QStringList>("opener");
    QTest::addColumn<QString>("folder"); // the program copied there; "" as built
    const QString odd = QStringLiteral("Melodeck \"Player\" $1");
    QTest::newRow("xdg-open, generic mode") << QStringList{"xdg-open"} << QString();
    QTest::newRow("gio open") << QStringList{"gio", "open"} << QString();
    QTest::newRow("xdg-open, program in a folder with spaces") << QStringList{"xdg-open"} << odd;
    QTest::newRow("gio open, program in a folder with spaces") << QStringList{"gio", "open"} << odd;
}

void tst_LinkHandOff::desktopOpenerReachesTheRunningInstance() {
    QFETCH(QStringList, opener);
    QFETCH(QString, folder);
    opener.first() = QStandardPaths::findExecutable(opener.first());
    if (opener.first().isEmpty())
        QSKIP("this link opener is not installed");
    Service service;
    service.start();
    Home home;
    if (!folder.isEmpty()) {
        home.program = home.dir.filePath(folder + QStringLiteral("/melodeck"));
        QVERIFY(QDir().mkpath(home.dir.filePath(folder)));
        QVERIFY(QFile::copy(TestProgram::Path(), home.program));
    }
    QProcess first;
    startFirst(first, home, &service);
    const QString entry = home.dir.filePath(QStringLiteral("data/applications/melodeck.desktop"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(entry), 10000);

    QProcess open;
    QProcessEnvironment env = home.environment(&service);
    env.insert(QStringLiteral("XDG_DATA_DIRS"), home.dir.filePath(QStringLiteral("none")));
    // Outside a desktop xdg-open runs its generic mode, which uses desktop
    // entries only when it sees a display (the copy it starts draws
    // offscreen all the same).
    env.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
    env.remove(QStringLiteral("DESKTOP_SESSION"));
    if (env.value(QStringLiteral("DISPLAY")).isEmpty())
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":0"));
    open.setProcessEnvironment(env);
    open.start(opener.takeFirst(), opener << kLink);
    QVERIFY(open.waitForFinished(10000));
    QCOMPARE(open.exitCode(), 0);
    const QByteArray item = defaultListWith("Sunny Day=" + service.candidate(0).toUtf8());
    QTRY_COMPARE_WITH_TIMEOUT(readFile(home.playlist(0)), item, 15000);
    endWithSigterm(first);
    QCOMPARE(readFile(home.playlist(0)), item);
}

// An address that would have the engine build audio from a filter graph,
// which could write files: refused before anything plays.
void tst_LinkHandOff::engineRefusedAddressPlaysAndWritesNothing() {
    QTemporaryDir dir;
    const QString written = dir.filePath(QStringLiteral("written.txt"));
    const QString address =
        QStringLiteral("av://lavfi:sine=d=1,ametadata=mode=print:file=") + written;
    Home home;
    QProcess program;
    startFirst(program, home, nullptr,
               {QStringLiteral("melodeck://singer=&song=Tone&url=") + address});
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += program.readAllStandardError()).contains("无法播放"),
                             15000);
    endWithSigterm(program);
    QVERIFY2(!QFile::exists(written), errors.constData());
}

// A termination signal while a fetch waits for a server that never answers
// or drips its answer: the program ends at once, not at the fetch's
// time-out, with the lists saved; a link whose search was cut short is kept
// and searched again by the next start.
void tst_LinkHandOff::quitDuringTheLinkSearchKeepsTheItem_data() {
    QTest::addColumn<int>("length"); // of the dripped answer; -1: never answers
    QTest::addColumn<QString>("fetch");
    QTest::newRow("start's link, silent server") << -1 << "start's link";
    QTest::newRow("start's link, dripping server") << 100000 << "start's link";
    QTest::newRow("handed-over link, silent server") << -1 << "handed-over link";
    QTest::newRow("update check, silent server") << -1 << "update check";
    QTest::newRow("update check, dripping server") << 100000 << "update check";
}

void tst_LinkHandOff::quitDuringTheLinkSearchKeepsTheItem() {
    QFETCH(int, length);
    QFETCH(QString, fetch);
    DripServer held(length, std::chrono::milliseconds(100));
    Home home;
    QProcessEnvironment env = home.environment(nullptr);
    env.insert(fetch == "update check" ? QStringLiteral("MELODECK_UPDATE_URL")
                                       : QStringLiteral("MELODECK_SEARCH_URL"),
               held.Base());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(TestProgram::Path(),
                  fetch == "start's link" ? QStringList{kLink} : QStringList{});
    QVERIFY(program.waitForStarted());
    if (fetch == "handed-over link") {
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(home.socket()), 20000);
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(TestProgram::Path(), {kLink});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
    }
    QTRY_COMPARE_WITH_TIMEOUT(held.Requests(), 1, 20000);
    if (length > 0)
        QTRY_VERIFY_WITH_TIMEOUT(held.Sent() >= 3, 5000);

    QElapsedTimer clock;
    clock.start();
    ::kill(pid_t(program.processId()), SIGTERM);
    // Events keep flowing meanwhile, so the server goes on dripping.
    QTRY_COMPARE_WITH_TIMEOUT(program.state(), QProcess::NotRunning, 2000);
    QVERIFY2(clock.elapsed() < 2000, QByteArray::number(clock.elapsed()));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(readFile(home.playlist(0)), defaultListWith({}).chopped(2));
    const QByteArray errors = program.readAllStandardError();
    if (fetch == "update check") {
        QVERIFY2(!errors.contains("kept"), errors.constData());
        return;
    }
    QVERIFY2(errors.contains("kept for the next start: " + kLink.toUtf8()), errors.constData());

    Service service;
    service.start();
    QProcess next;
    startFirst(next, home, &service);
    const QByteArray item = defaultListWith("Sunny Day=" + service.candidate(0).toUtf8());
    QTRY_COMPARE_WITH_TIMEOUT(readFile(home.playlist(0)), item, 15000);
    endWithSigterm(next);
    QCOMPARE(readFile(home.playlist(0)), item);
}

QTEST_GUILESS_MAIN(tst_LinkHandOff)
#include "tst_LinkHandOff.moc"
