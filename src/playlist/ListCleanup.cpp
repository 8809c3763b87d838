#include "playlist/ListCleanup.h"

#include "playback/modFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace ListCleanup {

namespace {

bool IsLocal(const CMediaInfo& item) {
    return modFile::GetPathKind(item.Path) == PathKind::Local;
}

QString ComparablePath(const CMediaInfo& item) {
    if (!IsLocal(item))
        return item.Path;
    QString path = item.Path;
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

} // namespace

QStringList Duplicates(const Records& items, const QString& playingKey) {
    QSet<QString> seen;
    QStringList keys;
    for (const auto& item : items) {
        const QString path = ComparablePath(*item);
        if (seen.contains(path)) {
            if (item->Key != playingKey)
                keys << item->Key;
        } else {
            seen.insert(path);
        }
    }
    return keys;
}

QStringList DeadItems(const Records& items, const QString& playingKey) {
    QStringList keys;
    for (const auto& item : items) {
        if (item->Key == playingKey)
            continue;
        // QFileInfo follows a link: a broken one, or one to a folder, is dead.
        const bool missing = IsLocal(*item) && !QFileInfo(item->Path).isFile();
        if (missing || item->PlayFailed)
            keys << item->Key;
    }
    return keys;
}

} // namespace ListCleanup
