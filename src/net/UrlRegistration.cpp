#include "net/UrlRegistration.h"

#include "net/ModReg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace UrlRegistration {
namespace {

const QString kEntryName = QStringLiteral("melodeck.desktop");
const QString kSchemeKey = QStringLiteral("x-scheme-handler/melodeck");
const QString kGroup = QStringLiteral("[Default Applications]");

// A program path as one quoted argument of Exec. Inside the quotes `"`, "`",
// "$" and "\" are escaped with "\"; the value itself then escapes every "\"
// once more, and "%" is doubled because Exec gives it a meaning.
QString QuotedExecArgument(const QString& path) {
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

bool WriteAtomically(const QString& path, const QString& text) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size() && file.commit();
}

bool IsGroupHeader(const QString& line) {
    return line.trimmed().startsWith(QLatin1Char('['));
}

bool IsSchemeLine(const QString& line) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq > 0 && line.left(eq).trimmed() == kSchemeKey;
}

#ifndef Q_OS_WIN
QString XdgFolder(const char* variable, const QString& fallbackUnderHome) {
    const QString value = qEnvironmentVariable(variable);
    // A relative value is not a usable base folder; the default stands in.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + QLatin1Char('/') + fallbackUnderHome;
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

QString WithDefaultHandler(const QString& mimeapps) {
    const QString handler = kSchemeKey + QLatin1Char('=') + kEntryName;
    QStringList lines = mimeapps.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    qsizetype group = -1;
    for (qsizetype i = 0; i < lines.size() && group < 0; ++i) {
        if (lines[i].trimmed() == kGroup)
            group = i;
    }
    if (group < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << kGroup << handler;
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    qsizetype end = group + 1;
    while (end < lines.size() && !IsGroupHeader(lines[end]))
        ++end;
    bool replaced = false;
    for (qsizetype i = group + 1; i < end;) {
        if (!IsSchemeLine(lines[i])) {
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
        while (at > group + 1 && lines[at - 1].trimmed().isEmpty())
            --at;
        lines.insert(at, handler);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool RegisterDesktopHandler(const QString& programPath, const QString& dataHome,
                            const QString& configHome) {
    const QString entry = DesktopEntryText(QFileInfo(programPath).absoluteFilePath());
    if (entry.isEmpty() ||
        !WriteAtomically(dataHome + QStringLiteral("/applications/") + kEntryName, entry))
        return false;
    const QString listPath = configHome + QStringLiteral("/mimeapps.list");
    QFile existing(listPath);
    QString current;
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return false; // never replace a file that could not be read
        current = QString::fromUtf8(existing.readAll());
    }
    return WriteAtomically(listPath, WithDefaultHandler(current));
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
    return RegisterDesktopHandler(program,
                                  XdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")),
                                  XdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")));
#endif
}

} // namespace UrlRegistration
