#include "skin/XmlDocument.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

QTEST_GUILESS_MAIN(tst_XmlDocument)
#include "tst_XmlDocument.moc"
