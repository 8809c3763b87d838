#pragma once

#include <QColor>
#include <QtGlobal>

// Colours are stored as COLORREF values (0x00BBGGRR); these convert them at
// drawing time.
namespace ModColor {

constexpr quint32 kMagenta = 0xFF00FF; // the default mask colour

constexpr quint32 ColorRef(int red, int green, int blue) {
    return quint32(red & 0xFF) | (quint32(green & 0xFF) << 8) | (quint32(blue & 0xFF) << 16);
}
constexpr int Red(quint32 colorRef) {
    return int(colorRef & 0xFF);
}
constexpr int Green(quint32 colorRef) {
    return int((colorRef >> 8) & 0xFF);
}
constexpr int Blue(quint32 colorRef) {
    return int((colorRef >> 16) & 0xFF);
}

inline QRgb ToQRgb(quint32 colorRef) {
    return qRgb(Red(colorRef), Green(colorRef), Blue(colorRef));
}
inline quint32 FromQRgb(QRgb rgb) {
    return ColorRef(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

} // namespace ModColor
