#pragma once

#include <QString>
#include <QStringList>

// Items a second start could not hand over (the running copy was busy or
// flooded and never answered): kept in a file of the user's data folder so
// that the next first start adds them instead of their being lost.
//
// The file holds the items as UTF-8 separated by NUL characters, which no
// path or address holds; each failed start appends to it.
namespace PendingItems {

inline constexpr const char* FileName = "pending-items";
// Larger than any command line; a file above it was not written here.
inline constexpr qint64 kMaxBytes = 1 << 20;

// Appends `items` to the file in `folder` (made if missing); false when
// they could not be written.
bool Keep(const QString& folder, const QStringList& items);

// The items kept in `folder`, in the order they were kept, and the file
// removed. A file that is not a regular file of its own (a link, a FIFO, a
// folder), is too big or cannot be removed is left as it is and gives none;
// `error` says why.
QStringList Take(const QString& folder, QString& error);

} // namespace PendingItems
