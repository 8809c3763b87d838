// The real program on a real X server with the engine's own video output:
// a termination signal while a video plays still ends it through its normal
// way out, with status 0 and the lists saved. (The engine's output keeps an
// X connection and a window of its own inside the video window; it must let
// go of them while that window still exists, or the X library ends the
// process with status 1.) Run under xvfb-run (see cmake/Melodeck.cmake).
#include "net/TestHttpServer.h"
#include "support/TestMedia.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <unistd.h>

class tst_x11_ProgramRun : public QObject {
    Q_OBJECT
private slots:
    void signalWhileAVideoPlaysSavesAndEnds_data();
    void signalWhileAVideoPlaysSavesAndEnds();
    void signalWithADialogOpenSavesAndEnds_data();
    void signalWithADialogOpenSavesAndEnds();
};

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// A message box waits for OK in an event loop of its own; a termination
// signal must still end the program, with what it was handed saved. A
// second copy's hand-off that comes while the start-up's box is open waits
// for the start to be done.
void tst_x11_ProgramRun::signalWithADialogOpenSavesAndEnds_data() {
    QTest::addColumn<QString>("dialog");
    QTest::newRow("start-up read error, a hand-off waiting") << "read error";
    QTest::newRow("update question") << "update";
}

void tst_x11_ProgramRun::signalWithADialogOpenSavesAndEnds() {
    QFETCH(QString, dialog);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (run through CTest, which starts one)");
    QTemporaryDir home;
    TestHttpServer server(QByteArray("9.9\n"));
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("PlayList")));
    QVERIFY(TestMedia::WriteFile(home.filePath(QStringLiteral("PlayList/0.MLF")), "{L}\r\n"));
    // A link is never read: reported at the start.
    const QString outside = home.filePath(QStringLiteral("outside.MLF"));
    QVERIFY(TestMedia::WriteFile(outside, "{outside}\r\n"));
    QVERIFY(QFile::link(outside, home.filePath(QStringLiteral("PlayList/1.MLF"))));
    const QString song = home.filePath(QStringLiteral("song.wav"));
    QVERIFY(TestMedia::WriteFile(song, TestMedia::SilentWav(0.3)));
    QProcessEnvironment env = TestProgram::Environment(home.path());
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (dialog == "update") {
        QVERIFY(QFile::remove(home.filePath(QStringLiteral("PlayList/1.MLF"))));
        env.insert(QStringLiteral("MELODECK_UPDATE_URL"), server.Base());
    }
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(TestProgram::Path(), dialog == "update" ? QStringList{song} : QStringList{});
    QVERIFY(program.waitForStarted());
    const QByteArray shown =
        dialog == "update" ? QByteArray("发现最新版本") : QByteArray("文件读取错误");
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += program.readAllStandardError()).contains(shown), 20000);
    if (dialog == "read error") {
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(TestProgram::Path(), {song});
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitCode(), 0);
    }
    QCOMPARE(program.state(), QProcess::Running);
    QElapsedTimer clock;
    clock.start();
    ::kill(pid_t(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(10000));
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QCOMPARE(readFile(home.filePath(QStringLiteral("PlayList/0.MLF"))),
             "{L}\r\nsong=" + song.toUtf8() + "\r\n");
    // The link that was not read is still there, and what it leads to.
    QCOMPARE(QFileInfo(home.filePath(QStringLiteral("PlayList/1.MLF"))).isSymLink(),
             dialog == "read error");
    QCOMPARE(readFile(outside), QByteArray("{outside}\r\n"));
}

void tst_x11_ProgramRun::signalWhileAVideoPlaysSavesAndEnds_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
}

void tst_x11_ProgramRun::signalWhileAVideoPlaysSavesAndEnds() {
    QFETCH(int, signal);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (run through CTest, which starts one)");
    QTemporaryDir home;
    const QString clip = home.filePath(QStringLiteral("clip.avi"));
    QVERIFY(TestMedia::WriteFile(clip, TestMedia::MjpegAvi(300)));
    QProcessEnvironment env = TestProgram::Environment(home.path());
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("MELODECK_MPV_VO"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(TestProgram::Path(), {clip});
    QVERIFY(program.waitForStarted());
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += program.readAllStandardOutput()).contains("clip"), 20000);
    // Long enough for the engine to open its video output and show frames.
    QTest::qWait(1500);
    QCOMPARE(program.state(), QProcess::Running);

    ::kill(pid_t(program.processId()), signal);
    QVERIFY(program.waitForFinished(20000));
    QVERIFY2(program.exitCode() == 0, program.readAllStandardError().constData());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QFile list(home.filePath(QStringLiteral("PlayList/0.MLF")));
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(list.readAll(),
             QByteArray::fromHex("7B5BC4ACC8CF5D7D0D0A") + "clip=" + clip.toUtf8() + "\r\n");
}

QTEST_GUILESS_MAIN(tst_x11_ProgramRun)
#include "tst_x11_ProgramRun.moc"
