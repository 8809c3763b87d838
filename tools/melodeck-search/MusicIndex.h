#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The music a search service shares: every media file under one folder with
// the singer and title its tags give.
class MusicIndex {
public:
    struct Entry {
        QString FilePath;     // absolute
        QString RelativePath; // under the shared folder, for matching
        QString Extension;    // lower case, without the dot
        QString Artist;
        QString Title;
    };

    // Reads the folder and its subfolders. Files of other types are left out.
    explicit MusicIndex(const QString& folder);

    const QVector<Entry>& Entries() const { return m_entries; }

    // Indexes of the entries a search asks for, in index order. `singer` and
    // `song` each match, ignoring case, a part of the file's tag (artist,
    // title) or of its path under the folder (so a folder per singer works); an empty one matches
    // any file, but a search with both empty finds nothing rather than the whole folder. `type` is
    // a link's type number: -1 (or empty) all, 0 mp3, 1 rm/rmvb, 2 wma, 6 swf; any other finds
    // nothing.
    QVector<int> Search(const QString& singer, const QString& song, const QString& type) const;

private:
    QVector<Entry> m_entries;
};
