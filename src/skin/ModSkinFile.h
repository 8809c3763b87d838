#pragma once

#include "skin/PlaylistColors.h"
#include "skin/SkinLoadResult.h"

#include <QString>

class Prompts;

// Reading the two description files of a skin folder: "skin.xml" (both
// windows) and "playlist.xml" (the list colours). The loaders only read and
// return records; storing them as the current skin is the caller's business
// (see SkinStore), so a failed load leaves the current skin as it was.
//
// File names are found without regard to case (SkinPaths::Resolve). Colour
// values not in "#RRGGBB" form are reported through `prompts`, one message
// per bad value, in the order the values are read.
namespace ModSkinFile {

// The standard names of the description files in a skin folder.
inline constexpr char kSkinFileName[] = "skin.xml";
inline constexpr char kPlaylistFileName[] = "playlist.xml";

// Reads a "skin.xml". The load fails (no record, Error set) when the file
// cannot be read or is not well-formed XML, when the root element is not
// "skin" or lacks any of "author", "email", "name", "url", "version",
// "transparent_color", when "player_window" or its "image" is missing, or
// when the playlist window's "position" is larger than kMaxSkinSide pixels
// either way.
// Everything else is optional and reads as empty text, a zero rectangle or
// colour 0. Only the first element of each name counts.
// "mini_window" (the mini-mode bar) is optional too: without its "image" it
// is reported through `prompts` and left out (SkinInfo::MiniWindow empty),
// and the skin loads all the same.
SkinLoadResult LoadSkinFile(const QString& path, Prompts& prompts);

// Reads the seven colours of "ttplayer_playlist/PlayList". Never fails: a
// missing or broken file, element or attribute leaves that colour 0.
PlaylistColors LoadPlaylistColors(const QString& path, Prompts& prompts);

} // namespace ModSkinFile
