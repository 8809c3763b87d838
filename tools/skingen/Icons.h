#pragma once

#include <QStringList>

// The symbols on the buttons, as pixel art ('#' marks a pixel). Drawn at
// one pixel per character they stay sharp at the small sizes skins use.
namespace skingen {

enum class Icon {
    Play,
    Pause,
    Stop,
    Prev,
    Next,
    Eject,
    Speaker,
    Lyric,
    Video,
    Playlist,
    Minimize,
    Minimode,
    Close,
    Add,
    Remove,
    List,
    Sort,
    Find,
    Edit,
    Mode,
    ArrowUp,
    ArrowDown,
    Grip,
    Knurl,
    KnurlSmall,
    Rungs,
};

QStringList IconArt(Icon icon);

// Capital letters A-Z as 5-row pixel art, for the wordmarks on the caption
// bands; unknown characters give a blank 3-column cell.
QStringList LetterArt(QChar letter);
// A word of LetterArt glyphs with `spacing` blank columns between letters.
QStringList WordArt(const QString& word, int spacing);

} // namespace skingen
