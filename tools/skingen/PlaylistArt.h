#pragma once

#include "SkinLayout.h"
#include "Theme.h"

#include <QImage>

// The playlist window's pictures.
namespace skingen::PlaylistArt {

// The window at its designed size; the window stretches its middle
// (PlaylistLayout::resize) to other sizes.
QImage Background(const SkinDesign& d, const PlaylistLayout& l);
// The caption picture: opaque, drawn on the caption band's own colours so
// that it blends in wherever the window centres it.
QImage Title(const SkinDesign& d, const PlaylistLayout& l);
QImage CloseStrip(const SkinDesign& d, const PlaylistLayout& l);
// Seven toolbar cells side by side, normal or lit.
QImage Toolbar(const SkinDesign& d, const PlaylistLayout& l, bool hot);
// The list's scroll bar: arrows (three looks by two rows: up, down), the
// thumb (three looks) and the track, all opaque since the scroll bar cuts
// nothing out.
QImage ScrollButtons(const SkinDesign& d, const PlaylistLayout& l);
QImage ScrollThumb(const SkinDesign& d, const PlaylistLayout& l);
QImage ScrollBar(const SkinDesign& d, const PlaylistLayout& l);

} // namespace skingen::PlaylistArt
