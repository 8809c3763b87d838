#pragma once

#include "lyrics/LyricsFinder.h"

#include <QFutureWatcher>
#include <QObject>
#include <functional>

// The program's lyrics: those of the item that plays, found by LyricsFinder
// on a worker thread (a music folder or a tag can take a while), and the
// user's lyrics folder that dropped files are copied into. One per program.
class LyricsLibrary : public QObject {
    Q_OBJECT
public:
    // `lyricsDir` is the user's lyrics folder (made when a file is adopted).
    explicit LyricsLibrary(QString lyricsDir, QObject* parent = nullptr);
    ~LyricsLibrary() override;

    // Where messages for the user go (the player's status line).
    void SetReporter(std::function<void(const QString&)> report) { m_report = std::move(report); }

    // Looks for the lyrics of a new item; LyricsChanged follows when they
    // are known (at once empty, again when found). A search still running
    // for the item before is forgotten.
    void SetItem(const LyricsFinder::Item& item);
    const LyricsFinder::Item& Item() const { return m_item; }

    const ::Lyrics& Current() const { return m_lyrics; }
    bool IsSearching() const { return m_searching; }

    // Copies the lyrics file `path` into the lyrics folder under the item's
    // name (replacing one there) and uses it at once. False, the user told
    // why, when there is no item, the file cannot be read or the copy fails.
    bool Adopt(const QString& path);

    const QString& LyricsDir() const { return m_dir; }

signals:
    void LyricsChanged();

private:
    void Finished();
    void Use(::Lyrics lyrics);
    void Report(const QString& text) const;

    QString m_dir;
    std::function<void(const QString&)> m_report;
    LyricsFinder::Item m_item;
    ::Lyrics m_lyrics;
    // A search and the SetItem it belongs to (an older one's result is
    // dropped; it may still be running while the next starts).
    using Search = std::pair<quint64, LyricsFinder::Found>;
    QFutureWatcher<Search> m_watcher;
    quint64 m_generation = 0;
    bool m_searching = false;
};
