#include "skin/SkinPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace SkinPaths {
namespace {

QString append(const QString& base, const QString& part) {
    if (base.isEmpty())
        return part;
    return base.endsWith(QLatin1Char('/')) ? base + part : base + QLatin1Char('/') + part;
}

// The entry of `folder` named `part` ignoring case, or `part` itself.
QString matchEntry(const QString& folder, const QString& part) {
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries = dir.entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(part, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return part;
}

} // namespace

QString Resolve(const QString& path) {
    QString local = path;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (local.isEmpty() || QFileInfo::exists(local))
        return local;

    QString current;
    QString rest = local;
    if (local.startsWith(QLatin1Char('/'))) {
        current = QStringLiteral("/");
        rest = local.mid(1);
    } else if (local.size() >= 2 && local[1] == QLatin1Char(':')) {
        current = local.left(2) + QLatin1Char('/'); // a Windows drive
        rest = local.mid(2);
    }
    const QStringList parts = rest.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    bool missing = false;
    for (const QString& part : parts) {
        QString next = append(current, part);
        if (!missing && !QFileInfo::exists(next)) {
            next = append(current, matchEntry(current, part));
            // Once a component is absent, nothing below it can be listed.
            missing = !QFileInfo::exists(next);
        }
        current = next;
    }
    return current;
}

QString Join(const QString& folder, const QString& name) {
    return Resolve(append(folder, name));
}

} // namespace SkinPaths
