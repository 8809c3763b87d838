#include "skin/ModSkinValues.h"
#include "skin/RecordingPrompts.h"

#include <QTest>

using namespace ModSkinValues;

Q_DECLARE_METATYPE(SkinRect)
Q_DECLARE_METATYPE(ModSkinValues::SkinAlign)

class tst_SkinValues : public QObject {
    Q_OBJECT

private slots:
    void parseRect_data();
    void parseRect();
    void parseSkinColor_data();
    void parseSkinColor();
    void parseAlign_data();
    void parseAlign();
    void applyAlignKeepsVertical();
    void parseFlag_data();
    void parseFlag();
};

void tst_SkinValues::parseRect_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<SkinRect>("expected");
    QTest::newRow("spaces around pieces") << "10, 20 ,110,40" << SkinRect{10, 20, 110, 40};
    QTest::newRow("two pieces") << "10,20" << SkinRect{10, 20, 0, 0};
    QTest::newRow("empty") << "" << SkinRect{};
    QTest::newRow("bad first piece") << "a,5,6,7" << SkinRect{0, 5, 6, 7};
    QTest::newRow("extra pieces ignored") << "1,2,3,4,5" << SkinRect{1, 2, 3, 4};
    QTest::newRow("negative") << "-5,-10,3,4" << SkinRect{-5, -10, 3, 4};
    QTest::newRow("half rounds to even") << "2.5,3.5,-2.5,7.4" << SkinRect{2, 4, -2, 7};
    QTest::newRow("16-bit limits") << "32767,-32768,32768,-32769" << SkinRect{32767, -32768, 0, 0};
    QTest::newRow("rounds out of range") << "32767.5,1,2,3" << SkinRect{0, 1, 2, 3};
    QTest::newRow("empty piece") << "1,,3,4" << SkinRect{1, 0, 3, 4};
    QTest::newRow("number with junk") << "12px,5,6,7" << SkinRect{0, 5, 6, 7};
    QTest::newRow("not finite") << "inf,nan,1e999,4" << SkinRect{0, 0, 0, 4};
}

void tst_SkinValues::parseRect() {
    QFETCH(QString, text);
    QFETCH(SkinRect, expected);
    const SkinRect r = ParseRect(text);
    QCOMPARE(r.Left, expected.Left);
    QCOMPARE(r.Top, expected.Top);
    QCOMPARE(r.Right, expected.Right);
    QCOMPARE(r.Bottom, expected.Bottom);
}

void tst_SkinValues::parseSkinColor_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("green");
    QTest::addColumn<int>("blue");
    QTest::addColumn<bool>("message");
    QTest::newRow("pure red") << "#FF0000" << 255 << 0 << 0 << false;
    QTest::newRow("lower case blue") << "#0000ff" << 0 << 0 << 255 << false;
    QTest::newRow("short") << "#FFF" << 255 << 15 << 0 << false;
    QTest::newRow("mixed") << "#123456" << 0x12 << 0x34 << 0x56 << false;
    QTest::newRow("pair stops at non-hex") << "#1G2HZZ" << 1 << 2 << 0 << false;
    QTest::newRow("longer text") << "#0102030405" << 1 << 2 << 3 << false;
    QTest::newRow("hash only") << "#" << 0 << 0 << 0 << false;
    QTest::newRow("no hash") << "ff0000" << 0 << 0 << 0 << true;
    QTest::newRow("empty") << "" << 0 << 0 << 0 << true;
    QTest::newRow("leading space") << " #FF0000" << 0 << 0 << 0 << true;
    QTest::newRow("5 MB value") << QString(5'000'000, 'f') << 0 << 0 << 0 << true;
}

void tst_SkinValues::parseSkinColor() {
    QFETCH(QString, text);
    QFETCH(int, red);
    QFETCH(int, green);
    QFETCH(int, blue);
    QFETCH(bool, message);
    RecordingPrompts prompts;
    const quint32 color = ParseSkinColor(text, prompts);
    QCOMPARE(color, quint32(red) | quint32(green) << 8 | quint32(blue) << 16);
    const QString suffix = QStringLiteral("不是正确的颜色格式！");
    if (message && text.size() < 100) {
        QCOMPARE(prompts.messages, QStringList{text + suffix});
    } else if (message) {
        // A huge value is quoted cut short, or the message box freezes.
        QCOMPARE(prompts.messages.size(), 1);
        QVERIFY(prompts.messages[0].size() < 300);
        QVERIFY(prompts.messages[0].startsWith(text.left(100)));
        QVERIFY(prompts.messages[0].endsWith(suffix));
    } else
        QVERIFY(prompts.messages.isEmpty());
}

void tst_SkinValues::parseAlign_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<SkinAlign>("expected");
    QTest::newRow("left") << "left" << SkinAlign::Left;
    QTest::newRow("RIGHT") << "RIGHT" << SkinAlign::Right;
    QTest::newRow("Center") << "Center" << SkinAlign::Center;
    QTest::newRow("British spelling") << "centre" << SkinAlign::Unchanged;
    QTest::newRow("empty") << "" << SkinAlign::Unchanged;
    QTest::newRow("padded") << " left" << SkinAlign::Unchanged;
}

void tst_SkinValues::parseAlign() {
    QFETCH(QString, text);
    QFETCH(SkinAlign, expected);
    QCOMPARE(ParseAlign(text), expected);
}

void tst_SkinValues::applyAlignKeepsVertical() {
    const Qt::Alignment start = Qt::AlignLeft | Qt::AlignVCenter;
    QCOMPARE(ApplyAlign(SkinAlign::Right, start), Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(ApplyAlign(SkinAlign::Center, start), Qt::AlignHCenter | Qt::AlignVCenter);
    QCOMPARE(ApplyAlign(SkinAlign::Unchanged, Qt::AlignRight | Qt::AlignTop),
             Qt::AlignRight | Qt::AlignTop);
}

void tst_SkinValues::parseFlag_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("true") << "true" << true;
    QTest::newRow("TRUE") << "TRUE" << true;
    QTest::newRow("True") << "True" << true;
    QTest::newRow("1") << "1" << false;
    QTest::newRow("yes") << "yes" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("padded") << "true " << false;
}

void tst_SkinValues::parseFlag() {
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(ParseFlag(text), expected);
}

QTEST_GUILESS_MAIN(tst_SkinValues)
#include "tst_SkinValues.moc"
