#pragma once

#include "Icons.h"
#include "Theme.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// Where everything sits in the two windows of a skin, in pixels of the
// windows' background pictures. The same rectangles are written into
// skin.xml and used to draw the pictures, so the two always agree.
namespace skingen {

enum class ButtonKind {
    Transport, // play, pause, stop, prev, next, open
    Toggle,    // mute, lyric, video, playlist: the pressed look is "on"
    Caption,   // minimize, mini mode, exit, the playlist's close
    Tool,      // one cell of the playlist toolbar
};

struct ButtonSpec {
    QString element; // the skin.xml element name
    QString file;    // the bitmap file name
    QRect rect;      // one frame, placed on the window
    Icon icon;
    ButtonKind kind;
};

struct SliderSpec {
    QString element;
    QRect rect;  // the slider's rectangle; the bar is this wide
    QSize thumb; // one thumb frame
    int groove;  // height of the groove (an even number)
};

struct PlayerLayout {
    QSize size;
    QRect title;  // caption band
    QRect panel;  // sunken display
    QRect led;    // six digit cells; placed by its right edge
    QRect visual; // idle analyser decoration
    QRect info, stereo, status;
    std::vector<ButtonSpec> buttons;
    SliderSpec progress, volume;
};

struct PlaylistLayout {
    QRect position;   // relative to the player window; its size is the designed size
    QRect resize;     // the stretchable middle of the nine-piece background
    QRect title;      // caption band
    QRect titleImage; // the centred caption picture
    QRect list;       // the list area
    QRect listFrame;  // the sunken border around it
    ButtonSpec close;
    QRect toolbar; // seven cells side by side
    std::vector<Icon> tools;
    QSize scrollCell;  // one arrow cell; the bar is this wide
    QSize scrollThumb; // one thumb cell
};

PlayerLayout MakePlayerLayout(const Style& style);
PlaylistLayout MakePlaylistLayout(const Style& style, const PlayerLayout& player);
// The lyrics window: the playlist window's frame and close button at its own
// place (beside the player window), the panel reaching down to the bottom
// band instead of stopping at the toolbar.
PlaylistLayout MakeLyricLayout(const PlaylistLayout& playlist);

} // namespace skingen
