#include "playlist/ListSearch.h"

#include "playlist/PlaylistStore.h"

ListSearch::ListSearch(const PlaylistStore& store) {
    for (const QString& listKey : store.ListKeys()) {
        for (const PlaylistStore::Record& item : store.Items(listKey))
            m_entries.append(
                Entry{Hit{listKey, item->Key}, Fold(item->Title + QLatin1Char('\n') + item->Path)});
    }
}

QString ListSearch::Fold(const QString& text) {
    return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

QList<ListSearch::Hit> ListSearch::Find(const QString& query, qsizetype limit) const {
    const QStringList words = Fold(query).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QList<Hit> hits;
    if (words.isEmpty())
        return hits;
    for (const Entry& entry : m_entries) {
        bool all = true;
        for (const QString& word : words) {
            if (!entry.Text.contains(word)) {
                all = false;
                break;
            }
        }
        if (all) {
            hits.append(entry.Where);
            if (hits.size() >= limit)
                break;
        }
    }
    return hits;
}
