// MELODECK_REPORT_LENGTHS: the real program says once, on standard error,
// that the background reading of its playlists' lengths has finished, and
// says nothing of it without the variable.
#include "support/TestMedia.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestLengthsReport : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void reportsOnceWhenAsked_data();
    void reportsOnceWhenAsked();

private:
    QTemporaryDir m_media;
};

void TestLengthsReport::initTestCase() {
    QVERIFY(m_media.isValid());
    QVERIFY(QFileInfo(TestProgram::Path()).isExecutable());
    for (int i = 0; i < 40; ++i)
        QVERIFY(TestMedia::WriteFile(m_media.filePath(QStringLiteral("%1.mp3").arg(i)),
                                     TestMedia::SilentMp3(0.5 + 0.1 * i)));
}

void TestLengthsReport::reportsOnceWhenAsked_data() {
    QTest::addColumn<QStringList>("items"); // the lines of PlayList/0.MLF; none: no file
    QTest::addColumn<bool>("asked");
    QTest::addColumn<int>("reports");
    QStringList files;
    for (int i = 0; i < 40; ++i) // more than one batch of the reader
        files << QStringLiteral("Song %1=%2")
                     .arg(i)
                     .arg(m_media.filePath(QStringLiteral("%1.mp3").arg(i)));
    const QStringList odd = {QStringLiteral("Gone=") + m_media.filePath(QStringLiteral("gone.mp3")),
                             QStringLiteral("Radio=http://127.0.0.1:9/radio.mp3")};
    QTest::newRow("no playlist") << QStringList() << true << 1;
    QTest::newRow("forty files") << files << true << 1;
    QTest::newRow("missing file and stream") << odd << true << 1;
    QTest::newRow("not asked") << files << false << 0;
}

void TestLengthsReport::reportsOnceWhenAsked() {
    QFETCH(QStringList, items);
    QFETCH(bool, asked);
    QFETCH(int, reports);
    QTemporaryDir home;
    QProcessEnvironment env = TestProgram::Environment(home.path());
    if (!items.isEmpty()) {
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral("PlayList")));
        QFile list(home.filePath(QStringLiteral("PlayList/0.MLF")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write((QStringList{QStringLiteral("{bench}")} + items).join("\r\n").toLatin1() +
                   "\r\n");
    }
    if (asked)
        env.insert(QStringLiteral("MELODECK_REPORT_LENGTHS"), QStringLiteral("1"));
    // The screenshot hook ends the program the normal way after a while.
    env.insert(QStringLiteral("MELODECK_SCREENSHOT"), home.filePath(QStringLiteral("shot.png")));
    env.insert(QStringLiteral("MELODECK_SCREENSHOT_MS"), QStringLiteral("3000"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(TestProgram::Path(), {});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitCode(), 0);
    const QByteArray err = program.readAllStandardError();
    QVERIFY2(err.count("lengths read\n") == reports, err.constData());
}

QTEST_MAIN(TestLengthsReport)
#include "tst_LengthsReport.moc"
