#include "skin/SkinImages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

// What a skin folder may and may not show: only regular picture files of
// reasonable size that lie inside the folder.
class tst_SkinImages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void load_data();
    void load();

private:
    QString picture(const QString& relativePath, int w, int h);
    QString m_folder;
    QTemporaryDir m_dir;
};

QString tst_SkinImages::picture(const QString& relativePath, int w, int h) {
    const QString path = m_dir.filePath(relativePath);
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(10, 20, 30));
    if (!image.save(path, "BMP"))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_SkinImages::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_folder = m_dir.filePath("skins/Mine");
    QVERIFY(QDir().mkpath(m_folder + "/sub"));
    const QString outside = picture("outside.bmp", 4, 4);
    picture("skins/elsewhere.bmp", 4, 4);
    picture("skins/Mine/sub/ok.bmp", 4, 4);
    picture("skins/Mine/wide.bmp", kMaxSkinSide + 1, 2);
    picture("skins/Mine/tall.bmp", 2, kMaxSkinSide + 1);
    picture("skins/Mine/largest.bmp", kMaxSkinSide, 2);
    QVERIFY(QFile::link(outside, m_folder + "/leak.bmp"));
    QVERIFY(QFile::link(m_folder + "/sub/ok.bmp", m_folder + "/alias.bmp"));
    QVERIFY(QFile::link("/dev/zero", m_folder + "/zero.bmp"));
    QVERIFY(mkfifo(QFile::encodeName(m_folder + "/fifo.bmp").constData(), 0600) == 0);
}

void tst_SkinImages::load_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("loads");
    QTest::newRow("inside") << "sub/ok.bmp" << true;
    QTest::newRow("inside, back slash") << "sub\\ok.bmp" << true;
    QTest::newRow("link to a file inside") << "alias.bmp" << true;
    QTest::newRow("4096 pixels wide") << "largest.bmp" << true;
    QTest::newRow("parent, slash") << "../../outside.bmp" << false;
    QTest::newRow("parent, back slash") << "..\\..\\outside.bmp" << false;
    QTest::newRow("sibling folder") << "../elsewhere.bmp" << false;
    QTest::newRow("down and out") << "sub/../../../outside.bmp" << false;
    QTest::newRow("absolute path") << m_dir.filePath("outside.bmp") << false;
    QTest::newRow("link leading outside") << "leak.bmp" << false;
    QTest::newRow("link to /dev/zero") << "zero.bmp" << false;
    QTest::newRow("FIFO") << "fifo.bmp" << false;
    QTest::newRow("4097 pixels wide") << "wide.bmp" << false;
    QTest::newRow("4097 pixels tall") << "tall.bmp" << false;
}

void tst_SkinImages::load() {
    QFETCH(QString, name);
    QFETCH(bool, loads);
    SkinImages images(m_folder);
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(images.Load(name), loads);
    QVERIFY(timer.elapsed() < 5000);
    QCOMPARE(images.Image(name).isNull(), !loads);
    if (!loads)
        QCOMPARE(images.FailedFile(), images.PathOf(name));
}

QTEST_GUILESS_MAIN(tst_SkinImages)
#include "tst_SkinImages.moc"
