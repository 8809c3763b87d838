#include "playlist/PlaylistSaveJob.h"

#include "skin/ModTextFile.h"
#include "winsvc/LegacyText.h"
#include "winsvc/RegularFile.h"

#include <QDir>
#include <QFile>
#include <sys/stat.h>

namespace PlaylistSave {

namespace {

// The name of every list in order, skipping numbers that belong to files
// that must stay as they are.
QStringList numberedNames(std::size_t count, const QSet<QString>& untouchable) {
    QSet<qint64> taken;
    for (const QString& name : untouchable)
        taken.insert(ModList::FileNumber(name));
    QStringList names;
    int number = 0;
    for (std::size_t n = 0; n < count; ++n, ++number) {
        while (taken.contains(number))
            ++number;
        names.append(ModList::NumberedFileName(number));
    }
    return names;
}

bool isRegularOrMissing(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

// The bytes of an unchanged list that moves to another number, read before
// anything is written (a list moving up could otherwise find its old file
// already replaced by the list before it); nothing when its file is no longer
// the one this program knows.
std::optional<QByteArray> keptBytes(const Job& job, const ListToSave& list, const QString& to) {
    if (!list.Unchanged || job.OtherFolder || list.From.isEmpty() || list.From == to)
        return std::nullopt;
    const QString path = job.Folder + list.From;
    if (StampOf(path) != list.FromStamp)
        return std::nullopt;
    QString error;
    return RegularFile::ReadAll(path, ModTextFile::kMaxTextFileSize, error);
}

bool keptInPlace(const Job& job, const ListToSave& list, const QString& name) {
    return list.Unchanged && !job.OtherFolder && list.From == name &&
           StampOf(job.Folder + name) == list.FromStamp;
}

void removeStale(const Job& job, const QSet<QString>& written, const QSet<QString>& untouchable,
                 Result& result) {
    QStringList names;
    if (!ModTextFile::ListFiles(job.Folder, names, QLatin1String(ModList::PlaylistPattern)))
        return;
    for (const QString& name : names) {
        if (written.contains(name) || untouchable.contains(name))
            continue;
        // In its own folder the store removes only what it read or wrote:
        // a list file put there while the program runs is the user's.
        const bool stale =
            job.OtherFolder ? ModList::FileNumber(name) >= 0 : job.Known.contains(name);
        if (stale && isRegularOrMissing(job.Folder + name) && QFile::remove(job.Folder + name))
            result.Removed.insert(name);
    }
}

} // namespace

QSet<QString> EntriesNotToTouch(const QString& folder) {
    QSet<QString> names;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QStringList{QLatin1String(ModList::PlaylistPattern)},
                                   QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries)
        if (entry.isSymLink() || !entry.isFile())
            names.insert(entry.fileName());
    return names;
}

std::size_t DigestOf(const QString& title, const QList<ModList::MlfItem>& lines) {
    std::size_t digest = qHash(title);
    for (const ModList::MlfItem& line : lines)
        digest = qHashMulti(digest, line.Title, line.Path);
    return digest;
}

std::optional<FileStamp> StampOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileStamp{quint64(st.st_ino), qint64(st.st_size),
                     qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

Result RunSaveJob(const Job& job) {
    // A new installation has no folder yet; without it every list is lost.
    QDir().mkpath(job.Folder);
    const QSet<QString> untouchable = EntriesNotToTouch(job.Folder) | job.Unread;
    const QStringList names = numberedNames(job.Lists.size(), untouchable);
    std::vector<std::optional<QByteArray>> kept;
    kept.reserve(job.Lists.size());
    for (std::size_t n = 0; n < job.Lists.size(); ++n)
        kept.push_back(keptBytes(job, job.Lists[n], names[qsizetype(n)]));

    Result result;
    QSet<QString> written;
    for (std::size_t n = 0; n < job.Lists.size(); ++n) {
        const ListToSave& list = job.Lists[n];
        const QString& name = names[qsizetype(n)];
        const QString path = job.Folder + name;
        bool ok = keptInPlace(job, list, name);
        if (!ok) {
            const QByteArray bytes =
                kept[n] ? *kept[n]
                        : LegacyText::ToGb18030(ModList::FormatMlf(list.Title, list.Lines));
            // Checked again just before writing: what became a link or a
            // special file since the folder was listed is not written through.
            ok = isRegularOrMissing(path) && ModTextFile::WriteFileBytes(path, bytes);
        }
        const std::optional<FileStamp> stamp = ok ? StampOf(path) : std::nullopt;
        if (stamp) {
            written.insert(name);
            result.Lists.push_back(SavedFile{name, *stamp});
        } else {
            result.Lists.push_back(std::nullopt);
            result.FailedPaths.append(path);
            result.Complete = false;
        }
    }
    if (result.Complete)
        removeStale(job, written, untouchable, result);
    return result;
}

} // namespace PlaylistSave
