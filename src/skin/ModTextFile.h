#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Prompts;

// Plain-text file helpers used by the playlist store and the skin menu.
//
// Text files are 8-bit "ANSI" text, read and written as GB18030 (the same
// bytes as GBK for every GBK character, and no character is lost on save).
// Local paths may use "\" or "/" as separators.
namespace ModTextFile {

// One immediate subfolder found by ListSkinFolders.
struct FolderEntry {
    QString Name; // the folder's own name
    QString Path; // the listed folder + "/" + Name
};

// The largest text file ReadTextFile reads: far beyond any real list.
inline constexpr qint64 kMaxTextFileSize = 64 * 1024 * 1024;

// The whole file, with every line (the last one included) ending in CR LF,
// whatever line ends the file used (CR LF, LF or CR). An empty file gives the
// empty text. Only a regular file (or a link to one) of at most
// kMaxTextFileSize bytes is read: never a FIFO or a device. On failure the
// path followed by "文件读取错误" is shown through `prompts` and the empty
// text is returned.
QString ReadTextFile(const QString& path, Prompts& prompts);
// The same, telling a failure (nothing) from an empty file (an empty text).
std::optional<QString> TryReadTextFile(const QString& path, Prompts& prompts);

// Writes `text` exactly as given (no line end is added), replacing the file.
// The new content is written beside the file and moved over it only when
// complete, so a failed save leaves the previous file intact. On failure the
// path followed by "文件保存错误" is shown through `prompts` and false is
// returned.
//
// Text whose lines end in CR LF (as ReadTextFile returns it) reads back
// unchanged, so a load followed by a save never grows a file.
bool WriteTextFile(const QString& path, const QString& text, Prompts& prompts);
// The same for bytes, telling nobody: for writers off the GUI thread, which
// report failures themselves.
bool WriteFileBytes(const QString& path, const QByteArray& bytes);

// The names (without folder) of the ordinary files of `folder` matching the
// wildcard `pattern` (such as "*.MLF") without regard to case; hidden files
// and directories are left out. Names come in natural order (digit runs
// compared as numbers: "2.MLF" before "10.MLF"), so files written as 0, 1,
// 2, ... are read back in the order they were written. Returns false and
// leaves `names` untouched when nothing matches; otherwise `names` becomes
// exactly the names found.
bool ListFiles(const QString& folder, QStringList& names, const QString& pattern);

// The immediate (non-hidden) subfolders of `path` in natural order; nothing
// when `path` is not an existing folder.
std::optional<QList<FolderEntry>> ListSkinFolders(const QString& path);

// Natural order of names: runs of digits compare by their numeric value,
// everything else without regard to case; names equal that way fall back to
// plain comparison, so the order is total.
bool NaturalLess(const QString& a, const QString& b);

} // namespace ModTextFile
