#include "net/UrlRegistration.h"

#include "net/ModReg.h"
#include "winsvc/ProgramFolders.h"
#include "winsvc/RegularFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <optional>

namespace UrlRegistration {
namespace {

const QString kEntryName = QStringLiteral("melodeck.desktop");
const QString kSchemeKey = QStringLiteral("x-scheme-handler/melodeck");
const QString kGroup = QStringLiteral("[Default Applications]");

// A program path as one argument of Exec: as it is when it holds nothing
// but letters, digits and "/._+-" (xdg-open's generic mode, used outside
// GNOME and KDE, takes the first word of Exec as it stands and cannot run a
// quoted one); otherwise quoted, inside the quotes `"`, "`", "$" and "\"
// escaped with "\", the value itself then escaping every "\" once more and
// doubling "%", which Exec gives a meaning.
bool IsPlainPath(const QString& path) {
    return !path.isEmpty() && std::all_of(path.cbegin(), path.cend(), [](QChar c) {
        return (c.isLetterOrNumber() && c.unicode() < 0x80) || QStringView(u"/._+-").contains(c);
    });
}

QString QuotedExecArgument(const QString& path) {
    if (IsPlainPath(path))
        return path;
    QString quoted;
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    quoted.replace(QLatin1Char('%'), QLatin1String("%%"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The largest mimeapps.list read: real ones are a few kilobytes.
constexpr qint64 kMaxListSize = 1024 * 1024;

bool WriteAtomically(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(bytes) == bytes.size() && file.commit();
}

// Nothing at all is there (not even a broken link).
bool IsMissing(const QString& path) {
    return !QFileInfo(path).exists() && !QFileInfo(path).isSymLink();
}

// What Exec names to start `programPath`. xdg-open's generic mode cannot run
// a path that needs quoting (one with a space, say), so such a program is
// started through a link of a plain path in the user's data folder, made or
// pointed anew here. Anything else in the link's place is left alone, and
// then, as when the data folder's own path is not plain, the program's path
// is named quoted, which every other opener runs.
QString LaunchPath(const QString& programPath, const QString& dataHome) {
    const QString link = dataHome + QStringLiteral("/melodeck/bin/melodeck");
    if (IsPlainPath(programPath) || !IsPlainPath(link))
        return programPath;
    const QFileInfo existing(link);
    if (existing.isSymLink() && existing.symLinkTarget() == programPath)
        return link;
    if (!existing.isSymLink() && !IsMissing(link))
        return programPath;
    // Made beside it and renamed over it, so the link is never missing.
    const QString made = link + QStringLiteral(".new");
    QFile::remove(made);
    if (!QDir().mkpath(existing.absolutePath()) || !QFile::link(programPath, made) ||
        std::rename(QFile::encodeName(made).constData(), QFile::encodeName(link).constData()) !=
            0) {
        QFile::remove(made);
        return programPath;
    }
    return link;
}

// The value of `key` in the "[Desktop Entry]" group, or nothing.
std::optional<QString> EntryValue(const QString& entryText, const QString& key) {
    bool inMainGroup = false;
    for (const QString& raw : entryText.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inMainGroup && eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

// The program Exec names: its first argument, unquoted.
QString ExecProgram(const QString& exec) {
    if (!exec.startsWith(QLatin1Char('"')))
        return exec.section(QLatin1Char(' '), 0, 0);
    // The reverse of QuotedExecArgument: the value's own escaping first
    // ("\\" stands for "\"), then inside the quotes "\" escapes the next
    // character, and "%%" is a percent sign.
    QString unescaped = exec.mid(1);
    unescaped.replace(QLatin1String("\\\\"), QLatin1String("\\"));
    QString program;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        if (unescaped[i] == u'"')
            return program.replace(QLatin1String("%%"), QLatin1String("%"));
        if (unescaped[i] == u'\\' && i + 1 < unescaped.size())
            ++i;
        program += unescaped[i];
    }
    return QString(); // no closing quote: not a usable Exec
}

// The entry this program writes for links alone (see DesktopEntryText):
// the scheme and nothing else, hidden from menus. Any other entry of that
// name is the user's own and is left alone.
bool IsOwnLinkEntry(const QString& entryText) {
    return EntryValue(entryText, QStringLiteral("MimeType")) == kSchemeKey + QLatin1Char(';') &&
           EntryValue(entryText, QStringLiteral("NoDisplay")) == QLatin1String("true");
}

std::optional<QString> ReadEntry(const QString& path) {
    constexpr qint64 kMaxEntrySize = 64 * 1024;
    QString error;
    const std::optional<QByteArray> bytes = RegularFile::ReadAll(path, kMaxEntrySize, error);
    if (!bytes)
        return std::nullopt;
    return QString::fromUtf8(*bytes);
}

// Whether the entry the desktop finds first in `dataDirs` starts this
// program and takes its links.
bool InstalledEntryServes(const QString& programPath, const QStringList& dataDirs) {
    for (const QString& dir : dataDirs) {
        const QString path = dir + QStringLiteral("/applications/") + kEntryName;
        if (!QFileInfo::exists(path))
            continue;
        const std::optional<QString> text = ReadEntry(path);
        return text && EntryServesProgram(*text, programPath);
    }
    return false;
}

#ifndef Q_OS_WIN
QStringList XdgDataDirs() {
    QStringList dirs;
    for (const QString& dir : qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':'))) {
        if (QDir::isAbsolutePath(dir))
            dirs << dir;
    }
    if (dirs.isEmpty())
        dirs << QStringLiteral("/usr/local/share") << QStringLiteral("/usr/share");
    return dirs;
}

QString XdgFolder(const char* variable, const QString& fallbackUnderHome) {
    return ProgramFolders::XdgBaseDir(qEnvironmentVariable(variable), QDir::homePath(),
                                      fallbackUnderHome);
}
#endif

} // namespace

QString DesktopEntryText(const QString& programPath) {
    if (programPath.contains(QLatin1Char('\n')) || programPath.contains(QLatin1Char('\r')))
        return QString();
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Melodeck\n"
                          "Comment=Opens melodeck:// links\n"
                          "Exec=") +
           QuotedExecArgument(programPath) +
           QStringLiteral(" %u\n"
                          "MimeType=x-scheme-handler/melodeck;\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n");
}

// Works on the file's bytes line by line: only the handler's line is made
// or changed, and every other byte stays as it was, whatever its encoding.
QByteArray WithDefaultHandler(const QByteArray& mimeapps) {
    const QByteArray handler = (kSchemeKey + QLatin1Char('=') + kEntryName).toUtf8();
    const QByteArray group = kGroup.toUtf8();
    const QByteArray key = kSchemeKey.toUtf8();
    const auto isSchemeLine = [&](const QByteArray& line) {
        const qsizetype eq = line.indexOf('=');
        return eq > 0 && line.left(eq).trimmed() == key;
    };
    QByteArrayList lines = mimeapps.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    qsizetype start = -1;
    for (qsizetype i = 0; i < lines.size() && start < 0; ++i) {
        if (lines[i].trimmed() == group)
            start = i;
    }
    if (start < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QByteArray();
        lines << group << handler;
        return lines.join('\n') + '\n';
    }
    qsizetype end = start + 1;
    while (end < lines.size() && !lines[end].trimmed().startsWith('['))
        ++end;
    bool replaced = false;
    for (qsizetype i = start + 1; i < end;) {
        if (!isSchemeLine(lines[i])) {
            ++i;
        } else if (replaced) {
            lines.removeAt(i); // a second line for the key would be ambiguous
            --end;
        } else {
            lines[i++] = handler;
            replaced = true;
        }
    }
    if (!replaced) {
        // After the group's last entry, before blank lines that separate it
        // from the next group.
        qsizetype at = end;
        while (at > start + 1 && lines[at - 1].trimmed().isEmpty())
            --at;
        lines.insert(at, handler);
    }
    return lines.join('\n') + '\n';
}

bool EntryServesProgram(const QString& entryText, const QString& programPath) {
    const std::optional<QString> types = EntryValue(entryText, QStringLiteral("MimeType"));
    if (!types || !types->split(QLatin1Char(';')).contains(kSchemeKey))
        return false;
    QString program =
        ExecProgram(EntryValue(entryText, QStringLiteral("Exec")).value_or(QString()));
    if (!program.isEmpty() && !program.contains(QLatin1Char('/')))
        program = QStandardPaths::findExecutable(program);
    const QString started = program.isEmpty() ? QString() : QFileInfo(program).canonicalFilePath();
    return !started.isEmpty() && started == QFileInfo(programPath).canonicalFilePath();
}

bool RegisterDesktopHandler(const QString& programPath, const QString& dataHome,
                            const QString& configHome, const QStringList& systemDataDirs) {
    const QString userEntry = dataHome + QStringLiteral("/applications/") + kEntryName;
    if (InstalledEntryServes(programPath, systemDataDirs)) {
        // A user entry of the same name would hide the installed one.
        const std::optional<QString> own = ReadEntry(userEntry);
        if (own && IsOwnLinkEntry(*own) && !QFile::remove(userEntry))
            return false;
    } else {
        // Only our own entry, or none, is written: a link there (say to
        // another program's entry) or the user's own entry is left alone.
        const std::optional<QString> own = ReadEntry(userEntry);
        const bool ours = own && IsOwnLinkEntry(*own) && !QFileInfo(userEntry).isSymLink();
        if (!ours && !IsMissing(userEntry))
            return false;
        const QString entry =
            DesktopEntryText(LaunchPath(QFileInfo(programPath).absoluteFilePath(), dataHome));
        if (entry.isEmpty() || !WriteAtomically(userEntry, entry.toUtf8()))
            return false;
    }
    const QString listPath = configHome + QStringLiteral("/mimeapps.list");
    QByteArray current;
    if (!IsMissing(listPath)) {
        // Never replace a file that could not be read, and never wait on a
        // FIFO or read a huge file whole.
        QString error;
        const std::optional<QByteArray> bytes = RegularFile::ReadAll(listPath, kMaxListSize, error);
        if (!bytes)
            return false;
        current = *bytes;
    }
    const QByteArray updated = WithDefaultHandler(current);
    return updated == current || WriteAtomically(listPath, updated);
}

bool RegisterWindowsProtocol(Registry& registry, const QString& programPath) {
    struct Value {
        QString subKey;
        QString name;
        int type;
        QVariant data;
    };
    const QString key = QStringLiteral("Software\\Classes\\Melodeck");
    const Value values[] = {
        {key, QString(), RegType::String, QStringLiteral("URL:Melodeck Protocol")},
        {key, QStringLiteral("EditFlags"), RegType::Dword, 2},
        {key, QStringLiteral("URL Protocol"), RegType::String, QStringLiteral("Melodeck")},
        {key + QStringLiteral("\\shell\\open\\command"), QString(), RegType::String,
         QLatin1Char('"') + programPath + QStringLiteral("\" %1")},
    };
    bool all = true;
    for (const Value& v : values) {
        std::int32_t number = 0;
        QString description;
        all = ModReg::SetRegValue(registry, RegRoot::CurrentUser, v.subKey, v.name, v.type, v.data,
                                  number, description) &&
              all;
    }
    return all;
}

bool RegisterUrlProtocol() {
    const QString program = QCoreApplication::applicationFilePath();
#ifdef Q_OS_WIN
    return RegisterWindowsProtocol(*MakeWindowsRegistry(), QDir::toNativeSeparators(program));
#else
    return RegisterDesktopHandler(
        program, XdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")),
        XdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")), XdgDataDirs());
#endif
}

} // namespace UrlRegistration
