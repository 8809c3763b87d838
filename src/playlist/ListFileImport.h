#pragma once

#include "playlist/ModList.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Reading (and writing) the list files of other players: items: ".m3u" (UTF-8 when
// the bytes are valid UTF-8, else the legacy GB18030), ".m3u8" (UTF-8),
// "#EXTINF" titles, ".pls" ("FileN" with "TitleN"), ".xspf" (XML: each
// track's location URI, "creator - title"), and this program's own ".MLF". Relative entries are
// resolved against the file's folder and "file:" URIs of this machine become paths; stream
// addresses and links pass. Entries that cannot be items (another host's file URI, another scheme,
// control characters) are skipped and counted.
namespace ListFileImport {

// Longer files are not read: far beyond any real list.
inline constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

struct Imported {
    QString Title; // the file's base name (an .MLF's own title)
    QList<ModList::MlfItem> Items;
    int Skipped = 0;
};

// The file at `path`: a regular file of at most kMaxFileSize bytes with one
// of the suffixes above (any case). Nothing, with `error` set, otherwise.
std::optional<Imported> Read(const QString& path, QString& error);

// The same from bytes already read; `suffix` is lower case without the dot,
// `folder` resolves relative entries.
Imported Parse(const QByteArray& bytes, const QString& suffix, const QString& folder);

// One item of a list to write out: its length in seconds, -1 when unknown.
struct ExportItem {
    QString Title;
    QString Path;
    int Seconds = -1;
};

// A list as ".m3u8" (UTF-8, "#EXTINF" with length and title) or, for
// `suffix` "pls", as ".pls"; read back by Parse, the same items.
QByteArray Format(const QList<ExportItem>& items, const QString& suffix);

} // namespace ListFileImport
