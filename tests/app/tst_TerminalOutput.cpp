// What the real program prints on the terminal when a tag or the item text
// holds terminal control sequences: the text arrives, the sequences do not.
#include "support/TestMedia.h"
#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestTerminalOutput : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void controlSequencesNeverReachTheTerminal_data();
    void controlSequencesNeverReachTheTerminal();

private:
    QTemporaryDir m_dir;
    QString m_program;
};

namespace {

// Sets the title of the terminal window, then clears the screen.
const QByteArray kHostile = QByteArray("\x1b]0;owned\x07") + "\x1b[2J";

} // namespace

void TestTerminalOutput::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_program = TestProgram::Path();
    QVERIFY2(QFileInfo(m_program).isExecutable(), qPrintable(m_program));
}

void TestTerminalOutput::controlSequencesNeverReachTheTerminal_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("file");       // written to `item` when not empty
    QTest::addColumn<QString>("expectedOut");   // a line the program prints on stdout
    QTest::addColumn<QString>("expectedError"); // text on stderr
    const QString tagged = m_dir.filePath(QStringLiteral("tagged.mp3"));
    QTest::newRow("ID3 title") << tagged << TestMedia::SilentMp3(1.0, "Song" + kHostile + "End")
                               << QStringLiteral("正在播放: Song]0;owned[2JEnd") << QString();
    const QString named = m_dir.filePath(QString::fromLatin1("gone" + kHostile + ".mp3"));
    QTest::newRow("item text") << named << QByteArray()
                               << QStringLiteral("正在播放: gone]0;owned[2J")
                               << QStringLiteral("[2J.mp3 无法播放");
    const QString longTitle = m_dir.filePath(QStringLiteral("long.mp3"));
    QTest::newRow("huge title") << longTitle << TestMedia::SilentMp3(1.0, QByteArray(50000, 'A'))
                                << QStringLiteral("正在播放: ") + QString(200, 'A') + QChar(0x2026)
                                << QString();
}

void TestTerminalOutput::controlSequencesNeverReachTheTerminal() {
    QFETCH(QString, item);
    QFETCH(QByteArray, file);
    QFETCH(QString, expectedOut);
    QFETCH(QString, expectedError);
    if (!file.isEmpty())
        QVERIFY(TestMedia::WriteFile(item, file));

    QProcess program;
    QTemporaryDir home;
    QProcessEnvironment env = TestProgram::Environment(home.path());
    // The screenshot hook ends the program once the item has had its turn.
    env.insert(QStringLiteral("MELODECK_SCREENSHOT"), m_dir.filePath(QStringLiteral("shot.png")));
    env.insert(QStringLiteral("MELODECK_SCREENSHOT_MS"), QStringLiteral("1500"));
    program.setProcessEnvironment(env);
    program.start(m_program, {item});
    QVERIFY(program.waitForFinished(30000));
    const QByteArray out = program.readAllStandardOutput();
    const QByteArray err = program.readAllStandardError();
    for (const QByteArray& stream : {out, err}) {
        QVERIFY2(!stream.contains('\x1b'), stream.toPercentEncoding(" /:").constData());
        QVERIFY(!stream.contains('\x07'));
    }
    QVERIFY2(QString::fromUtf8(out).split(QLatin1Char('\n')).contains(expectedOut),
             out.constData());
    QVERIFY2(QString::fromUtf8(err).contains(expectedError), err.constData());
}

QTEST_MAIN(TestTerminalOutput)
#include "tst_TerminalOutput.moc"
