#include "net/HandOffFrame.h"

#include <QtTest>

namespace {

using State = HandOffFrame::State;

QByteArray Header(quint32 n) {
    const char bytes[] = {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
    return QByteArray(bytes, sizeof bytes);
}

QByteArray Frame(const QByteArray& payload) {
    return Header(quint32(payload.size())) + payload;
}

// What a reader makes of `bytes` fed in pieces of `piece` bytes: the text of
// every complete frame, then "<incomplete>" or the refusal that stopped it.
// `consumed` tells how many bytes the reader took in all.
QStringList Read(const QByteArray& bytes, qsizetype piece, qsizetype* consumed) {
    HandOffFrame reader;
    QStringList events;
    *consumed = 0;
    qsizetype offset = 0;
    while (offset < bytes.size()) {
        QByteArrayView chunk =
            QByteArrayView(bytes).sliced(offset).first(std::min(piece, bytes.size() - offset));
        offset += chunk.size();
        while (!chunk.isEmpty()) {
            const qsizetype taken = reader.Feed(chunk);
            *consumed += taken;
            chunk = chunk.sliced(taken);
            if (reader.Status() == State::Complete) {
                events << reader.Text();
                reader.Reset();
            } else if (reader.Status() == State::TooLarge) {
                return events << QStringLiteral("<too large>");
            } else if (reader.Status() == State::BadText) {
                return events << QStringLiteral("<bad text>");
            }
        }
    }
    return events << QStringLiteral("<incomplete>");
}

} // namespace

class tst_HandOffFrame : public QObject {
    Q_OBJECT
private slots:
    void read_data();
    void read();
    void commandLineOf_data();
    void commandLineOf();
    void encode();
};

void tst_HandOffFrame::read_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<qsizetype>("consumed"); // -1: every byte

    const QString chinese = QStringLiteral("CommandLine=/音乐/周杰伦 - 晴天.mp3");
    const QByteArray full(HandOffFrame::kMaxPayload, 'a');
    const QStringList incomplete{QStringLiteral("<incomplete>")};
    QTest::newRow("path") << Frame("CommandLine=/m/a b.mp3")
                          << QStringList{"CommandLine=/m/a b.mp3", "<incomplete>"} << qsizetype(-1);
    QTest::newRow("chinese") << Frame(chinese.toUtf8()) << QStringList{chinese, "<incomplete>"}
                             << qsizetype(-1);
    QTest::newRow("empty") << Frame({}) << QStringList{"", "<incomplete>"} << qsizetype(-1);
    QTest::newRow("two frames, third cut")
        << Frame("one") + Frame("two") + Frame("three").left(6)
        << QStringList{"one", "two", "<incomplete>"} << qsizetype(-1);
    QTest::newRow("header only") << Header(5) << incomplete << qsizetype(-1);
    QTest::newRow("partial header") << QByteArray("\0\0", 2) << incomplete << qsizetype(-1);
    QTest::newRow("exactly 64 KiB")
        << Frame(full) << QStringList{QString::fromLatin1(full), "<incomplete>"} << qsizetype(-1);
    // The payload of a refused frame is never taken in.
    QTest::newRow("64 KiB + 1") << Frame(full + 'a') << QStringList{"<too large>"} << qsizetype(4);
    QTest::newRow("4 GiB - 1") << Header(0xFFFFFFFFu) + "abc" << QStringList{"<too large>"}
                               << qsizetype(4);
    QTest::newRow("good, then too large") << Frame("ok") + Header(0x00010001u) + "x"
                                          << QStringList{"ok", "<too large>"} << qsizetype(10);
    QTest::newRow("bad byte") << Frame("\xC3\x28") << QStringList{"<bad text>"} << qsizetype(-1);
    QTest::newRow("overlong slash")
        << Frame("\xC0\xAF") << QStringList{"<bad text>"} << qsizetype(-1);
    QTest::newRow("surrogate") << Frame("\xED\xA0\x80") << QStringList{"<bad text>"}
                               << qsizetype(-1);
    QTest::newRow("sequence cut at end")
        << Frame("ab\xE4\xB8") << QStringList{"<bad text>"} << qsizetype(-1);
    QTest::newRow("beyond U+10FFFF")
        << Frame("\xF4\x90\x80\x80") << QStringList{"<bad text>"} << qsizetype(-1);
}

void tst_HandOffFrame::read() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, events);
    QFETCH(qsizetype, consumed);
    if (consumed < 0)
        consumed = bytes.size();
    // The outcome may not depend on how the bytes arrive.
    for (const qsizetype piece : {qsizetype(1), qsizetype(3), bytes.size() + 1}) {
        qsizetype taken = 0;
        QCOMPARE(Read(bytes, piece, &taken), events);
        QCOMPARE(taken, consumed);
    }
}

void tst_HandOffFrame::commandLineOf_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isHandOff");
    QTest::addColumn<QString>("commandLine");
    QTest::newRow("file") << "CommandLine=/m/a.mp3" << true << "/m/a.mp3";
    QTest::newRow("empty rest") << "CommandLine=" << true << "";
    QTest::newRow("prefix twice") << "CommandLine=CommandLine=x" << true << "CommandLine=x";
    QTest::newRow("other case") << "commandline=/m/a.mp3" << false << "";
    QTest::newRow("leading space") << " CommandLine=/m/a.mp3" << false << "";
    QTest::newRow("no equals") << "CommandLine" << false << "";
    QTest::newRow("other command") << "Quit" << false << "";
}

void tst_HandOffFrame::commandLineOf() {
    QFETCH(QString, text);
    QFETCH(bool, isHandOff);
    QFETCH(QString, commandLine);
    const auto result = HandOffFrame::CommandLineOf(text);
    QCOMPARE(result.has_value(), isHandOff);
    if (isHandOff)
        QCOMPARE(*result, commandLine);
}

void tst_HandOffFrame::encode() {
    // What the sender writes, the reader gives back, up to the limit in bytes
    // (not characters: one Chinese character takes three).
    const QString fits = QString(HandOffFrame::kMaxPayload / 3, QChar(0x4E2D));
    const auto frame = HandOffFrame::Encode(fits);
    QVERIFY(frame.has_value());
    qsizetype taken = 0;
    QCOMPARE(Read(*frame, frame->size(), &taken), (QStringList{fits, "<incomplete>"}));
    QVERIFY(!HandOffFrame::Encode(fits + QChar(0x4E2D)).has_value());
}

QTEST_GUILESS_MAIN(tst_HandOffFrame)
#include "tst_HandOffFrame.moc"
