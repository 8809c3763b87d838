#pragma once

#include "Theme.h"

#include <QImage>

// A picture of a skin as the player would show it, for looking at a skin
// without running the player: the player window with its buttons, sliders,
// labels and the time "03:25"; the playlist window at its designed size
// and stretched, with sample rows; and a sheet of every button strip and
// the digit strip, all drawn from the skin's own files.
namespace skingen::Preview {

// `zoom` enlarges every pixel to a zoom x zoom block.
QImage Compose(const SkinDesign& d, int zoom);
// The player window alone, for a close look.
QImage PlayerWindow(const SkinDesign& d, int zoom);

} // namespace skingen::Preview
