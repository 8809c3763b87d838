#pragma once

#include <QList>
#include <QString>

// The playlist file format (".MLF") and the text rules around it. The store
// (PlaylistStore) holds the playlists in memory; these free functions turn
// one playlist into file text and back.
//
// A file is 8-bit text (GB18030) with CR LF line ends: a header line
// "{title}", then one line "Title=Path" per item. Nothing else is stored: no
// key, duration or kind. There is no escaping, so a title cannot hold "}" and
// an item title cannot hold "=" (a path may: the first "=" ends the title).
namespace ModList {

// Folder of the playlist files below the program directory, and their names.
inline constexpr const char* PlaylistDirName = "PlayList";
inline constexpr const char* PlaylistPattern = "*.MLF";
// Title of the list made when there is none.
QString DefaultListTitle();

// Addresses of the old music site. Items saved in earlier years point at its
// direct-file folder, which no longer serves files; the site's play page
// takes the same file name after the "?", so every occurrence of the first
// prefix is replaced by the second whenever a path is read from or written to
// a playlist file. Exact, case-sensitive, never reversed.
QString LegacyMediaPrefix(); // "http://music.melodeck.example/media/200612/"
QString PlayPagePrefix();    // "http://music.melodeck.example/play.asp?"
QString RewriteLegacyUrl(const QString& path);

// One item line of a file.
struct MlfItem {
    QString Title;
    QString Path;
    bool operator==(const MlfItem&) const = default;
};

// What a file holds.
struct MlfPlaylist {
    QString Title;
    QList<MlfItem> Items;
};

// The title: the text between the first "{" and the first "}" after it;
// empty without "{", the whole rest of the text without a later "}".
QString ParseTitle(const QString& text);

// Reads file text as ReadTextFile gives it. Line 0 (the header) is skipped
// whatever it holds; every later line gives an item whose title is the text
// before its first "=" and whose path (legacy rewrite applied) the text
// after it. Lines with an empty path (empty lines, the end of the text, lines
// without "=") give nothing.
MlfPlaylist ParseMlf(const QString& text);

// Titles as they can be stored: line breaks become spaces, and the one
// character that would end the text early its full-width look-alike ("}"
// in a list title becomes U+FF5D, "=" in an item title U+FF1D), so every
// item reads back with the path it had.
QString StorableListTitle(const QString& title);
QString StorableItemTitle(const QString& title);

// The file text of a playlist: header and item lines, each ended by CR LF,
// titles made storable. Paths are written with the legacy rewrite applied
// (a line break in one, which no real path holds, as a space: it would
// otherwise add items).
QString FormatMlf(const QString& title, const QList<MlfItem>& items);

// The file name of the n-th playlist (0-based): "0.MLF", "1.MLF", ...
QString NumberedFileName(int n);

// The number of a file named by digits and ".MLF" (any case), else -1.
qint64 FileNumber(const QString& fileName);

// The folder of the user's playlists (UserDataDir()/PlayList), with a
// trailing "/".
QString PlaylistFolder();

} // namespace ModList
