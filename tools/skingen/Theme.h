#pragma once

#include <QRgb>
#include <QString>
#include <vector>

// The look of one shipped skin: its names, its colours and the few shape
// choices that differ between skins. Geometry follows from these in
// SkinLayout; the pictures are drawn from both by PlayerArt and PlaylistArt.
namespace skingen {

struct Palette {
    // Window body: outline, vertical ramp, bevel rims.
    QRgb edge, bodyTop, bodyBottom, rimLight, rimDark;
    // Caption band and the wordmark on it.
    QRgb titleTop, titleBottom, wordmark;
    // Sunken display panel, its border, the time digits and idle decoration.
    QRgb panelTop, panelBottom, panelShadow, panelLight, ledOn, ledGhost, decor;
    // Buttons: normal face, hot face, pressed face, disabled face; icons.
    QRgb btnEdge, btnTop, btnBottom, hotTop, hotBottom, downTop, downBottom, offFace;
    QRgb icon, iconShadow, iconHot, iconDown, iconOff;
    // Slider groove and fill, thumbs.
    QRgb grooveEdge, grooveFace, fillTop, fillBottom;
    // Player text labels.
    QRgb textInfo, textStereo, textStatus;
    // Playlist colours ("playlist.xml").
    QRgb listText, listHilight, listBkgnd, listBkgnd2, listNumber, listDuration, listSelect;
};

struct Style {
    int windowRadius;                   // corner radius of both windows
    int buttonRadius;                   // corner radius of rectangular buttons
    bool roundTransport;                // transport buttons are discs instead of rounded keys
    int ledWidth, ledHeight, ledStroke; // one digit cell and its segment thickness
};

struct SkinDesign {
    QString folder; // the skin's folder name under "skin/"
    QString name;   // the name written into skin.xml
    QString author, email, url, version;
    Palette palette;
    Style style;
};

// The shipped skins, the start skin first.
std::vector<SkinDesign> Designs();

} // namespace skingen
