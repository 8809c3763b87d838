#pragma once

#include "lyrics/Lyrics.h"

#include <QString>
#include <QStringList>
#include <optional>

// Where the lyrics of an item are looked for, in this order:
// 1. for a local file, a ".lrc" file beside it with the same base name
//    (the name's case ignored, so "Song.LRC" serves "song.mp3");
// 2. the same name in the user's lyrics folder (UserDataDir/Lyrics); for a
//    stream or a link, the item's title there;
// 3. for a local file, the lyrics in its tags (LyricsTags).
// A candidate that exists but cannot be read is reported and the search
// goes on. Reads files, so it is meant for a worker thread.
namespace LyricsFinder {

struct Item {
    QString Path;
    QString Title;
};

struct Found {
    std::optional<::Lyrics> Result;
    QStringList Errors;
};

// The name lyrics are kept under in the lyrics folder: a local file's base
// name, else the title; characters a file name cannot hold become "_".
// Empty when the item has neither.
QString LyricsName(const Item& item);

// The lyrics folder of this user (UserDataDir()/Lyrics).
QString UserLyricsDir();

// The ".lrc" file in `folder` whose base name is `name` ignoring case;
// empty when there is none.
QString FindLrc(const QString& folder, const QString& name);

Found Find(const Item& item, const QString& lyricsDir);

} // namespace LyricsFinder
