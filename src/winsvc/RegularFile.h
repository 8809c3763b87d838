#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>

// Opening a file that came from outside the program (a skin, a playlist) for
// reading, without trusting what it is. Only a regular file, or a link to one,
// is opened: a FIFO would block the reader forever and a device such as
// /dev/zero never ends (and its QFile::size() is 0, so a size check alone
// does not catch it). The kind and size are checked before opening, and again
// on the opened file, so that swapping the file in between gains nothing;
// the open itself never waits for a writer.
namespace RegularFile {

// Opens `path` for reading into `file` (which must be closed) when it is a
// regular file of at most `maxBytes` bytes. On failure `file` stays closed
// and `error` receives a short English reason.
bool Open(const QString& path, qint64 maxBytes, QFile& file, QString& error);

// The whole content of `path` under the same conditions; nothing, with
// `error` set, when the file cannot be opened, is not a regular file, is (or
// grows while being read) larger than `maxBytes`, or cannot be read.
std::optional<QByteArray> ReadAll(const QString& path, qint64 maxBytes, QString& error);

} // namespace RegularFile
