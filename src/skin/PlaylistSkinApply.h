#pragma once

#include "skin/PlaylistColors.h"
#include "skin/PlaylistWindowParts.h"
#include "skin/SkinInfo.h"

class Prompts;
class SkinImages;
class SkinStore;

// Putting a skin onto the playlist window. This is also the window's layout:
// it runs when the window loads, on every resize and when the skin changes,
// and places the two lists around the splitter, the close button and the
// toolbar for the window's current size.
namespace ModSkinApply {

// Loads every picture the playlist window takes from `skin` into `images`.
// False, with images.FailedFile() naming the file, when one cannot be loaded.
bool LoadPlaylistWindowImages(const PlaylistWindowSkin& skin, SkinImages& images);

// The list colours of skin `name` of `store`: its own colour file, or that of
// the skin "default" when it has none; all 0 when neither can be read. Read
// from disk on every call. Bad colour values are reported through `prompts`.
PlaylistColors ReadPlaylistColors(const SkinStore& store, const QString& name, Prompts& prompts);

// Lays the playlist window out for its current size with `skin`'s playlist
// part and `colors`:
// - the splitter keeps its left edge and spans the list area's height, which
//   grows with the window; the playlists list runs from the list area's left
//   edge to the splitter, the songs list from the splitter to the list area's
//   right margin;
// - both lists take the colours (a selection colour of 0 shows white) and the
//   scroll-bar pictures; the splitter is drawn in the text colour;
// - the close button keeps its distance from the right edge, the toolbar its
//   top, or with an alignment containing "bottom" its distance from the
//   bottom edge; both take the skin's mask colour.
// All pictures are loaded first: when one cannot be, nothing changes and
// false is returned (the file is images.FailedFile()).
bool ApplyPlaylistWindowSkin(const SkinInfo& skin, const PlaylistColors& colors, SkinImages& images,
                             PlaylistWindowParts& parts);

} // namespace ModSkinApply
