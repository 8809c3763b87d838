#include "winsvc/ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace ProgramFolders {
namespace {

QString Clean(const QString& path) {
    QString dir = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (dir.size() > 1 && dir.endsWith(QLatin1Char('/')))
        dir.chop(1);
    return dir;
}

} // namespace

Folders Decide(const Inputs& in, const std::function<bool(const QString&)>& writable) {
    if (!in.MelodeckHome.isEmpty()) {
        const QString home = Clean(in.MelodeckHome);
        return {home, home};
    }
    const QString program = Clean(in.ExecutableDir);
    if (writable(program))
        return {program, program};
    const QString base = XdgBaseDir(in.XdgDataHome, in.UserHome, QStringLiteral(".local/share"));
    return {program, Clean(base + QStringLiteral("/melodeck"))};
}

QString XdgBaseDir(const QString& value, const QString& home, const QString& fallbackUnderHome) {
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return home + QLatin1Char('/') + fallbackUnderHome;
}

bool IsWritableFolder(const QString& folder) {
#ifdef Q_OS_UNIX
    // access() rather than the mode bits: it answers for this user, groups,
    // ACLs and read-only mounts included.
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
#else
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
#endif
}

Folders Current() {
    const Inputs in{qEnvironmentVariable("MELODECK_HOME"), QCoreApplication::applicationDirPath(),
                    qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath()};
    return Decide(in, &IsWritableFolder);
}

} // namespace ProgramFolders

QString ProgramDir() {
    return ProgramFolders::Current().Program;
}

QString UserDataDir() {
    return ProgramFolders::Current().UserData;
}

QStringList SkinDirs() {
    const ProgramFolders::Folders folders = ProgramFolders::Current();
    const QString shipped = folders.Program + QStringLiteral("/skin");
    if (folders.UserData == folders.Program)
        return {shipped};
    return {folders.UserData + QStringLiteral("/skin"), shipped};
}
