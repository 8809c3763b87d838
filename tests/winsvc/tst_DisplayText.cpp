#include "winsvc/DisplayText.h"

#include <QTest>

class tst_DisplayText : public QObject {
    Q_OBJECT
private slots:
    void quote_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("expected");
        QTest::newRow("short stays") << "#FF00FF" << 10 << "#FF00FF";
        QTest::newRow("exact stays") << "abcde" << 5 << "abcde";
        QTest::newRow("long is cut") << "abcdef" << 3 << QString("abc") + QChar(0x2026);
        // U+1D11E is a surrogate pair; cutting between its halves would leave
        // a lone surrogate that renders as garbage.
        QTest::newRow("pair kept whole") << QString("ab") + QString::fromUcs4(U"\U0001D11E") + "cd"
                                         << 3 << QString("ab") + QChar(0x2026);
    }
    void quote() {
        QFETCH(QString, value);
        QFETCH(int, limit);
        QFETCH(QString, expected);
        QCOMPARE(DisplayText::Quote(value, limit), expected);
    }

    void quoteOfHugeValueIsShort() {
        const QString huge(5 * 1024 * 1024, QLatin1Char('F'));
        QCOMPARE(DisplayText::Quote(huge).size(), DisplayText::kQuoteLimit + 1);
    }

    void forTerminal_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "正在播放: 歌"
                               << "正在播放: 歌";
        QTest::newRow("title escape") << "a\x1b]0;pwned\x07z"
                                      << "a]0;pwnedz";
        QTest::newRow("clear screen") << "\x1b[2J\x1b[Hsong"
                                      << "[2J[Hsong";
        QTest::newRow("C1 CSI") << QString("x") + QChar(0x9B) + "31m"
                                << "x31m";
        QTest::newRow("fake prompt") << "song\r\n$ rm -rf ~"
                                     << "song $ rm -rf ~";
        QTest::newRow("bidi override") << QString("abc") + QChar(0x202E) + "3pm.exe"
                                       << "abc3pm.exe";
        QTest::newRow("DEL and NUL") << QString("a") + QChar(0x7F) + QChar(0) + "b"
                                     << "ab";
    }
    void forTerminal() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(DisplayText::ForTerminal(text), expected);
    }
};

QTEST_APPLESS_MAIN(tst_DisplayText)
#include "tst_DisplayText.moc"
