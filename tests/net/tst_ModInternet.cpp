#include "DripServer.h"
#include "TestHttpServer.h"

#include "net/InteractiveFetches.h"
#include "net/ModInternet.h"
#include "net/ServiceAddresses.h"
#include "net/frmFetchProgress.h"
#include "winsvc/LegacyText.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

const QString kSunny = QStringLiteral("晴天");
const QByteArray kSunnyUtf8 = kSunny.toUtf8();
const QByteArray kSunnyGbk = LegacyText::ToGb18030(kSunny);

QByteArray RedirectOrBody(const QByteArray& requestLine) {
    // "GET /r/<n> ..." redirects n more times, then answers "end".
    const QList<QByteArray> parts = requestLine.split(' ');
    const QByteArray path = parts.value(1);
    const int left = path.mid(3).toInt();
    if (left == 0)
        return TestHttpServer::Response("end");
    return TestHttpServer::Response({}, 302,
                                    "Location: /r/" + QByteArray::number(left - 1) + "\r\n");
}

} // namespace

class tst_ModInternet : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void charset_data();
    void charset();
    void answers_data();
    void answers();
    void redirects_data();
    void redirects();
    void connectionRefused();
    void silentServerTimesOutWhileTimersRun();
    void interactiveWait_data();
    void interactiveWait();
    void searchRequestLine_data();
    void searchRequestLine();
    void serviceAddresses();
};

void tst_ModInternet::cleanup() {
    qunsetenv("MELODECK_SEARCH_URL");
    qunsetenv("MELODECK_UPDATE_URL");
}

void tst_ModInternet::charset_data() {
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<QString>("expected");

    const QByteArray utf8Tag = "<meta charset=\"UTF-8\">";
    const QByteArray gbTag =
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">";
    const QByteArray utf8Lower = "<meta content='text/html; charset=utf-8'>";
    const auto ok = [](const QByteArray& body, const QByteArray& headers = {}) {
        return TestHttpServer::Response(body, 200, headers);
    };
    QTest::newRow("no meta: UTF-8 bytes read as GBK")
        << ok(kSunnyUtf8) << LegacyText::FromGb18030(kSunnyUtf8);
    QTest::newRow("GBK body") << ok(kSunnyGbk) << kSunny;
    QTest::newRow("one UTF-8 tag, upper case")
        << ok(utf8Tag + kSunnyUtf8) << QString::fromUtf8(utf8Tag) + kSunny;
    QTest::newRow("gb2312 then utf-8")
        << ok(gbTag + utf8Lower + kSunnyUtf8) << QString::fromLatin1(gbTag + utf8Lower) + kSunny;
    QTest::newRow("utf-8 then gb2312")
        << ok(utf8Lower + gbTag + kSunnyGbk) << QString::fromLatin1(utf8Lower + gbTag) + kSunny;
    QTest::newRow("a tag naming neither keeps the choice before it")
        << ok(utf8Tag + "<meta name=\"author\">" + kSunnyUtf8)
        << QString::fromUtf8(utf8Tag) + "<meta name=\"author\">" + kSunny;
    QTest::newRow("Content-Type header ignored")
        << ok(kSunnyGbk, "Content-Type: text/html; charset=utf-8\r\n") << kSunny;
    QTest::newRow("upper-case META is no meta tag")
        << ok("<META charset=utf-8>" + kSunnyGbk) << "<META charset=utf-8>" + kSunny;
    QTest::newRow("charset after the tag's end does not count")
        << ok("<meta name=x>utf-8" + kSunnyGbk) << "<meta name=x>utf-8" + kSunny;
    QTest::newRow("UTF-8 byte order mark dropped")
        << ok("\xEF\xBB\xBF" + utf8Tag + kSunnyUtf8) << QString::fromUtf8(utf8Tag) + kSunny;
    QTest::newRow("byte order mark without a tag: UTF-8")
        << ok("\xEF\xBB\xBF" + kSunnyUtf8) << kSunny;
    QTest::newRow("byte order mark outranks a gb2312 tag")
        << ok("\xEF\xBB\xBF" + gbTag + kSunnyUtf8) << QString::fromLatin1(gbTag) + kSunny;
    QTest::newRow("unclosed tags: the last one's piece decides")
        << ok(QByteArray("<meta ").repeated(1000) + "<meta utf-8 " + kSunnyUtf8)
        << QString::fromUtf8(QByteArray("<meta ").repeated(1000) + "<meta utf-8 ") + kSunny;
    QTest::newRow("unclosed tags, then a closed gb2312 one")
        << ok(QByteArray("<meta utf-8").repeated(1000) + gbTag + kSunnyGbk)
        << QString::fromLatin1(QByteArray("<meta utf-8").repeated(1000) + gbTag) + kSunny;
    QTest::newRow("error page is a body") << TestHttpServer::Response(kSunnyGbk, 404) << kSunny;
    QTest::newRow("empty body") << ok({}) << QString();
}

void tst_ModInternet::charset() {
    QFETCH(QByteArray, response);
    QFETCH(QString, expected);
    TestHttpServer server([response](const QByteArray&) { return response; });
    QCOMPARE(ModInternet::HttpGet(server.Base() + "page.html"), expected);
    QCOMPARE(server.RequestLines(), QList<QByteArray>{"GET /page.html HTTP/1.1"});
}

void tst_ModInternet::answers_data() {
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<QString>("expected");

    const QByteArray limit(ModInternet::kMaxBodyBytes, 'a');
    const QByteArray over(5 * 1024 * 1024, 'a');
    QTest::newRow("exactly the limit")
        << TestHttpServer::Response(limit) << QString::fromLatin1(limit);
    QTest::newRow("5 MiB with its length") << TestHttpServer::Response(over) << QString();
    QTest::newRow("5 MiB without a length")
        << TestHttpServer::Response(over, 200, {}, false) << QString();
    QTest::newRow("cut short of its declared length")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort") << QString();
    QTest::newRow("not HTTP") << QByteArray("hello\r\n\r\n") << QString();
}

void tst_ModInternet::answers() {
    QFETCH(QByteArray, response);
    QFETCH(QString, expected);
    TestHttpServer server([response](const QByteArray&) { return response; });
    const QString text = ModInternet::HttpGet(server.Base());
    QCOMPARE(text.size(), expected.size());
    QVERIFY(text == expected);
}

void tst_ModInternet::redirects_data() {
    QTest::addColumn<int>("hops");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << 0 << "end";
    QTest::newRow("five") << 5 << "end";
    QTest::newRow("six") << 6 << QString();
}

void tst_ModInternet::redirects() {
    QFETCH(int, hops);
    QFETCH(QString, expected);
    TestHttpServer server(RedirectOrBody);
    QCOMPARE(ModInternet::HttpGet(server.Base() + "r/" + QString::number(hops)), expected);
}

void tst_ModInternet::connectionRefused() {
    const quint16 port = TestHttpServer::ClosedPort();
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ModInternet::HttpGet(QStringLiteral("http://127.0.0.1:%1/").arg(port)), QString());
    QVERIFY(clock.elapsed() < 5000);
    // Addresses that are no web addresses are not fetched at all.
    for (const char* url : {"file:///etc/hostname", "", "not a url", "http:///nohost"})
        QCOMPARE(ModInternet::HttpGet(QString::fromLatin1(url)), QString());
}

void tst_ModInternet::silentServerTimesOutWhileTimersRun() {
    TestHttpServer server([](const QByteArray&) { return std::nullopt; });
    int ticks = 0;
    QTimer repaint;
    connect(&repaint, &QTimer::timeout, [&] { ++ticks; });
    repaint.start(20);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(ModInternet::HttpGet(server.Base(), 400ms), QString());
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 380 && elapsed < 5000, QByteArray::number(elapsed));
    QCOMPARE(server.Connections(), 1);
    QVERIFY2(ticks >= 3, QByteArray::number(ticks)); // the loop kept serving timers
}

// What the user does during a wait, through InteractiveFetches and real
// widgets, against a server that never answers or drips its answer.
void tst_ModInternet::interactiveWait_data() {
    QTest::addColumn<int>("length"); // of the dripped body; -1: never answers
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("atMs");
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("cancelled");
    QTest::addColumn<bool>("progressShown");

    QTest::newRow("silent, cancelled by a call")
        << -1 << 50 << "cancel" << 100 << "" << true << false;
    QTest::newRow("dripping, cancelled by a call")
        << 100000 << 50 << "cancel" << 100 << "" << true << false;
    QTest::newRow("silent, Escape in another window")
        << -1 << 50 << "escape" << 100 << "" << true << false;
    QTest::newRow("dripping, the progress window's cancel")
        << 100000 << 50 << "cancel button" << 800 << "" << true << true;
    QTest::newRow("silent, Escape in the progress window")
        << -1 << 50 << "escape in progress" << 800 << "" << true << true;
    QTest::newRow("silent, clicks dropped, the let-through button cancels")
        << -1 << 50 << "clicks" << 100 << "" << true << false;
    QTest::newRow("slow answer: the progress comes and goes")
        << 10 << 80 << "none" << 0 << "xxxxxxxxxx" << false << true;
    QTest::newRow("quick answer: no progress window")
        << 3 << 20 << "none" << 0 << "xxx" << false << false;
}

void tst_ModInternet::interactiveWait() {
    QFETCH(int, length);
    QFETCH(int, gapMs);
    QFETCH(QString, action);
    QFETCH(int, atMs);
    QFETCH(QString, body);
    QFETCH(bool, cancelled);
    QFETCH(bool, progressShown);

    QWidget window;
    auto* elsewhere = new QPushButton(QStringLiteral("play"), &window);
    auto* through = new QPushButton(QStringLiteral("exit"), &window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(elsewhere);
    layout->addWidget(through);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    InteractiveFetches fetches(&window);
    fetches.LetThrough(through);
    int elsewhereClicks = 0;
    connect(elsewhere, &QPushButton::clicked, [&] { ++elsewhereClicks; });
    connect(through, &QPushButton::clicked, [&] { fetches.CancelAll(); });

    const auto act = [&] {
        frmFetchProgress* progress = fetches.Progress();
        if (action == "cancel")
            fetches.CancelAll();
        else if (action == "escape")
            QTest::keyClick(elsewhere, Qt::Key_Escape);
        else if (action == "cancel button" && progress)
            QTest::mouseClick(progress->cmdCancel, Qt::LeftButton);
        else if (action == "escape in progress" && progress)
            QTest::keyClick(progress, Qt::Key_Escape);
        else if (action == "clicks") {
            QTest::mouseClick(elsewhere, Qt::LeftButton);
            QTest::keyClick(elsewhere, Qt::Key_Space);
            QTest::mouseClick(through, Qt::LeftButton);
        }
    };
    if (action != "none")
        QTimer::singleShot(atMs, act);
    bool progressSeen = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout,
            [&] { progressSeen |= fetches.Progress() && fetches.Progress()->isVisible(); });
    watch.start(20);

    DripServer server(length, std::chrono::milliseconds(gapMs));
    QElapsedTimer clock;
    clock.start();
    const ModInternet::HttpAnswer answer =
        ModInternet::HttpFetch(server.Base(), 10s, &fetches, QStringLiteral("正在搜索..."));
    const qint64 elapsed = clock.elapsed();
    watch.stop();

    QCOMPARE(answer.Cancelled, cancelled);
    QCOMPARE(answer.Body, body);
    QCOMPARE(progressSeen, progressShown);
    QCOMPARE(server.Requests(), 1);
    if (cancelled) {
        QVERIFY2(elapsed < atMs + 1000, QByteArray::number(elapsed));
        // Aborted, not left running behind the program's back.
        QTRY_COMPARE_WITH_TIMEOUT(server.Dropped(), 1, 2000);
    }
    // The wait is over: nothing left of it, and the program takes input.
    QCOMPARE(fetches.Waiting(), 0);
    QVERIFY(!QGuiApplication::overrideCursor());
    QVERIFY(!fetches.Progress() || !fetches.Progress()->isVisible());
    QCOMPARE(elsewhereClicks, 0);
    QTest::mouseClick(elsewhere, Qt::LeftButton);
    QCOMPARE(elsewhereClicks, 1);
    TestHttpServer working(QByteArray("ok"));
    QCOMPARE(ModInternet::HttpFetch(working.Base(), 10s, &fetches).Body, QStringLiteral("ok"));
}

void tst_ModInternet::searchRequestLine_data() {
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("singer");
    QTest::addColumn<QString>("song");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QByteArray>("target");

    QTest::newRow("plain") << "/"
                           << "A"
                           << "B"
                           << "-1" << QByteArray("/xmlhttp.asp?singer=A&song=B&page=0&Type=-1");
    QTest::newRow("Chinese, UTF-8 percent-encoded")
        << "/" << QStringLiteral("周杰伦") << kSunny << "0"
        << QByteArray("/xmlhttp.asp?singer=%E5%91%A8%E6%9D%B0%E4%BC%A6"
                      "&song=%E6%99%B4%E5%A4%A9&page=0&Type=0");
    QTest::newRow("& still splits, = and + unchanged")
        << "/"
        << "A&B"
        << "x=y+z"
        << "2" << QByteArray("/xmlhttp.asp?singer=A&B&song=x=y+z&page=0&Type=2");
    QTest::newRow("space, # and % encoded")
        << "/"
        << "a b#c"
        << "100%"
        << "-1" << QByteArray("/xmlhttp.asp?singer=a%20b%23c&song=100%25&page=0&Type=-1");
    QTest::newRow("characters outside the URL syntax encoded, the rest as they stand")
        << "/"
        << "<a>\"{|}\\^`"
        << "[x]'!$"
        << "-1"
        << QByteArray(
               "/xmlhttp.asp?singer=%3Ca%3E%22%7B%7C%7D%5C%5E%60&song=[x]'!$&page=0&Type=-1");
    QTest::newRow("empty values, base in a folder without final slash")
        << "/melodeck/5.0/MelodeckInterFace"
        << ""
        << ""
        << "-1"
        << QByteArray("/melodeck/5.0/MelodeckInterFace/xmlhttp.asp?singer=&song=&page=0&Type=-1");
}

void tst_ModInternet::searchRequestLine() {
    QFETCH(QString, base);
    QFETCH(QString, singer);
    QFETCH(QString, song);
    QFETCH(QString, type);
    QFETCH(QByteArray, target);
    TestHttpServer server(QByteArray("http://a/1.mp3<br/>"));
    qputenv("MELODECK_SEARCH_URL", (server.Base().chopped(1) + base).toUtf8());
    QCOMPARE(ModInternet::SearchSongs(singer, song, type), QStringLiteral("http://a/1.mp3<br/>"));
    QCOMPARE(server.RequestLines(), QList<QByteArray>{"GET " + target + " HTTP/1.1"});
}

void tst_ModInternet::serviceAddresses() {
    QVERIFY(ServiceAddresses::SearchBase().startsWith("http://"));
    QVERIFY(ServiceAddresses::SearchBase().endsWith("/MelodeckInterFace/"));
    qputenv("MELODECK_UPDATE_URL", "http://lan:8080");
    QCOMPARE(ServiceAddresses::VersionFileUrl(),
             QStringLiteral("http://lan:8080/melodeck/5.0/update/version.txt"));
}

QTEST_MAIN(tst_ModInternet)
#include "tst_ModInternet.moc"
