#include "skin/RecordingPrompts.h"
#include "support/TestMedia.h"

#include "net/ModInternet.h"
#include "net/ModLink.h"
#include "net/ServiceAddresses.h"

#include <QDir>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The reference search service as a real process over a folder of generated
// files, asked the way the player asks it.
class tst_MelodeckSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void search_data();
    void search();
    void linkResolvesToServedFiles();
    void versionFile();

private:
    // Raw bytes of `url` (the files are binary, so not through HttpGet).
    QByteArray Fetch(const QString& url);

    QTemporaryDir m_music;
    QProcess m_service;
    QString m_base;
    // File bytes -> path under the folder, to tell which file an address serves.
    QHash<QByteArray, QString> m_byContent;
};

void tst_MelodeckSearch::initTestCase() {
    QVERIFY(m_music.isValid());
    const QList<std::pair<QString, QByteArray>> files = {
        {QStringLiteral("Jay Chou/01.mp3"), TestMedia::SilentMp3(0.2, "Sunny Day")},
        {QStringLiteral("Jay Chou/02.mp3"), TestMedia::SilentMp3(0.2, "Rainy Night")},
        {QStringLiteral("Faye/03.mp3"), TestMedia::SilentMp3(0.3, "Sunny Day")},
        {QStringLiteral("Faye/red bean.wma"), QByteArray("not really wma")},
        {QStringLiteral("王菲/红豆.mp3"), TestMedia::SilentMp3(0.4)},
        {QStringLiteral("Faye/sunny notes.txt"), QByteArray("not media")},
    };
    for (const auto& [name, bytes] : files) {
        QVERIFY(QDir(m_music.path()).mkpath(QFileInfo(name).path()));
        QVERIFY(TestMedia::WriteFile(m_music.filePath(name), bytes));
        m_byContent.insert(bytes, name);
    }
    m_service.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_service.start(QStringLiteral(MELODECK_SEARCH_TOOL),
                    {"--music", m_music.path(), "--port", "0", "--bind", "127.0.0.1",
                     "--version-text", "5.0.008\n"});
    QVERIFY(m_service.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(m_service.canReadLine(), 10000);
    const QByteArray line = m_service.readLine().trimmed();
    QVERIFY2(line.startsWith("port "), line.constData());
    m_base = QStringLiteral("http://127.0.0.1:%1/").arg(QString::fromLatin1(line.mid(5)));
}

void tst_MelodeckSearch::cleanupTestCase() {
    m_service.kill();
    m_service.waitForFinished(5000);
}

QByteArray tst_MelodeckSearch::Fetch(const QString& url) {
    QNetworkAccessManager manager;
    QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(url)));
    QEventLoop loop;
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray bytes =
        reply->error() == QNetworkReply::NoError ? reply->readAll() : "<error>";
    delete reply;
    return bytes;
}

void tst_MelodeckSearch::search_data() {
    QTest::addColumn<QString>("singer");
    QTest::addColumn<QString>("song");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("folder as singer, title tag, any case")
        << "jay chou"
        << "SUNNY"
        << "-1" << QStringList{"Jay Chou/01.mp3"};
    QTest::newRow("any singer, mp3 only, folder order")
        << ""
        << "sunny day"
        << "0" << QStringList{"Faye/03.mp3", "Jay Chou/01.mp3"};
    QTest::newRow("file name match, wma") << "FAYE"
                                          << "red"
                                          << "2" << QStringList{"Faye/red bean.wma"};
    QTest::newRow("type filters it out") << "faye"
                                         << "red"
                                         << "0" << QStringList{};
    QTest::newRow("Chinese names") << QStringLiteral("王菲") << QStringLiteral("红豆") << "-1"
                                   << QStringList{QStringLiteral("王菲/红豆.mp3")};
    QTest::newRow("nothing asked, nothing found") << ""
                                                  << ""
                                                  << "-1" << QStringList{};
    QTest::newRow("unknown type") << "jay"
                                  << ""
                                  << "9" << QStringList{};
    QTest::newRow("other files never served") << ""
                                              << "notes"
                                              << "-1" << QStringList{};
}

void tst_MelodeckSearch::search() {
    QFETCH(QString, singer);
    QFETCH(QString, song);
    QFETCH(QString, type);
    QFETCH(QStringList, files);
    qputenv("MELODECK_SEARCH_URL", m_base.toUtf8());
    const QString answer = ModInternet::SearchSongs(singer, song, type);
    QStringList served;
    for (const QString& address : ModLink::SplitCandidates(answer)) {
        QVERIFY2(address.startsWith(m_base + "file/"), qPrintable(address));
        served << m_byContent.value(Fetch(address), QStringLiteral("<unknown>"));
    }
    QCOMPARE(served, files);
}

void tst_MelodeckSearch::linkResolvesToServedFiles() {
    // The product's folder of the interface works as a base as well.
    qputenv("MELODECK_SEARCH_URL", (m_base + "melodeck/5.0/MelodeckInterFace/").toUtf8());
    RecordingPrompts prompts;
    const auto item =
        ModLink::ResolveLink(QStringLiteral("melodeck://singer=&song=Sunny Day&type=-1"), prompts);
    QVERIFY(item);
    QCOMPARE(item->UrlCol.size(), 2);
    QCOMPARE(item->Path, item->UrlCol.first());
    QCOMPARE(item->Types, MediaKind::Audio);
    QCOMPARE(item->Title, QStringLiteral("Sunny Day"));
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(
        !ModLink::ResolveLink(QStringLiteral("melodeck://singer=nobody&song=x&type=-1"), prompts));
    QCOMPARE(prompts.messages, QStringList{QStringLiteral("找不到该数据！")});
}

void tst_MelodeckSearch::versionFile() {
    qputenv("MELODECK_UPDATE_URL", m_base.toUtf8());
    QCOMPARE(ModInternet::HttpGet(ServiceAddresses::VersionFileUrl()), QStringLiteral("5.0.008\n"));
}

QTEST_MAIN(tst_MelodeckSearch)
#include "tst_MelodeckSearch.moc"
