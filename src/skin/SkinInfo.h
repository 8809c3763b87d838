#pragma once

#include "skin/LyricWindowSkin.h"
#include "skin/MiniWindowSkin.h"
#include "skin/SkinElements.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// The player window's part of a skin description ("skin/player_window").
struct PlayerWindowSkin {
    QString Image; // the window's background image
    ImageElement Play;
    ImageElement Pause;
    ImageElement Stop;
    ImageElement Prev;
    ImageElement Next;
    ImageElement Mute;
    ImageElement Open;
    ImageElement Lyric;
    ImageElement Equalizer;
    ImageElement Playlist;
    ImageElement Minimize;
    ImageElement Minimode;
    ImageElement Exit;
    SliderElement Progress;
    SliderElement Volume;
    ImageElement Visual;
    IconElement Icon;
    TextElement Info;
    ImageElement Led;
    TextElement Stereo;
    TextElement Status;

    friend bool operator==(const PlayerWindowSkin&, const PlayerWindowSkin&) = default;
};

// The playlist window's part of a skin description ("skin/playlist_window").
struct PlaylistWindowSkin {
    SkinRect Position; // the designed window rectangle
    SkinRect ResizeRect;
    QString Image;       // the window's background image
    quint32 Hilight = 0; // COLORREF
    ImageElement Title;
    ImageElement Close;
    ToolbarElement Toolbar;
    SliderElement Scrollbar;
    ImageElement Playlist; // the rectangle of the list area

    friend bool operator==(const PlaylistWindowSkin&, const PlaylistWindowSkin&) = default;
};

// One loaded "skin.xml". A value type: a new skin replaces the record whole.
struct SkinInfo {
    QString Version;
    QString Name;
    QString Author;
    QString Url;
    QString Email;
    quint32 TransparentColor = 0; // COLORREF; the mask colour of every skinned surface
    PlayerWindowSkin PlayerWindow;
    PlaylistWindowSkin PlaylistWindow;
    // The skin's own mini-mode bar; none when the skin has no usable one.
    std::optional<MiniWindowSkin> MiniWindow;
    // The skin's own lyrics window; none when it has no "lyric_window" or
    // that element is broken (LyricWindowError says how).
    std::optional<LyricWindowSkin> LyricWindow;
    QString LyricWindowError;

    friend bool operator==(const SkinInfo&, const SkinInfo&) = default;
};
