#pragma once

#include "skin/SkinElements.h"

#include <QString>

struct PlaylistWindowSkin;

// The lyrics window's part of a skin description ("skin/lyric_window"),
// optional. Read with the playlist window's rules: "image" the background of
// the designed size "position", stretched in nine pieces by "resize_rect";
// "close" keeps its distance from the right edge; "lyrics" is the rectangle
// the lines are drawn in, which keeps its margins to all four edges.
struct LyricWindowSkin {
    SkinRect Position;
    SkinRect ResizeRect;
    QString Image;
    ImageElement Close;
    ImageElement Lyrics;

    friend bool operator==(const LyricWindowSkin&, const LyricWindowSkin&) = default;
};

namespace LyricWindowSkins {

// What is wrong with a read element, for the user; empty when it can be
// used: it needs an image, a designed size within kMaxSkinSide, a resize
// rectangle inside it and a non-empty lyrics rectangle inside it.
QString Problem(const LyricWindowSkin& skin);

// For a skin without a lyrics window: the playlist window's frame (its
// background, resize rectangle and close button) with the lines where its
// lists are; no title picture, no toolbar.
LyricWindowSkin FromPlaylistWindow(const PlaylistWindowSkin& playlist);

} // namespace LyricWindowSkins
