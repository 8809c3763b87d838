// The program as installed with `cmake --install`: the layout of the prefix,
// desktop files the desktop's own validators accept, and a run of the
// installed program that keeps the user's playlists where it may write.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kDefaultList = QByteArray::fromHex("7B5BC4ACC8CF5D7D0D0A"); // {[默认]} CR LF

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Runs `program` to its end; its exit code, or -1 when it could not run.
int run(const QString& program, const QStringList& args, QByteArray* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = process.readAll();
    return process.exitCode();
}

// Hands `path` and every folder under it to `user`.
bool chownTree(const QString& path, uid_t uid, gid_t gid) {
    if (::chown(QFile::encodeName(path).constData(), uid, gid) != 0)
        return false;
    const QFileInfoList entries =
        QDir(path).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        if (!chownTree(entry.filePath(), uid, gid))
            return false;
    }
    return true;
}

} // namespace

class tst_Install : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void layout_data();
    void layout();
    void nothingElseIsInstalled();
    void validatorsAcceptTheDesktopFiles_data();
    void validatorsAcceptTheDesktopFiles();
    void iconsAreDrawnAtTheirSize();
    void userDataGoesWhereTheProgramMayWrite_data();
    void userDataGoesWhereTheProgramMayWrite();

private:
    QString prefix(const QString& rel) const { return m_prefix.filePath(rel); }
    QTemporaryDir m_prefix;
};

void tst_Install::initTestCase() {
    QVERIFY(m_prefix.isValid());
    QByteArray output;
    const int code = run(QStringLiteral(MELODECK_CMAKE),
                         {QStringLiteral("--install"), QStringLiteral(MELODECK_BUILD_DIR),
                          QStringLiteral("--prefix"), m_prefix.path()},
                         &output);
    QVERIFY2(code == 0, output.constData());
    // The started program may run as another user, who must reach it.
    QVERIFY(QFile::setPermissions(m_prefix.path(), QFile::permissions(m_prefix.path()) |
                                                       QFile::ReadOther | QFile::ExeOther));
}

void tst_Install::layout_data() {
    QTest::addColumn<QString>("path");
    for (const char* path :
         {"lib/melodeck/melodeck", "lib/melodeck/skin/Winamp Modern/skin.xml",
          "lib/melodeck/skin/Default/playlist.xml", "lib/melodeck/skin/Amber Deck/skin.xml",
          "share/applications/melodeck.desktop",
          "share/metainfo/net.melodeck.Melodeck.metainfo.xml",
          "share/icons/hicolor/16x16/apps/melodeck.png",
          "share/icons/hicolor/256x256/apps/melodeck.png"})
        QTest::newRow(path) << QString::fromLatin1(path);
}

void tst_Install::layout() {
    QFETCH(QString, path);
    QVERIFY2(QFileInfo(prefix(path)).isFile(), qPrintable(path));
}

// bin/ holds one relative link to the program (the prefix may be moved);
// the program folder holds the program and the shipped skins, nothing of
// the build's tools, demos or its own playlists.
void tst_Install::nothingElseIsInstalled() {
    QCOMPARE(QDir(prefix("bin")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
             QStringList{"melodeck"});
    char target[256] = {};
    QVERIFY(::readlink(QFile::encodeName(prefix("bin/melodeck")).constData(), target,
                       sizeof target - 1) > 0);
    QCOMPARE(QByteArray(target), QByteArray("../lib/melodeck/melodeck"));
    QCOMPARE(QDir(prefix("lib/melodeck")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{"melodeck", "skin"}));
    QCOMPARE(QDir(prefix("lib/melodeck/skin")).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{"Amber Deck", "Default", "Winamp Modern"}));
    const QByteArray entry = readFile(prefix("share/applications/melodeck.desktop"));
    QVERIFY2(entry.contains("\nExec=" + QFile::encodeName(prefix("bin/melodeck")) + " %U\n"),
             entry.constData());
}

void tst_Install::validatorsAcceptTheDesktopFiles_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("args");
    QTest::newRow("desktop entry")
        << "desktop-file-validate" << QStringList{prefix("share/applications/melodeck.desktop")};
    QTest::newRow("metainfo") << "appstreamcli"
                              << QStringList{"validate", "--no-net",
                                             prefix("share/metainfo/"
                                                    "net.melodeck.Melodeck.metainfo.xml")};
}

void tst_Install::validatorsAcceptTheDesktopFiles() {
    QFETCH(QString, tool);
    QFETCH(QStringList, args);
    const QString path = QStandardPaths::findExecutable(tool);
    QVERIFY2(!path.isEmpty(), qPrintable(tool + " is missing: run scripts/setup"));
    QByteArray output;
    const int code = run(path, args, &output);
    // desktop-file-validate says nothing at all about a flawless entry.
    QVERIFY2(code == 0 && (tool != "desktop-file-validate" || output.isEmpty()),
             output.constData());
}

// Each size is drawn for itself: transparent corners, an opaque middle.
void tst_Install::iconsAreDrawnAtTheirSize() {
    for (const int n : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(
            prefix(QStringLiteral("share/icons/hicolor/%1x%1/apps/melodeck.png").arg(n)));
        QCOMPARE(icon.size(), QSize(n, n));
        QVERIFY(icon.hasAlphaChannel());
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(n - 1, n - 1)), 0);
        QCOMPARE(qAlpha(icon.pixel(n / 2, n / 2)), 255);
    }
}

void tst_Install::userDataGoesWhereTheProgramMayWrite_data() {
    QTest::addColumn<bool>("shared");
    QTest::newRow("installed for all users") << true;
    QTest::newRow("writable copy") << false;
}

// The installed program, started by its link without MELODECK_HOME, saves
// its first playlist at exit: under XDG_DATA_HOME when its program folder
// is not writable for the user running it, else beside itself. The
// installed desktop entry takes the links, so a link entry an earlier copy
// wrote into the user's folder (which would hide the installed one) goes.
void tst_Install::userDataGoesWhereTheProgramMayWrite() {
    QFETCH(bool, shared);
    const QString programDir = prefix("lib/melodeck");
    QTemporaryDir user;
    const QString data = user.filePath("data");
    const QString ownLinkEntry = data + "/applications/melodeck.desktop";
    QVERIFY(writeFile(ownLinkEntry, "[Desktop Entry]\nType=Application\nName=Melodeck\nExec="
                                    "/old/melodeck %u\nMimeType=x-scheme-handler/melodeck;\n"
                                    "NoDisplay=true\n"));
    for (const char* folder : {"home", "runtime", "config"})
        QVERIFY(QDir(user.path()).mkdir(folder));
    QVERIFY(QFile::setPermissions(user.filePath("runtime"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    QStringList command{prefix("bin/melodeck")};
    uid_t uid = ::getuid();
    const bool asRoot = ::geteuid() == 0;
    if (shared && asRoot) {
        // Root may write everywhere; the program runs as a user who may not.
        const passwd* nobody = ::getpwnam("nobody");
        QVERIFY(nobody);
        uid = nobody->pw_uid;
        QVERIFY(chownTree(user.path(), nobody->pw_uid, nobody->pw_gid));
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        QVERIFY2(!setpriv.isEmpty(), "setpriv (util-linux) is missing");
        command =
            QStringList{setpriv, "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"} +
            command;
    } else if (shared) {
        QVERIFY(::chmod(QFile::encodeName(programDir).constData(), 0555) == 0);
    }
    const auto restore = qScopeGuard([&] {
        ::chmod(QFile::encodeName(programDir).constData(), 0755);
        QDir(programDir + "/PlayList").removeRecursively();
    });

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("MELODECK_HOME");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("MELODECK_MPV_VO", "null");
    env.insert("MELODECK_MPV_AO", "null");
    env.insert("HOME", user.filePath("home"));
    env.insert("XDG_RUNTIME_DIR", user.filePath("runtime"));
    env.insert("XDG_DATA_HOME", data);
    env.insert("XDG_CONFIG_HOME", user.filePath("config"));
    env.insert("XDG_DATA_DIRS", prefix("share"));
    env.insert("MELODECK_SEARCH_URL", "http://127.0.0.1:9/");
    env.insert("MELODECK_UPDATE_URL", "http://127.0.0.1:9/");
    QProcess program;
    program.setProcessEnvironment(env);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(command.first(), command.mid(1));
    QVERIFY(program.waitForStarted());
    // It serves hand-offs once its windows are up and its lists loaded.
    const QString socket = user.filePath("runtime/Melodeck.FormDDE.") + QString::number(uid);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket) || program.state() != QProcess::Running, 20000);
    QCOMPARE(program.state(), QProcess::Running);
    ::kill(pid_t(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(20000));
    QCOMPARE(program.exitCode(), 0);

    const QString userList = data + "/melodeck/PlayList/0.MLF";
    const QString besideProgram = programDir + "/PlayList/0.MLF";
    QCOMPARE(readFile(shared ? userList : besideProgram), kDefaultList);
    QVERIFY(!QFile::exists(shared ? besideProgram : userList));
    QVERIFY(!QFile::exists(ownLinkEntry));
    QVERIFY(readFile(user.filePath("config/mimeapps.list"))
                .contains("x-scheme-handler/melodeck=melodeck.desktop\n"));
}

QTEST_GUILESS_MAIN(tst_Install)
#include "tst_Install.moc"
