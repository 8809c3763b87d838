#pragma once

#include "SkinLayout.h"
#include "Theme.h"

#include <QImage>

// The player window's pictures.
namespace skingen::PlayerArt {

QImage Background(const SkinDesign& d, const PlayerLayout& l);
// Four frames (normal, hot, pressed, disabled) side by side.
QImage ButtonStrip(const SkinDesign& d, const ButtonSpec& b);
// Twelve glyphs "0".."9", ":", "-" side by side.
QImage LedStrip(const SkinDesign& d);
// A slider's track (as wide as the slider, as high as its thumb), the fill
// that covers the groove up to the thumb, and the four-frame thumb.
QImage SliderBar(const SkinDesign& d, const SliderSpec& s);
QImage SliderFill(const SkinDesign& d, const SliderSpec& s);
QImage SliderThumb(const SkinDesign& d, const SliderSpec& s);

} // namespace skingen::PlayerArt
