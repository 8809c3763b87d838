// The tag reader on files that are not what their names promise: it reads
// only regular files, never waits on one, and keeps tag text to a sane size.
#include "playback/MediaTagReader.h"
#include "support/TestMedia.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

class TestMediaTagReader : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readsOnlyRegularFiles_data();
    void readsOnlyRegularFiles();
    void readsRegularFiles_data();
    void readsRegularFiles();

private:
    QTemporaryDir m_dir;
    QString m_fifo;
};

void TestMediaTagReader::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_fifo = m_dir.filePath(QStringLiteral("pipe.mp3"));
    QCOMPARE(::mkfifo(QFile::encodeName(m_fifo).constData(), 0600), 0);
}

void TestMediaTagReader::readsOnlyRegularFiles_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("linkTarget"); // `path` is made a link to it when given
    QTest::newRow("FIFO") << m_fifo << QString();
    QTest::newRow("link to a FIFO") << m_dir.filePath(QStringLiteral("to-pipe.mp3")) << m_fifo;
    QTest::newRow("link to an endless device")
        << m_dir.filePath(QStringLiteral("zero.mp3")) << QStringLiteral("/dev/zero");
    QTest::newRow("folder") << m_dir.filePath(QStringLiteral("folder.mp3")) << QString();
}

void TestMediaTagReader::readsOnlyRegularFiles() {
    QFETCH(QString, path);
    QFETCH(QString, linkTarget);
    if (!linkTarget.isEmpty())
        QVERIFY(QFile::link(linkTarget, path));
    else if (path.endsWith(QLatin1String("folder.mp3")))
        QVERIFY(QDir().mkpath(path));

    auto reading = std::async(std::launch::async, [path] { return MediaTagReader::Read(path); });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        // Let a reader stuck on the FIFO go (it sees a writer come and leave)
        // before failing.
        const int fd = ::open(QFile::encodeName(m_fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
        reading.wait();
        QFAIL("the tag reader waited on a file that is not a regular file");
    }
    const EngineMedia media = reading.get();
    QCOMPARE(media.duration(), 0.0);
    QCOMPARE(media.getItemInfo(QStringLiteral("title")), QString());
}

void TestMediaTagReader::readsRegularFiles_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("titleLength");
    // The format is recognised from the content, whatever the name says.
    QTest::newRow("wav") << TestMedia::SilentWav(2.0) << 2.0 << 0;
    QTest::newRow("mp3 with ID3v1") << TestMedia::SilentMp3WithId3v1(1.0, "Title") << 1.0 << 5;
    // A huge title is cut, with "…" in place of the rest.
    QTest::newRow("huge title") << TestMedia::SilentMp3(1.0, QByteArray(200000, 'A')) << 1.0
                                << 1025;
}

void TestMediaTagReader::readsRegularFiles() {
    QFETCH(QByteArray, file);
    QFETCH(double, seconds);
    QFETCH(int, titleLength);
    const QString path = m_dir.filePath(QStringLiteral("item.wma"));
    QVERIFY(TestMedia::WriteFile(path, file));
    const EngineMedia media = MediaTagReader::Read(path);
    QCOMPARE(media.getItemInfo(QStringLiteral("title")).size(), titleLength);
    QVERIFY2(qAbs(media.duration() - seconds) < 0.1, qPrintable(QString::number(media.duration())));
}

QTEST_MAIN(TestMediaTagReader)
#include "tst_MediaTagReader.moc"
