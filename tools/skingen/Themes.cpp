#include "Theme.h"

namespace skingen {

namespace {

// Dark slate metal with a green display, the start skin.
SkinDesign winampModern() {
    SkinDesign d;
    d.folder = d.name = QStringLiteral("Winamp Modern");
    Palette& p = d.palette;
    p.edge = 0x0B0D10, p.bodyTop = 0x3A414B, p.bodyBottom = 0x22272E;
    p.rimLight = 0x5A6370, p.rimDark = 0x15181C;
    p.titleTop = 0x4A5564, p.titleBottom = 0x2C333D, p.wordmark = 0xA9BCD2;
    p.panelTop = 0x0A0F0C, p.panelBottom = 0x0F1712, p.panelShadow = 0x0B0D10;
    p.panelLight = 0x4D5663, p.ledOn = 0x3CF07E, p.ledGhost = 0x112A1B, p.decor = 0x1B4A2E;
    p.btnEdge = 0x0D1013, p.btnTop = 0x5A6471, p.btnBottom = 0x353C45;
    p.hotTop = 0x6A86A4, p.hotBottom = 0x3D5168, p.downTop = 0x1E2228, p.downBottom = 0x313840;
    p.offFace = 0x3A3F46;
    p.icon = 0xE4EAF0, p.iconShadow = 0x1A1E23, p.iconHot = 0xFFFFFF, p.iconDown = 0x6CF0A0;
    p.iconOff = 0x5F6670;
    p.grooveEdge = 0x0B0D10, p.grooveFace = 0x1A1F25, p.fillTop = 0x8AF5B4, p.fillBottom = 0x22B05C;
    p.textInfo = 0x3CF07E, p.textStereo = 0x2AA860, p.textStatus = 0x8FD4A8;
    p.listText = 0x3CF07E, p.listHilight = 0xFFFFFF, p.listBkgnd = 0x0C110E;
    p.listBkgnd2 = 0x121A15, p.listNumber = 0x2A8C55, p.listDuration = 0x7FD9A0;
    p.listSelect = 0xFFFFFF;
    d.style = {6, 3, false, 11, 18, 2};
    return d;
}

// Light brushed silver with a blue caption and a navy display; its
// playlist colours are the ones every skin without its own file borrows.
SkinDesign defaultSkin() {
    SkinDesign d;
    d.folder = d.name = QStringLiteral("Default");
    Palette& p = d.palette;
    p.edge = 0x4E5664, p.bodyTop = 0xF4F6F9, p.bodyBottom = 0xCBD2DB;
    p.rimLight = 0xFFFFFF, p.rimDark = 0x9EA8B5;
    p.titleTop = 0x5585D0, p.titleBottom = 0x2C58A4, p.wordmark = 0xFFFFFF;
    p.panelTop = 0x16202C, p.panelBottom = 0x1F2C3C, p.panelShadow = 0x7E8898;
    p.panelLight = 0xFFFFFF, p.ledOn = 0x7FD8FF, p.ledGhost = 0x1D3246, p.decor = 0x2D4B6A;
    p.btnEdge = 0x727C8C, p.btnTop = 0xFFFFFF, p.btnBottom = 0xD8DEE6;
    p.hotTop = 0xF0F7FF, p.hotBottom = 0xBCD5F6, p.downTop = 0xAFBDD0, p.downBottom = 0xD3DBE6;
    p.offFace = 0xE2E5EA;
    p.icon = 0x2A323E, p.iconShadow = 0xFFFFFF, p.iconHot = 0x1C5CC0, p.iconDown = 0x1C5CC0;
    p.iconOff = 0xA9B0BA;
    p.grooveEdge = 0x6E7888, p.grooveFace = 0xC4CCD6, p.fillTop = 0x7CBBFF, p.fillBottom = 0x2A68CC;
    p.textInfo = 0xD4F0FF, p.textStereo = 0x7FD8FF, p.textStatus = 0x9FB8D0;
    p.listText = 0x1E2630, p.listHilight = 0x2C58A4, p.listBkgnd = 0xFFFFFF;
    p.listBkgnd2 = 0xEDF1F6, p.listNumber = 0x7A8494, p.listDuration = 0x4A5564;
    p.listSelect = 0x1C5CC0;
    d.style = {5, 3, false, 11, 18, 2};
    return d;
}

// Warm dark walnut with brass rims, round transport keys and a large amber
// display, like a hi-fi cassette deck.
SkinDesign amberDeck() {
    SkinDesign d;
    d.folder = d.name = QStringLiteral("Amber Deck");
    Palette& p = d.palette;
    p.edge = 0x050403, p.bodyTop = 0x3D342B, p.bodyBottom = 0x1A1613;
    p.rimLight = 0x8A7050, p.rimDark = 0x0E0B09;
    p.titleTop = 0x2B241E, p.titleBottom = 0x191512, p.wordmark = 0xD9A55A;
    p.panelTop = 0x0B0805, p.panelBottom = 0x15100B, p.panelShadow = 0x050403;
    p.panelLight = 0x6A5640, p.ledOn = 0xFFB040, p.ledGhost = 0x2B1E0F, p.decor = 0x4E3618;
    p.btnEdge = 0x0A0806, p.btnTop = 0x5E5044, p.btnBottom = 0x2C2520;
    p.hotTop = 0x7E6650, p.hotBottom = 0x3E3126, p.downTop = 0x1C1814, p.downBottom = 0x2C241E;
    p.offFace = 0x2E2824;
    p.icon = 0xEAD9BE, p.iconShadow = 0x0A0806, p.iconHot = 0xFFC870, p.iconDown = 0xFFB040;
    p.iconOff = 0x6A5E52;
    p.grooveEdge = 0x050403, p.grooveFace = 0x1E1813, p.fillTop = 0xFFD58A, p.fillBottom = 0xDC8418;
    p.textInfo = 0xFFB040, p.textStereo = 0xC88A30, p.textStatus = 0xE0B070;
    p.listText = 0xF0C070, p.listHilight = 0xFFFFFF, p.listBkgnd = 0x120E0A;
    p.listBkgnd2 = 0x1A1510, p.listNumber = 0x8A6A40, p.listDuration = 0xD09A50;
    p.listSelect = 0xFFF0D0;
    d.style = {12, 4, true, 13, 22, 3};
    return d;
}

} // namespace

std::vector<SkinDesign> Designs() {
    std::vector<SkinDesign> designs = {winampModern(), defaultSkin(), amberDeck()};
    for (SkinDesign& d : designs) {
        d.author = QStringLiteral("Melodeck");
        d.email = QStringLiteral("skins@melodeck.invalid");
        d.url = QStringLiteral("https://melodeck.invalid/skins");
        d.version = QStringLiteral("1.0");
    }
    return designs;
}

} // namespace skingen
