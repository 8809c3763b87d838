#pragma once

#include "playback/CMediaInfo.h"
#include "playlist/ItemInfoReader.h"
#include "playlist/PlaylistSaveJob.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class PlaylistSaveRunner;
class Prompts;
class ctlList;
struct PlayerState;

// Every playlist of the running program, kept in step with the two lists of
// the playlist window: `lists` shows one row per playlist (its title lives
// only there, so renaming a row renames the list), `songs` the items of the
// shown playlist. Keys of lists and items come from one counter, so no two
// are equal within a run; they are never stored.
//
// Playlists are loaded from and saved to numbered ".MLF" files. With saving
// on change enabled, every change is on disk within about a second, written
// on a worker from a snapshot; a list that did not change keeps its file's
// bytes (moved with it when its number changes). Loading
// shows every item at once with "00:00" and reads lengths on worker threads
// (see ItemInfoReader); the rows fill in as the results arrive.
class PlaylistStore {
public:
    using Record = std::shared_ptr<CMediaInfo>;
    using Records = std::vector<Record>;

    // The lists, state and prompts must outlive the store.
    PlaylistStore(ctlList& lists, ctlList& songs, PlayerState& state, Prompts& prompts);
    ~PlaylistStore();

    QString NewKey();

    // Appends a playlist (with `items`, which keep their keys or get new ones
    // when they have none) and its row; returns its key.
    QString AddPlaylist(const QString& title, const Records& items = {});
    // Deletes every playlist file whose title is this list's title, then the
    // list and its row; the first remaining list becomes current and shown
    // (a fresh empty default list when none remains).
    void DeletePlaylist(const QString& listKey);
    // Appends the record under a new key (written into it) and, with
    // showNow, its row to the songs list. Returns the key; empty when there
    // is no such list.
    QString AddMediaToList(const Record& media, const QString& listKey, bool showNow);
    void RemoveMediaFromList(const QString& listKey, const QString& itemKey);
    // Empties the list (and the songs rows when it is the one shown).
    void ClearPlaylist(const QString& listKey);
    // Shows the items of the list in the songs rows unless it is shown already.
    void ShowPlaylist(const QString& listKey);
    // The record, or null when the list or the item does not exist.
    Record GetMedia(const QString& listKey, const QString& itemKey) const;

    // The folder of the playlist files: the program's "PlayList" folder
    // unless set otherwise.
    QString Folder() const;
    void SetFolder(const QString& folder) { m_folder = folder; }

    // Writes every list, in the order of its row, to `directory` (Folder()
    // when empty; made when missing) as 0.MLF, 1.MLF, ..., now, after the
    // save in flight. Each file is replaced whole or not at all; in Folder()
    // a list unchanged since it was read or written keeps its bytes. After a
    // save without failure the list files this run read or wrote and did not
    // write again are removed, so deleted lists stay deleted. Returns whether
    // every file was written.
    bool SavePlaylists(const QString& directory = QString());
    // From now on every change is saved about `delayMs` later.
    void EnableSaveOnChange(int delayMs);
    // A change made outside the store (a row renamed, a link item's
    // address moved to its next candidate): saved like the store's own.
    void NoteChanged();
    // Whether a change is not yet on disk or a save is running.
    bool SavePending() const;
    // Reads every ".MLF" of Folder() in natural order, shows the first list,
    // and starts reading the items' lengths in the background. False when no
    // file was found.
    bool LoadPlaylists();

    // With empty keys: the first list (its row selected) and the first
    // shown item (its row selected) become current.
    void EnsureCurrentSelection();

    // The items of a list in order (empty for an unknown key).
    const Records& Items(const QString& listKey) const;
    // Keys of the lists in store order.
    QStringList ListKeys() const;
    QString ShownListKey() const { return m_shownListKey; }
    // The title of a list, from its row.
    QString ListTitle(const QString& listKey) const;

    // Writes the record's title and duration to its row when it is shown.
    void RefreshRow(const CMediaInfo& media);

    // The reader of item information (lengths, and titles of added files).
    ItemInfoReader& InfoReader() { return m_reader; }

    ctlList& Lists() const { return m_lists; }
    ctlList& Songs() const { return m_songs; }
    PlayerState& State() const { return m_state; }

private:
    struct Playlist {
        QString Key;
        Records Items;
        QHash<QString, Record> ByKey;
        // The file that holds the list as it was when last read or written
        // here, and a digest of what was in it then.
        QString FileName;
        PlaylistSave::FileStamp FileStamp;
        std::optional<std::size_t> SavedDigest;
    };

    Playlist* Find(const QString& listKey);
    const Playlist* Find(const QString& listKey) const;
    void AppendRow(const CMediaInfo& media);
    void DeleteFilesTitled(const QString& title);
    QString LoadFile(const QString& folder, const QString& name, Records& loaded);
    PlaylistSave::Job MakeSaveJob(const QString& folder);
    void FinishSave(const PlaylistSave::Job& job, const PlaylistSave::Result& result);
    void Changed();

    ctlList& m_lists;
    ctlList& m_songs;
    PlayerState& m_state;
    Prompts& m_prompts;
    QString m_folder;
    qint64 m_keyCounter = 0;
    std::vector<Playlist> m_playlists;
    // Where each list's key is in m_playlists: thousands of list files are
    // looked up once each while loading and saving, never by a scan.
    QHash<QString, std::size_t> m_listIndex;
    QString m_shownListKey;
    ItemInfoReader m_reader;
    // Entries of the folder named like list files that were not read (too
    // big, unreadable, links, not regular files): never written over,
    // renumbered or removed, whatever happens to the other lists.
    QSet<QString> m_unread;
    // The list files of Folder() this run read or wrote, with the title
    // each held: the only files a save or a delete removes.
    QHash<QString, QString> m_known;
    // Files whose failed save was reported: told once, not at every save.
    QSet<QString> m_reportedFailures;
    std::unique_ptr<PlaylistSaveRunner> m_saver;
};
