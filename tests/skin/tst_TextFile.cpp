#include "skin/ModTextFile.h"
#include "skin/RecordingPrompts.h"
#include "winsvc/LegacyText.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace ModTextFile;

class tst_TextFile : public QObject {
    Q_OBJECT

private slots:
    void readEndsEveryLineWithCrLf_data();
    void readEndsEveryLineWithCrLf();
    void readDecodesGb18030();
    void readFailureReportsPath_data();
    void readFailureReportsPath();
    void roundTripDoesNotGrow_data();
    void roundTripDoesNotGrow();
    void writeFailureReportsPath();
    void writeReplacesLongerFile();
    void listFilesInNaturalOrder();
    void listFilesNothingMatchingLeavesArray();
    void listSkinFolders();
    void naturalLess_data();
    void naturalLess();

private:
    QString bytesFile(const QString& name, const QByteArray& bytes);
    QTemporaryDir m_dir;
};

QString tst_TextFile::bytesFile(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_TextFile::readEndsEveryLineWithCrLf_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no final line end") << QByteArray("a\r\nb") << "a\r\nb\r\n";
    QTest::newRow("final CR LF") << QByteArray("a\r\nb\r\n") << "a\r\nb\r\n";
    QTest::newRow("LF line ends") << QByteArray("a\nb\n") << "a\r\nb\r\n";
    QTest::newRow("CR line ends") << QByteArray("a\rb") << "a\r\nb\r\n";
    QTest::newRow("blank lines kept") << QByteArray("a\r\n\r\n\nb") << "a\r\n\r\n\r\nb\r\n";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("single line end") << QByteArray("\r\n") << "\r\n";
}

void tst_TextFile::readEndsEveryLineWithCrLf() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    RecordingPrompts prompts;
    QCOMPARE(ReadTextFile(bytesFile("lines.txt", bytes), prompts), expected);
    QVERIFY(prompts.messages.isEmpty());
}

void tst_TextFile::readDecodesGb18030() {
    // "{默认}" in GBK, then a line with a euro sign (GB18030 four-byte form).
    const QByteArray bytes = "{\xC4\xAC\xC8\xCF}\r\nx=\xA2\xE3";
    RecordingPrompts prompts;
    QCOMPARE(ReadTextFile(bytesFile("gb.MLF", bytes), prompts),
             QString::fromUtf8("{默认}\r\nx=€\r\n"));
}

void tst_TextFile::readFailureReportsPath_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("missing file") << "nothing-here.txt";
    QTest::newRow("a directory") << "subdir";
    // Neither may block or read without end.
    QVERIFY(mkfifo(QFile::encodeName(m_dir.filePath("fifo.MLF")).constData(), 0600) == 0);
    QTest::newRow("a FIFO") << "fifo.MLF";
    QVERIFY(QFile::link("/dev/zero", m_dir.filePath("zero.MLF")));
    QTest::newRow("a link to /dev/zero") << "zero.MLF";
    QFile sparse(m_dir.filePath("huge.MLF"));
    QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(ModTextFile::kMaxTextFileSize + 1));
    QTest::newRow("over 64 MiB") << "huge.MLF";
}

void tst_TextFile::readFailureReportsPath() {
    QFETCH(QString, name);
    QVERIFY(QDir(m_dir.path()).mkpath("subdir"));
    const QString path = m_dir.filePath(name);
    RecordingPrompts prompts;
    QCOMPARE(ReadTextFile(path, prompts), QString());
    QCOMPARE(prompts.messages, QStringList{path + QString::fromUtf8("文件读取错误")});
}

void tst_TextFile::roundTripDoesNotGrow_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("playlist") << QString::fromUtf8("{默认}\r\n歌=http://a/b.mp3\r\n");
    QTest::newRow("no final line end") << QString("{x}\r\nt=p");
    QTest::newRow("LF only") << QString("{x}\nt=p\n");
    QTest::newRow("empty") << QString();
    QTest::newRow("blank last line") << QString("{x}\r\n\r\n");
}

void tst_TextFile::roundTripDoesNotGrow() {
    QFETCH(QString, text);
    const QString path = m_dir.filePath("round.MLF");
    RecordingPrompts prompts;
    QVERIFY(WriteTextFile(path, text, prompts));
    const QString first = ReadTextFile(path, prompts);
    if (text.isEmpty() || text.endsWith("\r\n"))
        QCOMPARE(first, text); // text as ReadTextFile gives it survives unchanged
    for (int i = 0; i < 3; ++i) {
        QVERIFY(WriteTextFile(path, first, prompts));
        QCOMPARE(ReadTextFile(path, prompts), first);
    }
    QVERIFY(prompts.messages.isEmpty());
}

void tst_TextFile::writeFailureReportsPath() {
    RecordingPrompts prompts;
    const QString intoMissing = m_dir.filePath("no/such/folder/0.MLF");
    QVERIFY(!WriteTextFile(intoMissing, "x", prompts));
    QVERIFY(QDir(m_dir.path()).mkpath("taken"));
    const QString onDirectory = m_dir.filePath("taken");
    QVERIFY(!WriteTextFile(onDirectory, "x", prompts));
    QCOMPARE(prompts.messages, (QStringList{intoMissing + QString::fromUtf8("文件保存错误"),
                                            onDirectory + QString::fromUtf8("文件保存错误")}));
    QVERIFY(QFileInfo(onDirectory).isDir());
}

void tst_TextFile::writeReplacesLongerFile() {
    const QString path = bytesFile("shrink.MLF", QByteArray(1000, 'z'));
    RecordingPrompts prompts;
    QVERIFY(WriteTextFile(path, QString::fromUtf8("短\r\n"), prompts));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), LegacyText::ToGb18030(QString::fromUtf8("短\r\n")));
}

void tst_TextFile::listFilesInNaturalOrder() {
    QTemporaryDir dir;
    for (const char* name : {"10.MLF", "2.MLF", "0.mlf", "1.MLF", "11.Mlf", "notes.txt", ".9.MLF"})
        QVERIFY(QFile(dir.filePath(name)).open(QIODevice::WriteOnly));
    QVERIFY(QDir(dir.path()).mkpath("3.MLF")); // a folder, not a file
    QStringList names{"stale"};
    QVERIFY(ListFiles(dir.path(), names, "*.MLF"));
    QCOMPARE(names, (QStringList{"0.mlf", "1.MLF", "2.MLF", "10.MLF", "11.Mlf"}));
    // A folder written with backslashes and a trailing separator works too.
    QString windowsStyle = dir.path() + "/";
    windowsStyle.replace('/', '\\');
    QStringList again;
    QVERIFY(ListFiles(windowsStyle, again, "*.mlf"));
    QCOMPARE(again, names);
}

void tst_TextFile::listFilesNothingMatchingLeavesArray() {
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath("a.txt")).open(QIODevice::WriteOnly));
    QStringList names{"keep", "these"};
    QVERIFY(!ListFiles(dir.path(), names, "*.MLF"));
    QVERIFY(!ListFiles(dir.filePath("missing"), names, "*.MLF"));
    QCOMPARE(names, (QStringList{"keep", "these"}));
}

void tst_TextFile::listSkinFolders() {
    QTemporaryDir dir;
    for (const char* name : {"Winamp Modern", "Default", "skin10", "skin9", ".hidden"})
        QVERIFY(QDir(dir.path()).mkpath(name));
    QVERIFY(QFile(dir.filePath("readme.txt")).open(QIODevice::WriteOnly));
    const auto folders = ListSkinFolders(dir.path());
    QVERIFY(folders.has_value());
    QStringList names;
    for (const FolderEntry& entry : *folders) {
        names << entry.Name;
        QCOMPARE(entry.Path, dir.path() + "/" + entry.Name);
        QVERIFY(QFileInfo(entry.Path).isDir());
    }
    QCOMPARE(names, (QStringList{"Default", "skin9", "skin10", "Winamp Modern"}));
    QVERIFY(!ListSkinFolders(dir.filePath("missing")).has_value());
}

void tst_TextFile::naturalLess_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::newRow("numbers by value") << "2.MLF"
                                      << "10.MLF";
    QTest::newRow("leading zeros") << "007"
                                   << "8";
    QTest::newRow("case ignored") << "apple"
                                  << "Banana";
    QTest::newRow("prefix first") << "a"
                                  << "a1";
    QTest::newRow("number inside") << "list2b"
                                   << "list12a";
    QTest::newRow("tie broken") << "01"
                                << "1";
    QTest::newRow("huge numbers") << "99999999999999999999"
                                  << "100000000000000000000";
}

void tst_TextFile::naturalLess() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QVERIFY(NaturalLess(a, b));
    QVERIFY(!NaturalLess(b, a));
    QVERIFY(!NaturalLess(a, a));
}

QTEST_GUILESS_MAIN(tst_TextFile)
#include "tst_TextFile.moc"
