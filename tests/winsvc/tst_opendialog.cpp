#include "winsvc/OpenDialog.h"
#include "winsvc/Prompts.h"

#include <QtTest>

namespace {

const QChar kNul(u'\0');

// Joins fields with NUL characters.
QString Nul(const QStringList& fields) {
    return fields.join(kNul);
}

// A dialog that records what it was asked and answers with the given files.
class ScriptedPrompts : public Prompts {
public:
    QStringList answer;
    QString title;
    QString directory = QStringLiteral("unset");
    QStringList filters;
    bool multiSelect = false;
    int opened = 0;

    void MsgBox(const QString&, const QString&) override {}
    bool Ask(const QString&, const QString&) override { return false; }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QStringList OpenFiles(const QString& t, const QString& dir, const QStringList& f,
                          bool multi) override {
        ++opened;
        title = t;
        directory = dir;
        filters = f;
        multiSelect = multi;
        return answer;
    }
};

// The media filter as the player builds it.
QString MediaFilter() {
    return Nul({QStringLiteral("全部支持类型"), QStringLiteral("*.wma;*.wav;*.mp3;*.avi;*.swf;"),
                QStringLiteral("音频文件"), QStringLiteral("*.wma;*.wav;*.mp3;"),
                QStringLiteral("视频文件"), QStringLiteral("*.avi;"), QStringLiteral("Flash文件"),
                QStringLiteral("*.swf;")});
}

} // namespace

class tst_OpenDialog : public QObject {
    Q_OBJECT
private slots:
    void splitOpenResult_data();
    void splitOpenResult();
    void emptyResultKeepsSelection();
    void nameFilters_data();
    void nameFilters();
    void showOpenDialogAsks();
    void bufferForm_data();
    void bufferForm();
    void roundTrip_data();
    void roundTrip();
};

void tst_OpenDialog::splitOpenResult_data() {
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("last");
    QTest::addColumn<QStringList>("files");
    const QString spaces(20, u' ');
    QTest::newRow("one file") << Nul({"C:\\Music\\a.mp3", spaces}) << 0
                              << QStringList{"C:\\Music\\a.mp3"};
    QTest::newRow("one file, no padding")
        << QStringLiteral("/music/a.mp3") << 0 << QStringList{"/music/a.mp3"};
    QTest::newRow("two files") << Nul({"C:\\Music", "a.mp3", "b.mp3", "", spaces}) << 1
                               << QStringList{"C:\\Music\\a.mp3", "C:\\Music\\b.mp3"};
    QTest::newRow("two files in a drive root") << Nul({"C:\\", "a.mp3", "b.mp3", "", spaces}) << 1
                                               << QStringList{"C:\\a.mp3", "C:\\b.mp3"};
    QTest::newRow("slash directory") << Nul({"/home/u/Music", "a.mp3", "b.wma", "", spaces}) << 1
                                     << QStringList{"/home/u/Music/a.mp3", "/home/u/Music/b.wma"};
    QTest::newRow("slash root") << Nul({"/", "a.mp3", "b.mp3", "", ""}) << 1
                                << QStringList{"/a.mp3", "/b.mp3"};
    QTest::newRow("three files, buffer exactly full")
        << Nul({"D:/x", "1.mp3", "2.mp3", "3.mp3", "", ""}) << 2
        << QStringList{"D:/x/1.mp3", "D:/x/2.mp3", "D:/x/3.mp3"};
}

void tst_OpenDialog::splitOpenResult() {
    QFETCH(QString, result);
    QFETCH(int, last);
    QFETCH(QStringList, files);
    QStringList selected{QStringLiteral("stale"), QStringLiteral("entries"), QStringLiteral("here"),
                         QStringLiteral("before")};
    QCOMPARE(OpenDialog::SplitOpenResult(result, selected), last);
    QCOMPARE(selected, files);
}

void tst_OpenDialog::emptyResultKeepsSelection() {
    QStringList selected{QStringLiteral("/kept.mp3")};
    QCOMPARE(OpenDialog::SplitOpenResult(QString(), selected), 0);
    QCOMPARE(selected, QStringList{QStringLiteral("/kept.mp3")});
}

void tst_OpenDialog::nameFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    const QStringList media{QStringLiteral("全部支持类型 (*.wma *.wav *.mp3 *.avi *.swf)"),
                            QStringLiteral("音频文件 (*.wma *.wav *.mp3)"),
                            QStringLiteral("视频文件 (*.avi)"),
                            QStringLiteral("Flash文件 (*.swf)")};
    QTest::newRow("media filter") << MediaFilter() << media;
    QTest::newRow("with the closing NULs") << MediaFilter() + kNul + kNul << media;
    QTest::newRow("description without patterns")
        << Nul({QStringLiteral("音频文件"), QStringLiteral("*.mp3"), QStringLiteral("空"),
                QString(), QStringLiteral("孤")})
        << QStringList{QStringLiteral("音频文件 (*.mp3)")};
    QTest::newRow("empty") << QString() << QStringList();
}

void tst_OpenDialog::nameFilters() {
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(OpenDialog::NameFilters(filter), expected);
}

void tst_OpenDialog::showOpenDialogAsks() {
    ScriptedPrompts prompts;
    QCOMPARE(OpenDialog::ShowOpenDialog(prompts, QStringLiteral("Open"), MediaFilter(), 1, 65535),
             QString()); // cancelled
    QCOMPARE(prompts.opened, 1);
    QCOMPARE(prompts.title, QStringLiteral("Open"));
    QVERIFY(prompts.directory.isEmpty());
    QVERIFY(prompts.multiSelect);
    QCOMPARE(prompts.filters.first(),
             QStringLiteral("全部支持类型 (*.wma *.wav *.mp3 *.avi *.swf)"));
    QCOMPARE(prompts.filters.size(), 4);

    OpenDialog::ShowOpenDialog(prompts, QStringLiteral("Open"), MediaFilter(), 0, 100);
    QVERIFY(!prompts.multiSelect);
}

void tst_OpenDialog::bufferForm_data() {
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<QString>("content");
    QTest::newRow("one file") << QStringList{"/music/a.mp3"} << Nul({"/music/a.mp3", ""});
    QTest::newRow("two files") << QStringList{"/music/a.mp3", "/music/b.mp3"}
                               << Nul({"/music", "a.mp3", "b.mp3", "", ""});
    QTest::newRow("root") << QStringList{"/a.mp3", "/b.mp3"}
                          << Nul({"/", "a.mp3", "b.mp3", "", ""});
    QTest::newRow("drive root") << QStringList{"C:/a.mp3", "C:/b.mp3"}
                                << Nul({"C:/", "a.mp3", "b.mp3", "", ""});
}

void tst_OpenDialog::bufferForm() {
    QFETCH(QStringList, chosen);
    QFETCH(QString, content);
    ScriptedPrompts prompts;
    prompts.answer = chosen;
    const int bufferLength = 100;
    const QString result =
        OpenDialog::ShowOpenDialog(prompts, QStringLiteral("Open"), MediaFilter(), 1, bufferLength);
    // The whole buffer comes back: the content, then the spaces it started with.
    QCOMPARE(result.size(), bufferLength - 1);
    QCOMPARE(result.left(content.size()), content);
    QCOMPARE(result.mid(content.size()), QString(bufferLength - 1 - content.size(), u' '));
}

void tst_OpenDialog::roundTrip_data() {
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<int>("bufferLength");
    QTest::newRow("one") << QStringList{"/home/u/a b.mp3"} << 65535;
    QTest::newRow("several") << QStringList{"/m/a.mp3", "/m/b.wma", "/m/c.avi"} << 65535;
    QTest::newRow("root") << QStringList{"/a.mp3", "/b.mp3"} << 65535;
    QTest::newRow("different folders") << QStringList{"/m/x/a.mp3", "/m/y/b.mp3"} << 65535;
    QTest::newRow("folders sharing a name prefix")
        << QStringList{"/m/ab/a.mp3", "/m/abc/b.mp3"} << 65535;
    QTest::newRow("different drives") << QStringList{"C:/a.mp3", "D:/b.mp3"} << 65535;
    QTest::newRow("longer than the buffer")
        << QStringList{"/m/" + QString(80, u'x') + ".mp3", "/m/" + QString(80, u'y') + ".mp3"}
        << 50;
}

void tst_OpenDialog::roundTrip() {
    QFETCH(QStringList, chosen);
    QFETCH(int, bufferLength);
    ScriptedPrompts prompts;
    prompts.answer = chosen;
    const QString result =
        OpenDialog::ShowOpenDialog(prompts, QStringLiteral("Open"), MediaFilter(), 1, bufferLength);
    QStringList selected;
    QCOMPARE(OpenDialog::SplitOpenResult(result, selected), int(chosen.size()) - 1);
    QCOMPARE(selected, chosen);
}

QTEST_GUILESS_MAIN(tst_OpenDialog)
#include "tst_opendialog.moc"
