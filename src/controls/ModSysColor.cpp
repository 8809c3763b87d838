#include "controls/ModSysColor.h"

#include "controls/ModColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace ModSysColor {

namespace {

QPalette::ColorRole RoleOf(quint32 index) {
    switch (index) {
    case 0x05: // window
        return QPalette::Base;
    case 0x08: // window text
        return QPalette::Text;
    case 0x0D: // highlight
        return QPalette::Highlight;
    case 0x0E: // highlight text
        return QPalette::HighlightedText;
    case 0x0F: // button face
        return QPalette::Button;
    case 0x12: // button text
        return QPalette::ButtonText;
    case 0x11: // grey text
        return QPalette::PlaceholderText;
    default:
        return QPalette::Window;
    }
}

} // namespace

QRgb ToDisplayRgb(quint32 color) {
    if (!IsSystemColor(color)) {
        return ModColor::ToQRgb(color);
    }
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Active, RoleOf(color & 0xFFu)).rgb();
}

} // namespace ModSysColor
