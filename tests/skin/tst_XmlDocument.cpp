#include "skin/XmlDocument.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class tst_XmlDocument : public QObject {
    Q_OBJECT

private slots:
    void declaredEncodingIsHonoured();
    void unusableFileGivesEmptyDocument_data();
    void unusableFileGivesEmptyDocument();
    void selectSingleNode_data();
    void selectSingleNode();
    void attributeNamesAreExact();
    void attributeValuesResolveReferences();
    void externalEntitiesAreNotLoaded();
    void hostileDocumentsFailFast_data();
    void hostileDocumentsFailFast();
    void entitiesWithinBoundsResolve();
    void onlyRegularFilesWithinTheCapLoad_data();
    void onlyRegularFilesWithinTheCapLoad();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir m_dir;
};

QString tst_XmlDocument::write(const QString& name, const QByteArray& bytes) {
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void tst_XmlDocument::declaredEncodingIsHonoured() {
    // "中文" is D6D0 CEC4 in GB2312.
    const QByteArray bytes = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\n"
                             "<skin name=\"\xD6\xD0\xCE\xC4\"/>";
    const XmlDocument doc = XmlDocument::Load(write("gb.xml", bytes));
    QVERIFY2(!doc.IsEmpty(), qPrintable(doc.ErrorText()));
    QCOMPARE(doc.SelectSingleNode("skin").Attribute("name"), QString::fromUtf8("中文"));

    // The same bytes without the declaration are not UTF-8: not a document.
    const XmlDocument undeclared =
        XmlDocument::Load(write("raw.xml", bytes.mid(bytes.indexOf('<', 1))));
    QVERIFY(undeclared.IsEmpty());
}

void tst_XmlDocument::unusableFileGivesEmptyDocument_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("errorPart");
    QTest::newRow("mismatched tags") << QByteArray("<skin>\n<a></b></skin>") << "line 2";
    QTest::newRow("empty file") << QByteArray() << "";
    QTest::newRow("text only") << QByteArray("hello") << "line 1";
    QTest::newRow("two roots") << QByteArray("<a/><b/>") << "";
}

void tst_XmlDocument::unusableFileGivesEmptyDocument() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, errorPart);
    const XmlDocument doc = XmlDocument::Load(write("bad.xml", bytes));
    QVERIFY(doc.IsEmpty());
    QVERIFY(doc.ErrorText().contains(errorPart));
    QVERIFY(!doc.ErrorText().isEmpty());
    QVERIFY(doc.SelectSingleNode("skin").IsNull());
    QVERIFY(doc.Root().IsNull());
}

void tst_XmlDocument::selectSingleNode_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("id"); // empty: no node
    QTest::newRow("root") << "skin"
                          << "root";
    QTest::newRow("wrong root") << "Skin"
                                << "";
    QTest::newRow("child") << "skin/player_window"
                           << "pw1";
    QTest::newRow("first of two") << "skin/player_window/play"
                                  << "play1";
    QTest::newRow("case-sensitive") << "skin/player_window/Play"
                                    << "Play";
    QTest::newRow("first in document order across parents") << "skin/player_window/stop"
                                                            << "stop2";
    QTest::newRow("grandchild not child") << "skin/play"
                                          << "";
    QTest::newRow("missing") << "skin/playlist_window"
                             << "";
    QTest::newRow("empty path") << ""
                                << "";
    QTest::newRow("leading slash") << "/skin"
                                   << "";
    QTest::newRow("trailing slash") << "skin/"
                                    << "";
    QTest::newRow("prefixed name") << "skin/x:extra"
                                   << "extra";
}

void tst_XmlDocument::selectSingleNode() {
    QFETCH(QString, path);
    QFETCH(QString, id);
    const XmlDocument doc = XmlDocument::FromBytes(
        "<skin id='root' xmlns:x='urn:x'><!-- c --><?pi x?>"
        "<player_window id='pw1'><play id='play1'/><Play id='Play'/><play id='play2'/>"
        "</player_window>"
        "<player_window id='pw2'><stop id='stop2'/></player_window>"
        "<x:extra id='extra'/></skin>");
    QVERIFY(!doc.IsEmpty());
    const XmlElement node = doc.SelectSingleNode(path);
    QCOMPARE(node.IsNull(), id.isEmpty());
    if (!id.isEmpty())
        QCOMPARE(node.Attribute("id"), id);
}

void tst_XmlDocument::attributeNamesAreExact() {
    const XmlDocument doc =
        XmlDocument::FromBytes("<skin Image='big' x:image='ns' xmlns:x='urn:x' empty=''/>");
    const XmlElement skin = doc.SelectSingleNode("skin");
    QCOMPARE(skin.Attribute("image"), std::nullopt);
    QCOMPARE(skin.Attribute("Image"), QString("big"));
    QCOMPARE(skin.Attribute("x:image"), QString("ns"));
    // Present but empty is not absent.
    QVERIFY(skin.Attribute("empty").has_value());
    QCOMPARE(*skin.Attribute("empty"), QString());
    QCOMPARE(XmlElement().Attribute("Image"), std::nullopt);
}

void tst_XmlDocument::attributeValuesResolveReferences() {
    const XmlDocument doc = XmlDocument::FromBytes(
        "<!DOCTYPE skin [<!ENTITY who \"A &amp; B\">]>"
        "<skin a='x &amp; y &lt;z&gt;' b='&#x4E2D;&#25991;' c='by &who;' d='line&#10;two'/>");
    QVERIFY2(!doc.IsEmpty(), qPrintable(doc.ErrorText()));
    const XmlElement skin = doc.SelectSingleNode("skin");
    QCOMPARE(skin.Attribute("a"), QString("x & y <z>"));
    QCOMPARE(skin.Attribute("b"), QString::fromUtf8("中文"));
    QCOMPARE(skin.Attribute("c"), QString("by A & B"));
    QCOMPARE(skin.Attribute("d"), QString("line\ntwo"));
}

void tst_XmlDocument::externalEntitiesAreNotLoaded() {
    const QString secret = write("secret.txt", "TOP-SECRET");
    const QByteArray xml = "<!DOCTYPE skin [<!ENTITY s SYSTEM \"file://" +
                           QFile::encodeName(secret) + "\">]><skin a='&s;'><t>&s;</t></skin>";
    const XmlDocument doc = XmlDocument::FromBytes(xml);
    // Either refused or read without the file's content; never the secret.
    if (!doc.IsEmpty())
        QVERIFY(!doc.SelectSingleNode("skin").Attribute("a").value_or("").contains("SECRET"));
}

namespace {

QByteArray entityDoctype(int entityBytes) {
    return "<!DOCTYPE skin [<!ENTITY e \"" + QByteArray(entityBytes, 'A') + "\">]>\n";
}

// `count` elements `<t a="&e;&e;..."/>`, each referencing e `perElement` times.
QByteArray manyReferences(int count, int perElement, bool inContent) {
    const QByteArray refs = QByteArray("&e;").repeated(perElement);
    const QByteArray one = inContent ? "<t>" + refs + "</t>" : "<t a=\"" + refs + "\"/>";
    return one.repeated(count);
}

// One element with `count` distinct attributes, as short as names allow.
QByteArray crowdedElement(int count) {
    static const QByteArray first = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static const QByteArray next = first + "0123456789._-";
    QByteArray xml = "<skin";
    for (int i = 0; i < count; ++i) {
        xml += ' ';
        xml += first.at(i % first.size());
        for (int rest = i / int(first.size()); rest > 0; rest = (rest - 1) / int(next.size()))
            xml += next.at((rest - 1) % next.size());
        xml += "=''";
    }
    return xml + "/>";
}

} // namespace

void tst_XmlDocument::hostileDocumentsFailFast_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray big = entityDoctype(200 * 1000);
    QTest::newRow("one attribute, 20,000 references to 200 KB")
        << big + "<skin a='" + QByteArray("&e;").repeated(20000) + "'/>"
        << "entities expand";
    QTest::newRow("thousands of attributes, each under the 10 MB value limit")
        << big + "<skin>" + manyReferences(5000, 45, false) + "</skin>"
        << "entities expand";
    QTest::newRow("references in element content")
        << big + "<skin>" + manyReferences(1000, 100, true) + "</skin>"
        << "entities expand";
    QByteArray laughs = "<!DOCTYPE skin [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" +
                  ("&l" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    QTest::newRow("nested entities") << laughs + "]><skin a='&l9;'/>"
                                     << "";
    QTest::newRow("parameter entities")
        << "<!DOCTYPE skin [<!ENTITY % p \"<!-- " + QByteArray(200 * 1000, 'x') + " -->\">" +
               QByteArray("%p;").repeated(100000) + "]><skin/>"
        << "entities expand";
    QTest::newRow("external parameter entity")
        << QByteArray("<!DOCTYPE skin [<!ENTITY % p SYSTEM \"/etc/hostname\"> %p;]><skin/>")
        << "external";
    const QByteArray crowded = crowdedElement(145000);
    QVERIFY(crowded.size() <= 1024 * 1024);
    QTest::newRow("145,000 attributes in 1 MiB") << crowded << "attributes";
    QTest::newRow("257 attributes") << crowdedElement(257) << "attributes";
    QTest::newRow("larger than 1 MiB") << "<skin a='" + QByteArray(1024 * 1024, 'x') + "'/>"
                                       << "larger";
}

void tst_XmlDocument::hostileDocumentsFailFast() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QElapsedTimer timer;
    timer.start();
    const XmlDocument doc = XmlDocument::FromBytes(bytes);
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(doc.IsEmpty());
    QVERIFY2(doc.ErrorText().contains(reason), qPrintable(doc.ErrorText()));
}

void tst_XmlDocument::entitiesWithinBoundsResolve() {
    // A colour named once and used throughout, in attributes and content;
    // and 256 attributes on one element with "=" and ">" inside values and
    // in a comment that do not count.
    QByteArray xml = "<!DOCTYPE skin [<!ENTITY c \"#FF00FF\"><!ENTITY cc \"&c;&c;\">]>"
                     "<!-- <x " +
                     QByteArray("a='' ").repeated(300) + "> --><skin>" +
                     QByteArray("<t color='&c;' v='a=b>c'>&cc;</t>").repeated(200) + "<crowd";
    for (int i = 0; i < 256; ++i)
        xml += " a" + QByteArray::number(i) + "='='";
    const XmlDocument doc = XmlDocument::FromBytes(xml + "/></skin>");
    QVERIFY2(!doc.IsEmpty(), qPrintable(doc.ErrorText()));
    QCOMPARE(doc.SelectSingleNode("skin/t").Attribute("color"), QString("#FF00FF"));
    QCOMPARE(doc.SelectSingleNode("skin/crowd").Attribute("a255"), QString("="));
}

void tst_XmlDocument::onlyRegularFilesWithinTheCapLoad_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason"); // empty: loads
    const QString fifo = m_dir.filePath("fifo.xml");
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    const QString good = write("good.xml", "<skin/>");
    const QString zero = m_dir.filePath("zero.xml");
    QVERIFY(QFile::link("/dev/zero", zero));
    const QString toFifo = m_dir.filePath("tofifo.xml");
    QVERIFY(QFile::link(fifo, toFifo));
    const QString toGood = m_dir.filePath("togood.xml");
    QVERIFY(QFile::link(good, toGood));
    QTest::newRow("FIFO") << fifo << "not a regular file";
    QTest::newRow("link to a FIFO") << toFifo << "not a regular file";
    QTest::newRow("link to /dev/zero") << zero << "not a regular file";
    QTest::newRow("folder") << m_dir.path() << "not a regular file";
    QTest::newRow("missing") << m_dir.filePath("none.xml") << "cannot open";
    QTest::newRow("1 MiB and a byte")
        << write("big.xml", "<skin>" + QByteArray(1024 * 1024 - 12, ' ') + "</skin>") << "larger";
    QTest::newRow("exactly 1 MiB")
        << write("fits.xml", "<skin>" + QByteArray(1024 * 1024 - 13, ' ') + "</skin>") << "";
    QTest::newRow("link to a regular file") << toGood << "";
}

void tst_XmlDocument::onlyRegularFilesWithinTheCapLoad() {
    QFETCH(QString, path);
    QFETCH(QString, reason);
    const XmlDocument doc = XmlDocument::Load(path);
    QCOMPARE(doc.IsEmpty(), !reason.isEmpty());
    QVERIFY2(doc.ErrorText().contains(reason), qPrintable(doc.ErrorText()));
}

QTEST_GUILESS_MAIN(tst_XmlDocument)
#include "tst_XmlDocument.moc"
