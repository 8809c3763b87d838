#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class PlaylistStore;

// Find as you type across every list: an item matches when each word of the
// query is found in its title or its path, without regard to case or width
// ("ＡＢＣ" finds "abc", "ß" finds "SS"), Chinese included. The texts are
// folded once when the index is made, so a keystroke costs one pass of
// plain substring searches.
class ListSearch {
public:
    struct Hit {
        QString ListKey;
        QString ItemKey;
    };

    // Indexes every item of every list of `store` as it is now.
    explicit ListSearch(const PlaylistStore& store);

    // The items matching `query` in list order, at most `limit` of them; none
    // for a query without words.
    QList<Hit> Find(const QString& query, qsizetype limit = 1000) const;

    // Compatibility-decomposed (full-width forms become their plain ones) and
    // case-folded.
    static QString Fold(const QString& text);

private:
    struct Entry {
        Hit Where;
        QString Text;
    };
    QList<Entry> m_entries;
};
