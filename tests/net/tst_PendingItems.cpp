// Items kept by a second start that could not hand them over: what the next
// start takes, and what it leaves alone because this program did not write it.
#include "net/PendingItems.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class tst_PendingItems : public QObject {
    Q_OBJECT
private slots:
    void keptItemsComeBackOnce();
    void foreignFilesAreLeftAlone_data();
    void foreignFilesAreLeftAlone();
};

void tst_PendingItems::keptItemsComeBackOnce() {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("data"));
    QVERIFY(
        PendingItems::Keep(folder, {QStringLiteral("/music/a b.mp3"), QStringLiteral("歌.wav")}));
    QVERIFY(PendingItems::Keep(folder, {QStringLiteral("http://127.0.0.1:9/x.mp3")}));
    QString error;
    QCOMPARE(PendingItems::Take(folder, error),
             (QStringList{"/music/a b.mp3", "歌.wav", "http://127.0.0.1:9/x.mp3"}));
    QVERIFY(error.isEmpty());
    QCOMPARE(PendingItems::Take(folder, error), QStringList());
    QVERIFY(error.isEmpty());
}

void tst_PendingItems::foreignFilesAreLeftAlone_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("symbolic link") << "link";
    QTest::newRow("fifo") << "fifo";
    QTest::newRow("folder") << "folder";
    QTest::newRow("over the cap") << "huge";
}

void tst_PendingItems::foreignFilesAreLeftAlone() {
    QFETCH(QString, kind);
    QTemporaryDir dir;
    const QString path = dir.filePath(QLatin1String(PendingItems::FileName));
    const QString target = dir.filePath(QStringLiteral("target"));
    QFile file(kind == "huge" ? path : target);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(kind == "huge" ? QByteArray(PendingItems::kMaxBytes + 1, 'a') : "a\0b");
    file.close();
    if (kind == "link")
        QVERIFY(QFile::link(target, path));
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == "folder")
        QVERIFY(QDir().mkpath(path));
    QString error;
    QCOMPARE(PendingItems::Take(dir.path(), error), QStringList());
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(path).exists() || QFileInfo(path).isSymLink());
    if (kind == "link")
        QVERIFY(!PendingItems::Keep(dir.path(), {QStringLiteral("x")}));
}

QTEST_MAIN(tst_PendingItems)
#include "tst_PendingItems.moc"
