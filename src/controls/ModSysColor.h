#pragma once

#include <QRgb>
#include <QtGlobal>

// Colour values that may name a system colour: 0x80000000 plus the index of
// the desktop's colour (button face, button text, ...) instead of 0x00BBGGRR.
// They are stored as given and resolved from the application's palette only
// when drawn.
namespace ModSysColor {

constexpr quint32 kSystemFlag = 0x80000000u;
constexpr quint32 kButtonFace = 0x8000000Fu;
constexpr quint32 kButtonText = 0x80000012u;
constexpr quint32 kWindowText = 0x80000008u;

constexpr bool IsSystemColor(quint32 color) {
    return (color & kSystemFlag) != 0;
}

// The colour to draw with: a plain COLORREF converted, a system colour looked
// up in the application's palette.
QRgb ToDisplayRgb(quint32 color);

} // namespace ModSysColor
