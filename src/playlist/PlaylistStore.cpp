#include "playlist/PlaylistStore.h"

#include "controls/ctlList.h"
#include "playback/PlayerState.h"
#include "playback/modFile.h"
#include "playlist/ModList.h"
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

// The entries named like list files that a save must not replace: symbolic
// links (a save would write through them, wherever they lead) and whatever
// is not a regular file (directories, FIFOs, devices).
QSet<QString> entriesNotToTouch(const QString& folder) {
    QSet<QString> names;
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QStringList{QLatin1String(ModList::PlaylistPattern)},
                                   QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries)
        if (entry.isSymLink() || !entry.isFile())
            names.insert(entry.fileName());
    return names;
}

QSet<qint64> numbersOf(const QSet<QString>& names) {
    QSet<qint64> numbers;
    for (const QString& name : names)
        numbers.insert(ModList::FileNumber(name));
    return numbers;
}

} // namespace

PlaylistStore::PlaylistStore(ctlList& lists, ctlList& songs, PlayerState& state, Prompts& prompts)
    : m_lists(lists), m_songs(songs), m_state(state), m_prompts(prompts) {
    m_reader.SetFilledHandler([this](const CMediaInfo& media) { RefreshRow(media); });
}

PlaylistStore::~PlaylistStore() = default;

QString PlaylistStore::NewKey() {
    return QString::number(m_keyCounter++);
}

PlaylistStore::Playlist* PlaylistStore::Find(const QString& listKey) {
    for (Playlist& list : m_playlists) {
        if (list.Key == listKey)
            return &list;
    }
    return nullptr;
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
    m_playlists.push_back(std::move(list));
    m_lists.Add(title, QString(), key);
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

bool PlaylistStore::SavePlaylists(const QString& directory) {
    const QString folder = directory.isEmpty() ? Folder() : folderOrDefault(directory);
    // A new installation has no folder yet; without it every list is lost.
    QDir().mkpath(folder);
    const QSet<QString> untouchable = entriesNotToTouch(folder) | m_unread;
    // A number held by a file that was not read stays its file's: the lists
    // around it skip it, so none of them is written over it.
    const QSet<qint64> taken = numbersOf(untouchable);
    QSet<QString> written;
    bool complete = true;
    const int count = m_lists.Count();
    int number = 0;
    for (int n = 0; n < count; ++n, ++number) {
        while (taken.contains(number))
            ++number;
        const std::optional<CListItem> row = m_lists.ItemData(n + 1);
        QList<ModList::MlfItem> lines;
        if (const Playlist* list = Find(row ? rowKey(*row) : QString())) {
            lines.reserve(qsizetype(list->Items.size()));
            for (const Record& item : list->Items) {
                item->Path = ModList::RewriteLegacyUrl(item->Path);
                lines.append(ModList::MlfItem{item->Title, item->Path});
            }
        }
        const QString text = ModList::FormatMlf(row ? row->iTitle : QString(), lines);
        const QString name = ModList::NumberedFileName(number);
        if (ModTextFile::WriteTextFile(folder + name, text, m_prompts))
            written.insert(name);
        else
            complete = false;
    }
    if (complete)
        RemoveUnwrittenFiles(folder, written, untouchable);
    return complete;
}

void PlaylistStore::RemoveUnwrittenFiles(const QString& folder, const QSet<QString>& written,
                                         const QSet<QString>& untouchable) {
    QStringList names;
    if (!ModTextFile::ListFiles(folder, names, QLatin1String(ModList::PlaylistPattern)))
        return;
    for (const QString& name : names) {
        if (written.contains(name) || untouchable.contains(name))
            continue;
        // Any other numbered file held a list that is now saved elsewhere or
        // was deleted; a file of another name goes only when its list was
        // read, and so has just been saved under its number.
        const bool readHere = folder == Folder() && m_readUnderOtherNames.contains(name);
        if (ModList::FileNumber(name) >= 0 || readHere)
            QFile::remove(folder + name);
    }
    if (folder == Folder())
        m_readUnderOtherNames.clear();
}

bool PlaylistStore::LoadPlaylists() {
    const QString folder = Folder();
    m_unread = entriesNotToTouch(folder);
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
    if (name != ModList::NumberedFileName(int(ModList::FileNumber(name))))
        m_readUnderOtherNames.insert(name);
    const ModList::MlfPlaylist file = ModList::ParseMlf(*text);
    const QString listKey = AddPlaylist(file.Title);
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

void PlaylistStore::DeleteFilesTitled(const QString& title) {
    const QString folder = Folder();
    QStringList names;
    if (!ModTextFile::ListFiles(folder, names, QLatin1String(ModList::PlaylistPattern)))
        return;
    const QSet<QString> untouchable = entriesNotToTouch(folder) | m_unread;
    for (const QString& name : names) {
        if (untouchable.contains(name))
            continue;
        const std::optional<QString> text = ModTextFile::TryReadTextFile(folder + name, m_prompts);
        if (text && ModList::ParseTitle(*text) == title)
            QFile::remove(folder + name);
    }
}

void PlaylistStore::DeletePlaylist(const QString& listKey) {
    if (!Find(listKey) && !m_lists.ItemData(listKey))
        return;
    DeleteFilesTitled(ListTitle(listKey));
    std::erase_if(m_playlists, [&](const Playlist& list) { return list.Key == listKey; });
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
}
