#include "playlist/MediaAdder.h"

#include "playback/PlayerState.h"
#include "playback/modFile.h"
#include "playlist/DropTexts.h"
#include "playlist/ListFileImport.h"
#include "skin/ModTextFile.h"
#include "winsvc/OpenDialog.h"
#include "winsvc/Prompts.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kOpenBufferLength = 65535;
// Up to this many files added at once have their tags read before they are
// listed.
constexpr qsizetype kReadNowLimit = 4;

// A new item titled by its file name, until anything better is known.
PlaylistStore::Record newRecord(MediaSource source, const QString& path) {
    auto media = std::make_shared<CMediaInfo>();
    media->Source = source;
    media->Path = path;
    media->Types = modFile::GetMediaKind(path);
    media->Title = modFile::GetFileTitle(path);
    return media;
}

} // namespace

MediaAdder::MediaAdder(PlaylistStore& store, Prompts& prompts)
    : m_store(store), m_prompts(prompts) {
}

QString MediaAdder::Append(const PlaylistStore::Record& media, const QString& listKey) {
    // A list file holds one item a line: a path with a line break in it
    // (a file name can have one, an address should not) would come back as
    // other items, so it is not taken.
    if (media->Path.contains(QLatin1Char('\n')) || media->Path.contains(QLatin1Char('\r'))) {
        m_prompts.MsgBox(QStringLiteral("无法播放该媒体"));
        return QString();
    }
    // A row is added only when the songs list shows this list.
    return m_store.AddMediaToList(media, listKey, listKey == m_store.ShownListKey());
}

QStringList MediaAdder::AddFiles(const std::optional<QString>& files) {
    m_store.EnsureCurrentSelection();
    const QString result =
        files ? *files
              : OpenDialog::ShowOpenDialog(m_prompts, QStringLiteral("Open"),
                                           modFile::GetOpenFilter(), 1, kOpenBufferLength);
    if (result.isEmpty())
        return {};
    QStringList selected;
    OpenDialog::SplitOpenResult(result, selected);
    return AddPaths(selected, m_store.State().CurrentListKey);
}

QStringList MediaAdder::AddPaths(const QStringList& paths, const QString& listKey) {
    // A few files are read at once (a moment's work, and the item that is
    // played right after being added shows its tag title); many are read in
    // the background so the window never stalls.
    const bool readNow = paths.size() <= kReadNowLimit;
    QStringList keys;
    PlaylistStore::Records added;
    for (const QString& path : paths) {
        PlaylistStore::Record media = newRecord(MediaSource::FromFile, path);
        if (readNow)
            ItemInfoReader::ReadNow(*media, true);
        const QString key = Append(media, listKey);
        if (key.isEmpty())
            continue;
        keys.append(key);
        added.push_back(std::move(media));
    }
    if (!readNow) {
        m_store.InfoReader().ReadLater(added, true);
    } else {
        // What the tags gave no length for (video) is measured in the
        // background, as the list's other items are.
        PlaylistStore::Records unmeasured;
        for (const PlaylistStore::Record& media : added)
            if (media->Duration == CMediaInfo().Duration)
                unmeasured.push_back(media);
        m_store.InfoReader().ReadLater(unmeasured, false);
    }
    return keys;
}

QStringList MediaAdder::AddUrl(const std::optional<QString>& url) {
    m_store.EnsureCurrentSelection();
    QString text;
    if (url) {
        text = *url;
    } else {
        text = m_prompts.InputBox(QStringLiteral("输入Url地址"), QString()).value_or(QString());
        if (text.isEmpty())
            return {};
    }
    return AddStream(text, m_store.State().CurrentListKey);
}

QStringList MediaAdder::AddStream(const QString& url, const QString& listKey) {
    const QString key = Append(newRecord(MediaSource::FromUrl, url), listKey);
    return key.isEmpty() ? QStringList() : QStringList{key};
}

QStringList MediaAdder::AddLink(const std::optional<QString>& link) {
    m_store.EnsureCurrentSelection();
    const QString text =
        link
            ? *link
            : m_prompts.InputBox(QStringLiteral("输入Melodeck链接"), QString()).value_or(QString());
    return AddLinkItem(text, m_store.State().CurrentListKey);
}

QStringList MediaAdder::AddLinkItem(const QString& link, const QString& listKey) {
    if (link.isEmpty() || !m_linkResolver)
        return {};
    PlaylistStore::Record media = m_linkResolver(link);
    if (!media)
        return {};
    media->Source = MediaSource::FromLink;
    media->Duration = QStringLiteral("00:00");
    const QString key = Append(media, listKey);
    return key.isEmpty() ? QStringList() : QStringList{key};
}

QStringList MediaAdder::AddByKind(const QString& text) {
    switch (modFile::GetPathKind(text)) {
    case PathKind::Local:
        return AddFiles(text);
    case PathKind::Stream:
        return AddUrl(text);
    case PathKind::OwnLink:
        return AddLink(text);
    default:
        return {};
    }
}

QStringList MediaAdder::AddDropped(const QStringList& texts, const QString& listKey) {
    const QString target = listKey.isEmpty() ? m_store.ShownListKey() : listKey;
    QStringList keys;
    // Neighbouring files go in together, so many of them are read in the
    // background rather than one by one.
    QStringList files;
    const auto addFiles = [&] {
        keys += AddPaths(files, target);
        files.clear();
    };
    for (const QString& text : texts) {
        if (modFile::GetPathKind(text) == PathKind::OwnLink) {
            addFiles();
            keys += AddLinkItem(text, target);
        } else if (DropTexts::IsStreamAddress(text)) {
            addFiles();
            keys += AddStream(text, target);
        } else if (QDir::isAbsolutePath(text)) {
            files.append(text);
        }
    }
    addFiles();
    return keys;
}

MediaAdder::ImportedList MediaAdder::AddListFile(const std::optional<QString>& path) {
    QString file = path.value_or(QString());
    if (!path) {
        const QStringList chosen = m_prompts.OpenFiles(
            QStringLiteral("添加列表"), QString(),
            {QStringLiteral("播放列表 (*.m3u *.m3u8 *.pls *.xspf *.MLF *.mlf)")}, false);
        if (chosen.isEmpty())
            return {};
        file = chosen.first();
    }
    QString error;
    const std::optional<ListFileImport::Imported> imported = ListFileImport::Read(file, error);
    if (!imported) {
        m_prompts.MsgBox(file + QStringLiteral("文件读取错误"));
        return {};
    }
    PlaylistStore::Records records;
    for (const ModList::MlfItem& line : imported->Items) {
        PlaylistStore::Record media =
            newRecord(MediaSource(int(modFile::GetPathKind(line.Path))), line.Path);
        media->Title = line.Title;
        records.push_back(std::move(media));
    }
    ImportedList result;
    result.ListKey = m_store.AddPlaylist(ModList::StorableListTitle(imported->Title), records);
    result.Items = int(records.size());
    result.Skipped = imported->Skipped;
    m_store.InfoReader().ReadLater(records, false);
    return result;
}

bool MediaAdder::ExportList(const QString& listKey, const std::optional<QString>& path) {
    QString file = path.value_or(QString());
    if (!path) {
        const std::optional<QString> chosen =
            m_prompts.SaveFileName(QStringLiteral("导出列表"), {QStringLiteral("M3U8 (*.m3u8)"),
                                                                QStringLiteral("PLS (*.pls)")});
        if (!chosen)
            return false;
        file = *chosen;
    }
    QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("pls") && suffix != QLatin1String("m3u8")) {
        file += QStringLiteral(".m3u8");
        suffix = QStringLiteral("m3u8");
    }
    QList<ListFileImport::ExportItem> items;
    for (const PlaylistStore::Record& item : m_store.Items(listKey)) {
        const QStringList parts = item->Duration.split(QLatin1Char(':'));
        const int seconds = parts.size() == 2 ? parts[0].toInt() * 60 + parts[1].toInt() : 0;
        items.append({item->Title, item->Path, seconds > 0 ? seconds : -1});
    }
    if (ModTextFile::WriteFileBytes(file, ListFileImport::Format(items, suffix)))
        return true;
    m_prompts.MsgBox(file + QStringLiteral("文件保存错误"));
    return false;
}
