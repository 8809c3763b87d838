#include "playlist/MediaAdder.h"

#include "playback/PlayerState.h"
#include "playback/modFile.h"
#include "winsvc/OpenDialog.h"
#include "winsvc/Prompts.h"

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

QString MediaAdder::Append(const PlaylistStore::Record& media) {
    const QString listKey = m_store.State().CurrentListKey;
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

    // A few files are read at once (a moment's work, and the item that is
    // played right after being added shows its tag title); many are read in
    // the background so the window never stalls.
    const bool readNow = selected.size() <= kReadNowLimit;
    QStringList keys;
    PlaylistStore::Records added;
    for (const QString& path : selected) {
        PlaylistStore::Record media = newRecord(MediaSource::FromFile, path);
        if (readNow)
            ItemInfoReader::ReadNow(*media, true);
        const QString key = Append(media);
        if (key.isEmpty())
            continue;
        keys.append(key);
        added.push_back(std::move(media));
    }
    if (!readNow)
        m_store.InfoReader().ReadLater(added, true);
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
    const QString key = Append(newRecord(MediaSource::FromUrl, text));
    return key.isEmpty() ? QStringList() : QStringList{key};
}

QStringList MediaAdder::AddLink(const std::optional<QString>& link) {
    m_store.EnsureCurrentSelection();
    const QString text =
        link
            ? *link
            : m_prompts.InputBox(QStringLiteral("输入Melodeck链接"), QString()).value_or(QString());
    if (text.isEmpty() || !m_linkResolver)
        return {};
    PlaylistStore::Record media = m_linkResolver(text);
    if (!media)
        return {};
    media->Source = MediaSource::FromLink;
    media->Duration = QStringLiteral("00:00");
    const QString key = Append(media);
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
