#include "net/PendingItems.h"

#include "winsvc/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace PendingItems {

namespace {

QString PathIn(const QString& folder) {
    return QDir(folder).filePath(QLatin1String(FileName));
}

} // namespace

bool Keep(const QString& folder, const QStringList& items) {
    if (items.isEmpty())
        return true;
    const QString path = PathIn(folder);
    // Never appended through a link: the file is only ever this program's.
    if (QFileInfo(path).isSymLink() || !QDir().mkpath(folder))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QByteArray bytes;
    for (const QString& item : items)
        bytes += item.toUtf8() + '\0';
    return file.write(bytes) == bytes.size() && file.flush();
}

QStringList Take(const QString& folder, QString& error) {
    const QString path = PathIn(folder);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    if (info.isSymLink()) {
        error = QStringLiteral("is a symbolic link");
        return {};
    }
    const std::optional<QByteArray> bytes = RegularFile::ReadAll(path, kMaxBytes, error);
    if (!bytes)
        return {};
    QStringList items;
    for (const QByteArray& item : bytes->split('\0'))
        if (!item.isEmpty())
            items << QString::fromUtf8(item);
    // Items that stay in the file would come back at every start.
    if (!QFile::remove(path)) {
        error = QStringLiteral("cannot be removed");
        return {};
    }
    return items;
}

} // namespace PendingItems
