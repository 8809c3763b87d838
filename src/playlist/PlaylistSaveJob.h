#pragma once

#include "playlist/ModList.h"

#include <QList>
#include <QSet>
#include <QString>
#include <optional>
#include <vector>

// Writing the playlists, apart from the store so that it can run on a worker
// thread: the store takes a snapshot of its lists on the GUI thread
// (PlaylistSaveJob) and RunSaveJob needs nothing else.
namespace PlaylistSave {

// What a list file was when this program last read or wrote it: a file
// replaced or edited since then by someone else has another inode, size or
// time, and is written again from the list in memory.
struct FileStamp {
    quint64 Inode = 0;
    qint64 Size = -1;
    qint64 ModifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of a regular file at `path` (not following a link); nothing for
// anything else or a missing entry.
std::optional<FileStamp> StampOf(const QString& path);

// The entries named like list files that a save must not replace: symbolic
// links (a save would write through them, wherever they lead) and whatever
// is not a regular file (directories, FIFOs, devices).
QSet<QString> EntriesNotToTouch(const QString& folder);

// A digest of a list's stored content, to tell whether it changed.
std::size_t DigestOf(const QString& title, const QList<ModList::MlfItem>& lines);

// One list as it is to be saved.
struct ListToSave {
    QString Key;
    QString Title;
    QList<ModList::MlfItem> Lines;
    std::size_t Digest = 0; // of Title and Lines
    // Unchanged since it was read or written as `From` (a name in the
    // folder) with `FromStamp`: its bytes are kept, or moved with it when it
    // takes another number.
    bool Unchanged = false;
    QString From;
    FileStamp FromStamp;
};

struct Job {
    QString Folder; // ends with "/"
    std::vector<ListToSave> Lists;
    // Entries that were not read: never written over or removed.
    QSet<QString> Unread;
    // Names this run read or wrote: the only files a save may remove, once
    // it has written every list.
    QSet<QString> Known;
    // Another folder than the store's own: every list is written and the
    // numbered files not written are removed.
    bool OtherFolder = false;
};

struct SavedFile {
    QString Name;
    FileStamp Stamp;
};

struct Result {
    // Per list of the job, where it now is; nothing when it failed.
    std::vector<std::optional<SavedFile>> Lists;
    QStringList FailedPaths;
    QSet<QString> Removed;
    bool Complete = true;
};

// Writes each list in order as 0.MLF, 1.MLF, ... skipping the numbers of
// entries that must not be touched (links, anything not a regular file, the
// unread ones); every file is replaced whole or not at all. After a complete
// save the files that held lists and were not written again are removed.
Result RunSaveJob(const Job& job);

} // namespace PlaylistSave
