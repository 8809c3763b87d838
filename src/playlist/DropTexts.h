#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>

class QMimeData;

// What a drop on the playlist window holds, as the texts the adder takes, in
// the order dropped: local files, the media files of dropped folders,
// http/https/mms/rtsp addresses and own links. They come from the URI list
// (`text/uri-list`, what file managers and browsers give) or, when that
// gives nothing, from plain text, one per line. Anything else in the drop is left out:
// missing files, devices and pipes, other schemes, other text.
//
// A dropped file is taken whatever its type (the user chose it, as one may
// type any name into the open dialog); a folder gives only the media files
// the open dialog lists, since folders also hold covers and notes. Folders
// are walked depth-first in natural order as a file manager lists them
// (subfolders first, then files; "2.mp3" before "10.mp3"), hidden entries
// skipped, each folder once however symbolic links lead back to it. The walk
// stops at a number of files and of entries looked at, so a drop of "/"
// ends within moments; Result::capped then says that more was left.
class DropTexts {
public:
    static constexpr int kMaxFiles = 5000;
    static constexpr int kMaxEntries = 50000;
    // Deeper folders are not entered (nor counted as a cut).
    static constexpr int kMaxDepth = 32;
    // Longer texts and lines are not read.
    static constexpr qsizetype kMaxTextBytes = 1 << 20;
    static constexpr qsizetype kMaxLineLength = 4096;

    struct Result {
        QStringList texts;
        bool capped = false;
    };

    explicit DropTexts(int maxFiles = kMaxFiles, int maxEntries = kMaxEntries);

    // Whether the drop may give anything, for the drag cursor: each line is
    // looked at, but no folder is walked.
    static bool MayHold(const QMimeData& mime);
    Result Read(const QMimeData& mime) const;
    // The media files of one folder, walked by the same rules. The walk
    // ends early, capped, once `cancel` is set (it may be set from another
    // thread); `found` (when given) counts the files as they are found.
    Result ReadFolder(const QString& folder, const std::atomic_bool* cancel = nullptr,
                      std::atomic_int* found = nullptr) const;

    // An http, https, mms or rtsp address with a host.
    static bool IsStreamAddress(const QString& text);
    // A name whose extension is one the open dialog lists.
    static bool IsMediaFile(const QString& name);

private:
    enum class Kind { None, File, Folder, Address };
    struct Walk {
        Result& result;
        QSet<QString> visited;
        int files = 0;
        int entries = 0;
        const std::atomic_bool* cancel = nullptr;
        std::atomic_int* found = nullptr;
    };

    static QStringList Lines(const QMimeData& mime, bool uriList);
    void Read(const QStringList& lines, bool uriList, Result& result) const;
    static Kind Classify(const QString& line, bool uriList, QString& text);
    static Kind ClassifyPath(const QString& path);
    void WalkFolder(const QString& folder, int depth, Walk& walk) const;
    bool Room(Walk& walk) const;

    int m_maxFiles;
    int m_maxEntries;
};
