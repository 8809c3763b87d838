#include "net/ModReg.h"
#include "net/UrlRegistration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

// A registry in memory that can be told to fail at any of the three steps.
class FakeRegistry : public Registry {
public:
    enum class Fail { None, Create, Set, Close };
    Fail fail = Fail::None;
    // "<root>\<key>\<name>" -> "<type>:<data>"
    QMap<QString, QString> values;
    QStringList createdKeys;
    int openKeys = 0;

    std::unique_ptr<RegistryKey> CreateKey(RegRoot root, const QString& subKey) override;
};

class FakeKey : public RegistryKey {
public:
    FakeKey(FakeRegistry& registry, QString path) : m_registry(registry), m_path(std::move(path)) {
        ++m_registry.openKeys;
    }
    ~FakeKey() override {
        if (m_open)
            --m_registry.openKeys;
    }
    bool SetValue(const QString& name, int type, const RegData& data) override {
        if (m_registry.fail == FakeRegistry::Fail::Set)
            return false;
        const QString text = std::holds_alternative<QString>(data)
                                 ? std::get<QString>(data)
                                 : QString::number(std::get<std::int32_t>(data));
        m_registry.values[m_path + '\\' + name] = QString::number(type) + ':' + text;
        return true;
    }
    bool Close() override {
        --m_registry.openKeys;
        m_open = false;
        return m_registry.fail != FakeRegistry::Fail::Close;
    }

private:
    FakeRegistry& m_registry;
    QString m_path;
    bool m_open = true;
};

std::unique_ptr<RegistryKey> FakeRegistry::CreateKey(RegRoot root, const QString& subKey) {
    if (fail == Fail::Create)
        return nullptr;
    const QString path = QString::number(int(root)) + '\\' + subKey;
    createdKeys << path;
    return std::make_unique<FakeKey>(*this, path);
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                          : QStringLiteral("<none>");
}

bool WriteScript(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() &&
           file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

} // namespace

class tst_UrlRegistration : public QObject {
    Q_OBJECT
private slots:
    void setRegValue_data();
    void setRegValue();
    void windowsProtocolValues();
    void desktopEntry_data();
    void desktopEntry();
    void mimeapps_data();
    void mimeapps();
    void unwritableFolderFailsQuietly();
    void filesInTheWayAreLeftAlone_data();
    void filesInTheWayAreLeftAlone();
    void installedEntryDecidesTheUserEntry_data();
    void installedEntryDecidesTheUserEntry();
    void desktopOpensLinksThroughTheEntry_data();
    void desktopOpensLinksThroughTheEntry();
};

void tst_UrlRegistration::setRegValue_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("fail");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("stored"); // empty: nothing stored

    using F = FakeRegistry::Fail;
    const int own = ModReg::kErrorNumber;
    const QString regError = QStringLiteral("设置注册表时出错");
    QTest::newRow("REG_SZ") << 1 << QVariant("URL:Melodeck Protocol") << int(F::None) << 0 << ""
                            << "1:URL:Melodeck Protocol";
    QTest::newRow("REG_EXPAND_SZ from a number") << 2 << QVariant(42) << int(F::None) << 0 << ""
                                                 << "2:42";
    QTest::newRow("REG_DWORD") << 4 << QVariant(2) << int(F::None) << 0 << ""
                               << "4:2";
    QTest::newRow("REG_BINARY, negative") << 3 << QVariant(-1) << int(F::None) << 0 << ""
                                          << "3:-1";
    QTest::newRow("DWORD rounds halves to even") << 4 << QVariant(2.5) << int(F::None) << 0 << ""
                                                 << "4:2";
    QTest::newRow("DWORD from text") << 4 << QVariant(" 7 ") << int(F::None) << 0 << ""
                                     << "4:7";
    QTest::newRow("DWORD overflow") << 4 << QVariant(4294967295.0) << int(F::None)
                                    << ModReg::kOverflow << QStringLiteral("溢出") << "";
    QTest::newRow("DWORD from words")
        << 4 << QVariant("two") << int(F::None) << ModReg::kTypeMismatch
        << QStringLiteral("类型不匹配") << "";
    QTest::newRow("type 7 unsupported")
        << 7 << QVariant("x") << int(F::None) << own << QStringLiteral("不支持该参数类型") << "";
    QTest::newRow("type 0 unsupported")
        << 0 << QVariant("x") << int(F::None) << own << QStringLiteral("不支持该参数类型") << "";
    QTest::newRow("key cannot be made")
        << 1 << QVariant("x") << int(F::Create) << own << regError << "";
    QTest::newRow("write fails") << 1 << QVariant("x") << int(F::Set) << own << regError << "";
    QTest::newRow("close fails") << 1 << QVariant("x") << int(F::Close) << own << regError << "1:x";
}

void tst_UrlRegistration::setRegValue() {
    QFETCH(int, type);
    QFETCH(QVariant, value);
    QFETCH(int, fail);
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, stored);
    FakeRegistry registry;
    registry.fail = FakeRegistry::Fail(fail);
    std::int32_t errNumber = 12345;
    QString errDescription = QStringLiteral("stale");
    const bool ok =
        ModReg::SetRegValue(registry, RegRoot::CurrentUser, QStringLiteral("K\\L"),
                            QStringLiteral("V"), type, value, errNumber, errDescription);
    QCOMPARE(ok, number == 0);
    QCOMPARE(errNumber, number);
    QCOMPARE(errDescription, description);
    QCOMPARE(registry.values.value(QStringLiteral("1\\K\\L\\V")), stored);
    QCOMPARE(registry.openKeys, 0); // every failure still closes the key
}

void tst_UrlRegistration::windowsProtocolValues() {
    FakeRegistry registry;
    QVERIFY(UrlRegistration::RegisterWindowsProtocol(registry,
                                                     QStringLiteral("C:\\音乐\\Melodeck.exe")));
    const QString key = QStringLiteral("1\\Software\\Classes\\Melodeck");
    QCOMPARE(registry.values, (QMap<QString, QString>{
                                  {key + "\\", "1:URL:Melodeck Protocol"},
                                  {key + "\\EditFlags", "4:2"},
                                  {key + "\\URL Protocol", "1:Melodeck"},
                                  {key + "\\shell\\open\\command\\",
                                   QStringLiteral("1:\"C:\\音乐\\Melodeck.exe\" %1")},
                              }));
    registry.fail = FakeRegistry::Fail::Set;
    QVERIFY(!UrlRegistration::RegisterWindowsProtocol(registry, QStringLiteral("C:\\M.exe")));
}

void tst_UrlRegistration::desktopEntry_data() {
    QTest::addColumn<QString>("program");  // under the test's folder
    QTest::addColumn<QString>("data");     // the data folder, under the test's folder
    QTest::addColumn<QString>("inTheWay"); // at the link's place: "", "file", "old link"
    QTest::addColumn<QString>("exec");     // Exec's program: "@" the test's folder
    const QString odd = "/my \"player\" $1 100%/melodeck";
    const QString quoted = "\"@/my \\\\\"player\\\\\" \\\\$1 100%%/melodeck\"";
    const QString link = "@/data/melodeck/bin/melodeck";
    QTest::newRow("plain path named as it is") << "/bin/melodeck"
                                               << "/data"
                                               << ""
                                               << "@/bin/melodeck";
    QTest::newRow("space, quotes, $ and %: through a plain link") << odd << "/data"
                                                                  << "" << link;
    QTest::newRow("an old link pointed anew") << odd << "/data"
                                              << "old link" << link;
    QTest::newRow("the user's file in the link's place: quoted") << odd << "/data"
                                                                 << "file" << quoted;
    // quoted, with ", $ and \ escaped twice and % doubled
    QTest::newRow("data folder not plain either: quoted") << odd << "/my data"
                                                          << "" << quoted;
}

// The entry names a path every opener runs as one program: xdg-open's
// generic mode only a plain one, the others one quoted by the Exec rules.
void tst_UrlRegistration::desktopEntry() {
    QFETCH(QString, program);
    QFETCH(QString, data);
    QFETCH(QString, inTheWay);
    QFETCH(QString, exec);
    QTemporaryDir dir;
    program.prepend(dir.path());
    data.prepend(dir.path());
    QVERIFY(QDir().mkpath(QFileInfo(program).absolutePath()) &&
            WriteScript(program, "#!/bin/sh\n"));
    const QString link = data + "/melodeck/bin/melodeck";
    if (!inTheWay.isEmpty()) {
        QVERIFY(QDir().mkpath(data + "/melodeck/bin"));
        QVERIFY(inTheWay == "file" ? WriteScript(link, "#!/bin/sh\n")
                                   : QFile::link("/old/melodeck", link));
    }
    QVERIFY(UrlRegistration::RegisterDesktopHandler(program, data, dir.path() + "/config"));
    const QString text = ReadAll(data + "/applications/melodeck.desktop");
    QVERIFY2(text.startsWith(QStringLiteral("[Desktop Entry]\n")), qPrintable(text));
    for (const QString& line :
         {QStringLiteral("Type=Application"), QStringLiteral("MimeType=x-scheme-handler/melodeck;"),
          "Exec=" + QString(exec).replace('@', dir.path()) + " %u"})
        QVERIFY2(text.contains("\n" + line + "\n"), qPrintable(line + " in\n" + text));
    if (exec.endsWith("/bin/melodeck") && exec.startsWith("@/data"))
        QCOMPARE(QFileInfo(link).symLinkTarget(), program);
    else if (inTheWay == "file")
        QCOMPARE(ReadBytes(link), QByteArray("#!/bin/sh\n"));
    else
        QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(UrlRegistration::EntryServesProgram(text, program));
    QCOMPARE(UrlRegistration::DesktopEntryText(QStringLiteral("/a\nb")), QString());
}

void tst_UrlRegistration::mimeapps_data() {
    QTest::addColumn<QString>("before"); // "<none>": no file
    QTest::addColumn<QString>("after");

    const QString handler = QStringLiteral("x-scheme-handler/melodeck=melodeck.desktop\n");
    QTest::newRow("no file") << "<none>"
                             << "[Default Applications]\n" + handler;
    QTest::newRow("other groups and entries kept, group added")
        << "[Added Associations]\ntext/plain=gedit.desktop;\n"
        << "[Added Associations]\ntext/plain=gedit.desktop;\n\n[Default Applications]\n" + handler;
    QTest::newRow("entry added to the group, before the blank line")
        << "# mine\n[Default Applications]\ntext/html=firefox.desktop\n\n[Removed "
           "Associations]\na=b\n"
        << "# mine\n[Default Applications]\ntext/html=firefox.desktop\n" + handler +
               "\n[Removed Associations]\na=b\n";
    QTest::newRow("old handler replaced in place, duplicates dropped")
        << "[Default Applications]\nx-scheme-handler/melodeck = old.desktop\na=b\n"
           "x-scheme-handler/melodeck=other.desktop\n[Other]\nx-scheme-handler/melodeck=keep\n"
        << "[Default Applications]\n" + handler + "a=b\n[Other]\nx-scheme-handler/melodeck=keep\n";
    QTest::newRow("similar keys untouched")
        << "[Default Applications]\nx-scheme-handler/melodeck2=x.desktop"
        << "[Default Applications]\nx-scheme-handler/melodeck2=x.desktop\n" + handler;
}

void tst_UrlRegistration::mimeapps() {
    QFETCH(QString, before);
    QFETCH(QString, after);
    QTemporaryDir dir;
    const QString list = dir.path() + "/config/mimeapps.list";
    if (before != QLatin1String("<none>")) {
        QVERIFY(QDir().mkpath(dir.path() + "/config"));
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before.toUtf8());
    }
    for (int start = 0; start < 2; ++start) { // every start rewrites; the second changes nothing
        QVERIFY(UrlRegistration::RegisterDesktopHandler(
            QStringLiteral("/opt/m/melodeck"), dir.path() + "/data", dir.path() + "/config"));
        QCOMPARE(ReadAll(list), after);
    }
}

void tst_UrlRegistration::unwritableFolderFailsQuietly() {
    QTemporaryDir dir;
    QFile blocker(dir.path() + "/config");
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    QVERIFY(!UrlRegistration::RegisterDesktopHandler(QStringLiteral("/opt/m/melodeck"),
                                                     dir.path() + "/data", dir.path() + "/config"));
    QCOMPARE(ReadAll(dir.path() + "/config"), QString());
}

// What the registration finds in its way is never waited on, read whole
// when huge, written through or rewritten beyond its one line.
void tst_UrlRegistration::filesInTheWayAreLeftAlone_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("registered");
    QTest::newRow("mimeapps.list a FIFO") << "fifo" << false;
    QTest::newRow("mimeapps.list of 2 MiB") << "huge" << false;
    QTest::newRow("undecodable bytes kept") << "bytes" << true;
    QTest::newRow("entry a link to another program's") << "link" << false;
    QTest::newRow("the user's own entry") << "own" << false;
}

void tst_UrlRegistration::filesInTheWayAreLeftAlone() {
    QFETCH(QString, kind);
    QFETCH(bool, registered);
    QTemporaryDir dir;
    const QString config = dir.path() + "/config";
    const QString apps = dir.path() + "/data/applications";
    QVERIFY(QDir().mkpath(config) && QDir().mkpath(apps));
    const QString list = config + "/mimeapps.list";
    const QString entry = apps + "/melodeck.desktop";
    const QString other = apps + "/other.desktop";
    const QByteArray otherText = "[Desktop Entry]\nExec=other %u\n";
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    QByteArray before = "[Default Applications]\ntext/x-caf\xE9=caf\xE9.desktop\n";
    if (kind == "fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(list).constData(), 0600), 0);
    else
        QVERIFY(write(list, kind == "huge" ? QByteArray(2 * 1024 * 1024, '#') : before));
    if (kind == "link") {
        QVERIFY(write(other, otherText));
        QVERIFY(QFile::link(other, entry));
    } else if (kind == "own") {
        QVERIFY(write(entry, otherText));
    }
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(UrlRegistration::RegisterDesktopHandler(QStringLiteral("/opt/m/melodeck"),
                                                     dir.path() + "/data", config),
             registered);
    QVERIFY(clock.elapsed() < 2000);
    if (kind == "fifo")
        QVERIFY(QFileInfo(list).isFile() == false && QFileInfo(list).exists());
    else if (kind == "huge")
        QCOMPARE(QFileInfo(list).size(), 2 * 1024 * 1024);
    else if (kind == "bytes")
        QCOMPARE(ReadBytes(list), before + "x-scheme-handler/melodeck=melodeck.desktop\n");
    if (kind == "link") {
        QVERIFY(QFileInfo(entry).isSymLink());
        QCOMPARE(ReadBytes(other), otherText);
    } else if (kind == "own") {
        QCOMPARE(ReadBytes(entry), otherText);
    }
}

void tst_UrlRegistration::installedEntryDecidesTheUserEntry_data() {
    QTest::addColumn<QString>("exec");       // the installed entry's; "" for none
    QTest::addColumn<QString>("types");      // its MimeType
    QTest::addColumn<QString>("userBefore"); // the user's entry before the start
    QTest::addColumn<bool>("userAfter");     // whether the user's entry exists after it
    QTest::addColumn<bool>("userChanged");
    const QString scheme = "x-scheme-handler/melodeck;";
    const QString own =
        "[Desktop Entry]\nExec=/old/melodeck %u\nMimeType=" + scheme + "\nNoDisplay=true\n";
    const QString mine = "[Desktop Entry]\nExec=vlc %u\nMimeType=audio/mpeg;" + scheme + "\n";
    QTest::newRow("none installed: entry written") << ""
                                                   << ""
                                                   << "" << true << true;
    QTest::newRow("installed, by its link: no entry")
        << "@/bin/melodeck %U"
        << "audio/mpeg;" + scheme << "" << false << false;
    QTest::newRow("installed, quoted path: old own entry removed")
        << "\"@/lib/melodeck/melodeck\" %U" << scheme << own << false << false;
    QTest::newRow("installed: the user's own entry kept")
        << "@/bin/melodeck %U" << scheme << mine << true << false;
    QTest::newRow("installed entry of another program: entry written")
        << "/usr/bin/true %U" << scheme << own << true << true;
    QTest::newRow("installed entry without links: entry written") << "@/bin/melodeck %U"
                                                                  << "audio/mpeg;"
                                                                  << "" << true << true;
}

// An entry of the same name in the user's folder hides the installed one,
// its menu item and its file types: none is written while the installed
// entry starts this program and takes the links. The links work either way.
void tst_UrlRegistration::installedEntryDecidesTheUserEntry() {
    QFETCH(QString, exec);
    QFETCH(QString, types);
    QFETCH(QString, userBefore);
    QFETCH(bool, userAfter);
    QFETCH(bool, userChanged);
    QTemporaryDir dir;
    const QString prefix = dir.path() + "/usr";
    QVERIFY(QDir().mkpath(prefix + "/lib/melodeck") && QDir().mkpath(prefix + "/bin"));
    const QString program = prefix + "/lib/melodeck/melodeck";
    QVERIFY(WriteScript(program, "#!/bin/sh\n"));
    QVERIFY(QFile::link("../lib/melodeck/melodeck", prefix + "/bin/melodeck"));
    const QString system = dir.path() + "/system";
    if (!exec.isEmpty()) {
        QVERIFY(QDir().mkpath(system + "/applications"));
        QVERIFY(WriteScript(system + "/applications/melodeck.desktop",
                            ("[Desktop Entry]\nType=Application\nName=Melodeck\nExec=" +
                             QString(exec).replace('@', prefix) + "\nMimeType=" + types + "\n")
                                .toUtf8()));
    }
    const QString user = dir.path() + "/data/applications/melodeck.desktop";
    if (!userBefore.isEmpty()) {
        QVERIFY(QDir().mkpath(dir.path() + "/data/applications"));
        QVERIFY(WriteScript(user, userBefore.toUtf8()));
    }
    QVERIFY(UrlRegistration::RegisterDesktopHandler(
        program, dir.path() + "/data", dir.path() + "/config", {dir.path() + "/none", system}));
    QCOMPARE(QFile::exists(user), userAfter);
    if (userAfter)
        QCOMPARE(ReadAll(user) != userBefore, userChanged);
    QVERIFY(ReadAll(dir.path() + "/config/mimeapps.list")
                .contains("x-scheme-handler/melodeck=melodeck.desktop\n"));
}

void tst_UrlRegistration::desktopOpensLinksThroughTheEntry_data() {
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("data"); // the data folder's name
    for (const char* opener : {"gio", "xdg-open"}) {
        const QString name = QString::fromLatin1(opener);
        QTest::newRow(qPrintable(name + ", the user's entry")) << name << false << "data";
        QTest::newRow(qPrintable(name + ", the installed entry")) << name << true << "data";
    }
    // xdg-open's generic mode cannot run a quoted path at all.
    QTest::newRow("gio, the user's entry, quoted") << "gio" << false << "my data";
}

// The desktop's own opener finds the handler through the two files and
// starts the program, in a folder whose name needs quoting, with the link
// as its one argument.
void tst_UrlRegistration::desktopOpensLinksThroughTheEntry() {
    QFETCH(QString, opener);
    QFETCH(bool, installed);
    QFETCH(QString, data);
    const QString tool = QStandardPaths::findExecutable(opener);
    if (tool.isEmpty())
        QSKIP("this link opener is not installed");
    QTemporaryDir dir;
    const QString folder =
        dir.path() + (installed ? QStringLiteral("/lib") : QStringLiteral("/my \"music\" $HOME"));
    QVERIFY(QDir().mkpath(folder));
    const QString program = folder + QStringLiteral("/melodeck");
    const QString out = dir.path() + QStringLiteral("/arguments");
    QVERIFY(WriteScript(program, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + out.toUtf8() + "'\n"));
    const QString system = dir.path() + "/share";
    if (installed) {
        QVERIFY(QDir().mkpath(system + "/applications"));
        QVERIFY(WriteScript(
            system + "/applications/melodeck.desktop",
            "[Desktop Entry]\nType=Application\nName=Melodeck\nExec=" + program.toUtf8() +
                " %U\nMimeType=audio/mpeg;x-scheme-handler/melodeck;\n"));
    }
    const QString dataHome = dir.path() + '/' + data;
    QVERIFY(UrlRegistration::RegisterDesktopHandler(program, dataHome, dir.path() + "/config",
                                                    {system}));
    QCOMPARE(QFile::exists(dataHome + "/applications/melodeck.desktop"), !installed);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", dataHome);
    env.insert("XDG_CONFIG_HOME", dir.path() + "/config");
    env.insert("XDG_DATA_DIRS", system);
    // Outside a desktop xdg-open runs its generic mode, which reads desktop
    // entries only when it sees a display.
    env.remove("XDG_CURRENT_DESKTOP");
    env.remove("DESKTOP_SESSION");
    if (env.value("DISPLAY").isEmpty())
        env.insert("DISPLAY", ":0");
    process.setProcessEnvironment(env);
    const QString link = QStringLiteral("melodeck://singer=A B&song=晴天&type=-1");
    process.start(tool, opener == "gio" ? QStringList{"open", link} : QStringList{link});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 0);
    QTRY_COMPARE(ReadAll(out), link + "\n");
}

QTEST_MAIN(tst_UrlRegistration)
#include "tst_UrlRegistration.moc"
