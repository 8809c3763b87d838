#pragma once

#include "lyrics/Lyrics.h"

#include <QString>
#include <optional>

// Reading a lyrics (.lrc) file: only a regular file of at most kMaxBytes,
// decoded as LyricsText decides and read by LrcParser.
namespace LyricsFile {

// No lyrics file needs more: a long song's file with word stamps is ~30 KiB.
constexpr qint64 kMaxBytes = 1024 * 1024;

// The lyrics in `path`; nothing, with `error` set to a message for the user,
// when the file cannot be read.
std::optional<Lyrics> Read(const QString& path, QString& error);

} // namespace LyricsFile
