#include "TestHttpServer.h"
#include "skin/RecordingPrompts.h"

#include "net/ModLink.h"
#include "net/frmMelodeckLink.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using ModLink::LinkItem;

class tst_ModLink : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void parse_data();
    void parse();
    void composeParsesBack_data();
    void composeParsesBack();
    void resolveSearch_data();
    void resolveSearch();
    void directAddressMakesNoRequest_data();
    void directAddressMakesNoRequest();
    void directLocalAddressIsRefused_data();
    void directLocalAddressIsRefused();
    void unreachableServiceReportsNotFound();
    void dialog();
};

void tst_ModLink::cleanup() {
    qunsetenv("MELODECK_SEARCH_URL");
}

void tst_ModLink::parse_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QStringList>("fields"); // singer, song, third
    QTest::addColumn<bool>("direct");

    QTest::newRow("composed order")
        << "melodeck://singer=A&song=B&type=0" << QStringList{"A", "B", "0"} << false;
    QTest::newRow("other order, no type")
        << "melodeck://song=B&singer=A" << QStringList{"A", "B", ""} << false;
    QTest::newRow("direct address")
        << "melodeck://url=X&singer=A&song=B" << QStringList{"A", "B", "X"} << true;
    QTest::newRow("URL= in upper case: address branch, empty address")
        << "melodeck://URL=X&singer=A&song=B&type=2" << QStringList{"A", "B", ""} << true;
    QTest::newRow("address cut at its first &")
        << "melodeck://song=B&url=http://h/a.mp3?x=1&y=2"
        << QStringList{"", "B", "http://h/a.mp3?x=1"} << true;
    QTest::newRow("field name inside an earlier value is found there")
        << "melodeck://singer=xsong=Y&song=B" << QStringList{"xsong=Y", "Y", ""} << false;
    QTest::newRow("Chinese values")
        << QStringLiteral("melodeck://singer=周杰伦&song=晴天&type=-1")
        << QStringList{QStringLiteral("周杰伦"), QStringLiteral("晴天"), "-1"} << false;
    QTest::newRow("empty") << "" << QStringList{"", "", ""} << false;
    QTest::newRow("field names are case-sensitive")
        << "melodeck://Singer=A&SONG=B&Type=1" << QStringList{"", "", ""} << false;
}

void tst_ModLink::parse() {
    QFETCH(QString, link);
    QFETCH(QStringList, fields);
    QFETCH(bool, direct);
    const ModLink::LinkFields parsed = ModLink::ParseLink(link);
    QCOMPARE((QStringList{parsed.Singer, parsed.Song, parsed.Third}), fields);
    QCOMPARE(ModLink::HasDirectAddress(link), direct);
}

void tst_ModLink::composeParsesBack_data() {
    QTest::addColumn<QString>("singer");
    QTest::addColumn<QString>("song");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("link");
    QTest::newRow("empty fields, All") << ""
                                       << "" << -1 << "melodeck://singer=&song=&type=-1";
    QTest::newRow("Flash") << "A"
                           << "B" << 6 << "melodeck://singer=A&song=B&type=6";
    QTest::newRow("Chinese") << QStringLiteral("王菲") << QStringLiteral("红豆") << 0
                             << QStringLiteral("melodeck://singer=王菲&song=红豆&type=0");
}

void tst_ModLink::composeParsesBack() {
    QFETCH(QString, singer);
    QFETCH(QString, song);
    QFETCH(int, type);
    QFETCH(QString, link);
    QCOMPARE(ModLink::ComposeLink(singer, song, type), link);
    const ModLink::LinkFields parsed = ModLink::ParseLink(link);
    QCOMPARE((QStringList{parsed.Singer, parsed.Song, parsed.Third}),
             (QStringList{singer, song, QString::number(type)}));
}

void tst_ModLink::resolveSearch_data() {
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QStringList>("candidates"); // empty: nothing found

    QTest::newRow("three with a trailing separator")
        << QByteArray("http://h/a.mp3<br/>http://h/b.wma<br/>mms://h/c<br/>")
        << QStringList{"http://h/a.mp3", "http://h/b.wma", "mms://h/c"};
    QTest::newRow("empty pieces dropped, order kept")
        << QByteArray("<br/>http://h/2.mp3<br/><br/>http://h/1.mp3")
        << QStringList{"http://h/2.mp3", "http://h/1.mp3"};
    QTest::newRow("separator is case-sensitive")
        << QByteArray("http://h/a.mp3<BR/>http://h/b.mp3")
        << QStringList{"http://h/a.mp3<BR/>http://h/b.mp3"};
    QTest::newRow("local files among mirrors are left out")
        << QByteArray("file:///etc/passwd<br/>http://h/a.mp3<br/>/etc/passwd<br/>song.mp3<br/>"
                      "file://localhost/etc/hosts<br/>https://h/b.mp3")
        << QStringList{"http://h/a.mp3", "https://h/b.mp3"};
    QTest::newRow("addresses with line breaks left out")
        << QByteArray("http://h/a.mp3\r\nx=/etc/passwd<br/>http://h/b.mp3<br/>http://h/\rc.mp3")
        << QStringList{"http://h/b.mp3"};
    QTest::newRow("nothing but local files")
        << QByteArray("/etc/passwd<br/>file:///etc/shadow") << QStringList();
    QStringList hundred;
    QByteArray many;
    for (int i = 0; i < 1000; ++i) {
        const QByteArray address = "http://h/" + QByteArray::number(i) + ".mp3";
        many += address + "<br/>";
        if (i < 100)
            hundred << QString::fromLatin1(address);
    }
    QTest::newRow("1000 mirrors: the first 100") << many << hundred;
    QTest::newRow("empty answer") << QByteArray() << QStringList();
    QTest::newRow("only separators") << QByteArray("<br/><br/>") << QStringList();
}

void tst_ModLink::resolveSearch() {
    QFETCH(QByteArray, answer);
    QFETCH(QStringList, candidates);
    TestHttpServer server(answer);
    qputenv("MELODECK_SEARCH_URL", server.Base().toUtf8());
    RecordingPrompts prompts;
    const std::optional<LinkItem> item =
        ModLink::ResolveLink(QStringLiteral("melodeck://singer=A&song=Song B&type=0"), prompts);
    QCOMPARE(server.RequestLines(),
             QList<QByteArray>{"GET /xmlhttp.asp?singer=A&song=Song%20B&page=0&Type=0 HTTP/1.1"});
    if (candidates.isEmpty()) {
        QVERIFY(!item);
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("找不到该数据！")});
        return;
    }
    QVERIFY(item);
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(item->UrlCol, candidates);
    QCOMPARE(item->Path, candidates.first());
    QCOMPARE(item->Title, QStringLiteral("Song B"));
}

void tst_ModLink::directAddressMakesNoRequest_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("kind");

    QTest::newRow("stream") << "melodeck://url=http://h/v.wmv&song=B"
                            << "http://h/v.wmv"
                            << "B" << int(MediaKind::Video);
    QTest::newRow("upper-case field: empty path") << "melodeck://URL=http://h/a.mp3&song=B"
                                                  << ""
                                                  << "B" << int(MediaKind::Audio);
    // A scheme the engine must refuse is passed on unchanged: refusing it is
    // the playback side's business, and it must see exactly what came in.
    QTest::newRow("engine-only scheme passed through") << "melodeck://url=av://lavfi:sine&song=x"
                                                       << "av://lavfi:sine"
                                                       << "x" << int(MediaKind::Other);
}

void tst_ModLink::directAddressMakesNoRequest() {
    QFETCH(QString, link);
    QFETCH(QString, path);
    QFETCH(QString, title);
    QFETCH(int, kind);
    TestHttpServer listener(QByteArray("http://h/wrong.mp3"));
    qputenv("MELODECK_SEARCH_URL", listener.Base().toUtf8());
    RecordingPrompts prompts;
    const std::optional<LinkItem> item = ModLink::ResolveLink(link, prompts);
    QVERIFY(item);
    QCOMPARE(item->Path, path);
    QCOMPARE(item->Title, title);
    QCOMPARE(int(item->Types), kind);
    QVERIFY(item->UrlCol.isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(listener.Connections(), 0);
    QVERIFY(prompts.messages.isEmpty());
}

void tst_ModLink::directLocalAddressIsRefused_data() {
    QTest::addColumn<QString>("link");
    QTest::newRow("file URL") << "melodeck://url=file:///etc/passwd&song=x";
    QTest::newRow("localhost file URL") << "melodeck://song=x&url=file://localhost/etc/passwd";
    QTest::newRow("absolute path") << "melodeck://url=/etc/passwd&song=x";
}

void tst_ModLink::directLocalAddressIsRefused() {
    QFETCH(QString, link);
    RecordingPrompts prompts;
    QVERIFY(!ModLink::ResolveLink(link, prompts));
    QCOMPARE(prompts.messages, QStringList{QStringLiteral("无法播放该媒体")});
}

void tst_ModLink::unreachableServiceReportsNotFound() {
    const quint16 port = TestHttpServer::ClosedPort();
    qputenv("MELODECK_SEARCH_URL", QByteArray("http://127.0.0.1:") + QByteArray::number(port));
    RecordingPrompts prompts;
    QVERIFY(!ModLink::ResolveLink(QStringLiteral("melodeck://singer=&song=&type=-1"), prompts));
    QCOMPARE(prompts.messages, QStringList{QStringLiteral("找不到该数据！")});
    // An empty text is no link: nothing asked, nothing shown.
    QVERIFY(!ModLink::ResolveLink(QString(), prompts));
    QCOMPARE(prompts.messages.size(), 1);
}

void tst_ModLink::dialog() {
    QWidget playlistWindow;
    playlistWindow.setGeometry(130, 170, 300, 200);
    playlistWindow.show();
    frmMelodeckLink dialog(&playlistWindow);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("添加歌曲"));
    QCOMPARE((QStringList{dialog.lbSinger->text(), dialog.lbSong->text(), dialog.lbType->text(),
                          dialog.cmdOK->text()}),
             (QStringList{QStringLiteral("歌手："), QStringLiteral("歌曲："),
                          QStringLiteral("文件类型："), QStringLiteral("添加")}));
    QStringList items;
    QList<int> data;
    for (int i = 0; i < dialog.cbType->count(); ++i) {
        items << dialog.cbType->itemText(i);
        data << dialog.cbType->itemData(i).toInt();
    }
    QCOMPARE(items, (QStringList{"All", "Mp3", "RM", "Wma", "Flash"}));
    QCOMPARE(data, (QList<int>{-1, 0, 1, 2, 6}));
    QCOMPARE(dialog.cbType->currentIndex(), 0);

    dialog.show();
    QTRY_VERIFY(dialog.isVisible());
    QCOMPARE(dialog.frameGeometry().topLeft(), playlistWindow.frameGeometry().topLeft());

    QSignalSpy composed(&dialog, &frmMelodeckLink::LinkComposed);
    QTest::keyClicks(dialog.txtSinger, QStringLiteral("Faye"));
    dialog.cbType->setCurrentIndex(4);
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QCOMPARE(composed.size(), 1);
    QCOMPARE(composed.at(0).at(0).toString(),
             QStringLiteral("melodeck://singer=Faye&song=&type=6"));
    QVERIFY(!dialog.isVisible());
    // Hidden, not reset: the next use starts from what was typed.
    QCOMPARE(dialog.txtSinger->text(), QStringLiteral("Faye"));
}

QTEST_MAIN(tst_ModLink)
#include "tst_ModLink.moc"
