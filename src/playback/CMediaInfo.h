#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

// What a media item is; the numbers are stored and compared elsewhere.
enum class MediaKind : std::int32_t { Audio = 0, Video = 1, Other = 2 };

// Where a media item came from. An item read back from a playlist file gets
// the PathKind number of its path, which gives the same numbers.
enum class MediaSource : std::int32_t { FromFile = 0, FromUrl = 1, FromLink = 2 };

// What a text names, as decided by modFile::GetPathKind.
enum class PathKind : std::int32_t { Local = 0, Stream = 1, OwnLink = 2, PpstreamLink = 3 };

// One playable item. Owned by the playlist that holds it and shared (never
// copied) with the playback controller while it plays.
class CMediaInfo {
public:
    CMediaInfo() = default;
    CMediaInfo(const CMediaInfo&) = delete;
    CMediaInfo& operator=(const CMediaInfo&) = delete;

    // Candidate addresses, best first (index 0 is "item 1"). Filled only for
    // items found through a link search; Path is always the first of them
    // while candidates remain.
    QStringList UrlCol;
    QString Title;
    MediaKind Types = MediaKind::Audio;
    MediaSource Source = MediaSource::FromFile;
    // What is handed to the engine: a local path, a stream URL, or the
    // current candidate address.
    QString Path;
    // Key inside the playlist that holds the item; equal keys, same item.
    QString Key;
    // Length as minutes:seconds text; "00:00" until the engine knows it.
    QString Duration = QStringLiteral("00:00");
    // The item could not be played in this run (every candidate of a link
    // item failed); never stored.
    bool PlayFailed = false;
};
