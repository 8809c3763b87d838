#include "playlist/PlaylistStore.h"

#include "controls/ctlList.h"
#include "playback/PlayerState.h"
#include "playback/modFile.h"
#include "playlist/ModList.h"
#include "playlist/PlaylistSaveRunner.h"
#include "skin/ModTextFile.h"
#include "winsvc/Prompts.h"

#include <QDir>
#include <QFile>

namespace {

QString folderOrDefault(const QString& directory) {
    QString folder = directory.isEmpty() ? ModList::PlaylistFolder() : directory;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString rowKey(const CListItem& row) {
    return row.iData.toString();
}

} // namespace

PlaylistStore::PlaylistStore(ctlList& lists, ctlList& songs, PlayerState& state, Prompts& prompts)
    : m_lists(lists), m_songs(songs), m_state(state), m_prompts(prompts),
      m_saver(std::make_unique<PlaylistSaveRunner>(
          [this] { return MakeSaveJob(Folder()); },
          [this](const PlaylistSave::Job& job, const PlaylistSave::Result& result) {
              FinishSave(job, result);
          })) {
    m_reader.SetFilledHandler([this](const CMediaInfo& media) {
        RefreshRow(media);
        // A title from the tags is saved; a length alone changes nothing
        // stored, and the digest tells the two apart.
        Changed();
    });
}

PlaylistStore::~PlaylistStore() = default;

QString PlaylistStore::NewKey() {
    return QString::number(m_keyCounter++);
}

PlaylistStore::Playlist* PlaylistStore::Find(const QString& listKey) {
    const auto at = m_listIndex.constFind(listKey);
    return at == m_listIndex.cend() ? nullptr : &m_playlists[*at];
}

const PlaylistStore::Playlist* PlaylistStore::Find(const QString& listKey) const {
    return const_cast<PlaylistStore*>(this)->Find(listKey);
}

QString PlaylistStore::AddPlaylist(const QString& title, const Records& items) {
    Playlist list;
    list.Key = NewKey();
    for (const Record& item : items) {
        if (!item)
            continue;
        if (item->Key.isEmpty() || list.ByKey.contains(item->Key))
            item->Key = NewKey();
        list.Items.push_back(item);
        list.ByKey.insert(item->Key, item);
    }
    const QString key = list.Key;
    m_listIndex.insert(key, m_playlists.size());
    m_playlists.push_back(std::move(list));
    m_lists.Add(title, QString(), key);
    Changed();
    return key;
}

QString PlaylistStore::AddMediaToList(const Record& media, const QString& listKey, bool showNow) {
    Playlist* list = Find(listKey);
    if (!list || !media)
        return QString();
    media->Key = NewKey();
    list->Items.push_back(media);
    list->ByKey.insert(media->Key, media);
    if (showNow)
        AppendRow(*media);
    Changed();
    return media->Key;
}

void PlaylistStore::AppendRow(const CMediaInfo& media) {
    m_songs.Add(media.Title, media.Duration, media.Key);
}

void PlaylistStore::RemoveMediaFromList(const QString& listKey, const QString& itemKey) {
    Playlist* list = Find(listKey);
    if (!list || !list->ByKey.remove(itemKey))
        return;
    std::erase_if(list->Items, [&](const Record& item) { return item->Key == itemKey; });
    if (m_songs.ItemData(itemKey))
        m_songs.Remove(itemKey);
    Changed();
}

void PlaylistStore::ClearPlaylist(const QString& listKey) {
    Playlist* list = Find(listKey);
    if (!list)
        return;
    list->Items.clear();
    list->ByKey.clear();
    // Only the rows of this list go: another list's rows stay as they are.
    if (listKey == m_shownListKey)
        m_songs.Clear();
    Changed();
}

void PlaylistStore::ShowPlaylist(const QString& listKey) {
    if (listKey == m_shownListKey)
        return;
    m_shownListKey = listKey;
    m_songs.Clear();
    if (const Playlist* list = Find(listKey)) {
        for (const Record& item : list->Items)
            AppendRow(*item);
    }
}

PlaylistStore::Record PlaylistStore::GetMedia(const QString& listKey,
                                              const QString& itemKey) const {
    const Playlist* list = Find(listKey);
    return list ? list->ByKey.value(itemKey) : nullptr;
}

const PlaylistStore::Records& PlaylistStore::Items(const QString& listKey) const {
    static const Records none;
    const Playlist* list = Find(listKey);
    return list ? list->Items : none;
}

QStringList PlaylistStore::ListKeys() const {
    QStringList keys;
    for (const Playlist& list : m_playlists)
        keys.append(list.Key);
    return keys;
}

QString PlaylistStore::ListTitle(const QString& listKey) const {
    const std::optional<CListItem> row = m_lists.ItemData(listKey);
    return row ? row->iTitle : QString();
}

void PlaylistStore::RefreshRow(const CMediaInfo& media) {
    std::optional<CListItem> row = m_songs.ItemData(media.Key);
    if (!row || (row->iTitle == media.Title && row->iTime == media.Duration))
        return;
    row->iTitle = media.Title;
    row->iTime = media.Duration;
    m_songs.SetItemData(media.Key, *row);
}

void PlaylistStore::EnsureCurrentSelection() {
    if (m_state.CurrentListKey.isEmpty()) {
        if (const std::optional<CListItem> first = m_lists.FirstItem()) {
            m_state.CurrentListKey = rowKey(*first);
            m_lists.SelectItem(m_state.CurrentListKey);
        }
    }
    if (m_state.CurrentItemKey.isEmpty()) {
        if (const std::optional<CListItem> first = m_songs.FirstItem()) {
            m_state.CurrentItemKey = rowKey(*first);
            m_songs.SelectItem(m_state.CurrentItemKey);
        }
    }
}

QString PlaylistStore::Folder() const {
    return folderOrDefault(m_folder);
}

void PlaylistStore::Changed() {
    m_saver->Schedule();
}

void PlaylistStore::NoteChanged() {
    Changed();
}

void PlaylistStore::EnableSaveOnChange(int delayMs) {
    m_saver->SetEnabled(true, delayMs);
}

bool PlaylistStore::SavePending() const {
    return m_saver->Pending();
}

// The lists as they are now, taken on the GUI thread: the records' texts are
// shared, not copied, so this is quick even for long lists.
PlaylistSave::Job PlaylistStore::MakeSaveJob(const QString& folder) {
    PlaylistSave::Job job;
    job.Folder = folder;
    job.OtherFolder = folder != Folder();
    job.Unread = m_unread;
    for (auto known = m_known.cbegin(); known != m_known.cend(); ++known)
        job.Known.insert(known.key());
    const int count = m_lists.Count();
    job.Lists.reserve(std::size_t(count));
    for (int n = 1; n <= count; ++n) {
        const std::optional<CListItem> row = m_lists.ItemData(n);
        PlaylistSave::ListToSave entry;
        entry.Key = row ? rowKey(*row) : QString();
        entry.Title = row ? row->iTitle : QString();
        if (Playlist* list = Find(entry.Key)) {
            entry.Lines.reserve(qsizetype(list->Items.size()));
            for (const Record& item : list->Items) {
                item->Path = ModList::RewriteLegacyUrl(item->Path);
                entry.Lines.append(ModList::MlfItem{item->Title, item->Path});
            }
            entry.Digest = PlaylistSave::DigestOf(entry.Title, entry.Lines);
            entry.Unchanged = list->SavedDigest == entry.Digest;
            entry.From = list->FileName;
            entry.FromStamp = list->FileStamp;
        }
        job.Lists.push_back(std::move(entry));
    }
    return job;
}

void PlaylistStore::FinishSave(const PlaylistSave::Job& job, const PlaylistSave::Result& result) {
    for (const QString& path : result.FailedPaths) {
        // Told once: a folder that cannot be written would otherwise bring a
        // message after every change.
        if (!m_reportedFailures.contains(path)) {
            m_reportedFailures.insert(path);
            m_prompts.MsgBox(path + QStringLiteral("文件保存错误"));
        }
    }
    if (job.OtherFolder)
        return;
    for (const QString& name : result.Removed)
        m_known.remove(name);
    for (std::size_t n = 0; n < job.Lists.size() && n < result.Lists.size(); ++n) {
        const std::optional<PlaylistSave::SavedFile>& saved = result.Lists[n];
        if (!saved)
            continue;
        m_reportedFailures.remove(job.Folder + saved->Name);
        m_known.insert(saved->Name, job.Lists[n].Title);
        Playlist* list = Find(job.Lists[n].Key);
        if (!list)
            continue; // deleted while it was being saved
        list->FileName = saved->Name;
        list->FileStamp = saved->Stamp;
        // What was written, not what the list holds now: a change made while
        // the save ran is saved next.
        list->SavedDigest = job.Lists[n].Digest;
    }
}

bool PlaylistStore::SavePlaylists(const QString& directory) {
    m_saver->Wait();
    const QString folder = directory.isEmpty() ? Folder() : folderOrDefault(directory);
    const PlaylistSave::Job job = MakeSaveJob(folder);
    const PlaylistSave::Result result = PlaylistSave::RunSaveJob(job);
    FinishSave(job, result);
    return result.Complete;
}

bool PlaylistStore::LoadPlaylists() {
    const QString folder = Folder();
    m_unread = PlaylistSave::EntriesNotToTouch(folder);
    QStringList names;
    if (!ModTextFile::ListFiles(folder, names, QLatin1String(ModList::PlaylistPattern)))
        return false;
    QString firstKey;
    Records loaded;
    for (const QString& name : names) {
        const QString key = LoadFile(folder, name, loaded);
        if (firstKey.isEmpty())
            firstKey = key;
    }
    if (firstKey.isEmpty())
        return false;
    ShowPlaylist(firstKey);
    m_reader.ReadLater(loaded, false);
    return true;
}

QString PlaylistStore::LoadFile(const QString& folder, const QString& name, Records& loaded) {
    const QString path = folder + name;
    if (m_unread.contains(name)) {
        m_prompts.MsgBox(path + QStringLiteral("文件读取错误"));
        return QString();
    }
    const std::optional<QString> text = ModTextFile::TryReadTextFile(path, m_prompts);
    if (!text) {
        m_unread.insert(name);
        return QString();
    }
    const ModList::MlfPlaylist file = ModList::ParseMlf(*text);
    const QString listKey = AddPlaylist(file.Title);
    // A file of another name ("rock.MLF") is known too: once its list is
    // saved under its number, the old name goes.
    m_known.insert(name, file.Title);
    Playlist& list = *Find(listKey);
    list.FileName = name;
    list.FileStamp = PlaylistSave::StampOf(path).value_or(PlaylistSave::FileStamp{});
    list.SavedDigest = PlaylistSave::DigestOf(file.Title, file.Items);
    for (const ModList::MlfItem& line : file.Items) {
        auto media = std::make_shared<CMediaInfo>();
        media->Path = line.Path;
        media->Title = line.Title;
        media->Types = modFile::GetMediaKind(media->Path);
        media->Source = MediaSource(int(modFile::GetPathKind(media->Path)));
        AddMediaToList(media, listKey, false);
        loaded.push_back(std::move(media));
    }
    return listKey;
}

// The files this run read or wrote holding lists of that title; a file it
// never read is not the user's deleted list.
void PlaylistStore::DeleteFilesTitled(const QString& title) {
    // The save in flight may be writing one of them.
    m_saver->Wait();
    const QString folder = Folder();
    const QSet<QString> untouchable = PlaylistSave::EntriesNotToTouch(folder) | m_unread;
    for (auto known = m_known.begin(); known != m_known.end();) {
        const QString name = known.key();
        if (known.value() != title || untouchable.contains(name) ||
            (PlaylistSave::StampOf(folder + name) && !QFile::remove(folder + name))) {
            ++known;
            continue;
        }
        known = m_known.erase(known);
        // Another list of that title loses its file with it: written afresh.
        for (Playlist& list : m_playlists)
            if (list.FileName == name)
                list.FileName.clear();
    }
}

void PlaylistStore::DeletePlaylist(const QString& listKey) {
    if (!Find(listKey) && !m_lists.ItemData(listKey))
        return;
    DeleteFilesTitled(ListTitle(listKey));
    std::erase_if(m_playlists, [&](const Playlist& list) { return list.Key == listKey; });
    m_listIndex.clear();
    for (std::size_t n = 0; n < m_playlists.size(); ++n)
        m_listIndex.insert(m_playlists[n].Key, n);
    if (m_lists.ItemData(listKey))
        m_lists.Remove(listKey);
    // One list always exists: everything that adds items adds to the current one.
    if (m_lists.Count() == 0)
        AddPlaylist(ModList::DefaultListTitle());
    const QString first = rowKey(*m_lists.FirstItem());
    ShowPlaylist(first);
    m_state.CurrentListKey = first;
    m_lists.SelectItem(first);
    m_state.CurrentItemKey.clear();
    if (const std::optional<CListItem> item = m_songs.FirstItem()) {
        m_state.CurrentItemKey = rowKey(*item);
        m_songs.SelectItem(m_state.CurrentItemKey);
    }
    Changed();
}
