// The real program on a real X server with the engine's own video output:
// a termination signal while a video plays still ends it through its normal
// way out, with status 0 and the lists saved. (The engine's output keeps an
// X connection and a window of its own inside the video window; it must let
// go of them while that window still exists, or the X library ends the
// process with status 1.) Run under xvfb-run (see cmake/Melodeck.cmake).
#include "support/TestMedia.h"
#include "support/TestProgram.h"

#include <QFile>
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
};

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
