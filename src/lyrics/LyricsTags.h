#pragma once

#include "lyrics/Lyrics.h"

#include <QString>
#include <optional>

// Lyrics stored in a media file's tags, through TagLib: an ID3v2
// synchronized lyrics frame (SYLT, timed in milliseconds or in MPEG frames)
// first, else the unsynchronized lyrics every format maps to the "LYRICS"
// property (ID3v2 USLT, Vorbis comments and FLAC's LYRICS, MP4's ©lyr), which
// may itself be LRC text. Only a regular file is read.
namespace LyricsTags {

// Tag text beyond this is cut, as a lyrics file is.
constexpr int kMaxChars = 512 * 1024;

std::optional<Lyrics> Read(const QString& mediaPath);

} // namespace LyricsTags
