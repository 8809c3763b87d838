#pragma once

#include "Canvas.h"
#include "SkinLayout.h"
#include "Theme.h"

// Drawing steps shared by both windows: the window body, sunken panels,
// button faces in their four looks and the seven-segment digits.
namespace skingen {

// The looks of a button frame, in strip order.
enum class Look { Normal = 0, Hot = 1, Pressed = 2, Disabled = 3 };

// A window body of `size`: rounded outline (mask outside), body ramp,
// bevel, and the caption band `title`.
void DrawWindowBody(Canvas& c, const SkinDesign& d, QSize size, const QRect& title);

// A sunken panel: dark upper-left border, light lower-right border, and a
// face ramp from `top` to `bottom`.
void DrawPanel(Canvas& c, const QRect& r, const Palette& p, QRgb top, QRgb bottom);

// One button frame of `kind` with `icon` in `look`, filling `r`. When
// `opaqueGround` is not the mask colour the corners around the button are
// painted with it instead of being left transparent.
void DrawButton(Canvas& c, const QRect& r, const SkinDesign& d, ButtonKind kind, Icon icon,
                Look look, QRgb opaqueGround = kMask);

// Pixel art centred in `r` with a one-pixel shadow below it.
void DrawIcon(Canvas& c, const QRect& r, const QStringList& art, QRgb colour, QRgb shadow);

// Seven-segment glyph `index` of the time display (0-9, 10 ":", 11 "-")
// in the cell `r`: lit segments in `on`, the others in `ghost` (or left
// transparent when `ghost` is the mask colour).
void DrawDigit(Canvas& c, const QRect& r, int index, int stroke, QRgb on, QRgb ghost);

} // namespace skingen
