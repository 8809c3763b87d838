#pragma once

#include "playlist/PlaylistStore.h"

#include <QStringList>
#include <functional>
#include <optional>

// Puts new items at the end of the current playlist: local files (from the
// open dialog or one path), stream addresses (from an input box or a text),
// and whatever a command line or another instance hands over; or at the end
// of a given playlist, what was dropped on it. Nothing here starts playback.
// Every operation returns the keys of the items it added.
//
// Added files show their file title and "00:00" at once; their tag title
// and length are read in the background and replace them when found.
class MediaAdder {
public:
    // What an own link stands for: the fields of one new item (Path, Title,
    // Types and the candidate addresses UrlCol), or null when the link gave
    // nothing (the resolver has told the user).
    using LinkResolver = std::function<PlaylistStore::Record(const QString& link)>;

    // `prompts` is the player window's, so the dialogs belong to it.
    MediaAdder(PlaylistStore& store, Prompts& prompts);

    // With no argument the open dialog asks for files (several may be chosen).
    QStringList AddFiles(const std::optional<QString>& files = std::nullopt);
    // With no argument an input box asks for the address.
    QStringList AddUrl(const std::optional<QString>& url = std::nullopt);
    // With no argument an input box asks for the link. One link gives at
    // most one item, whatever the number of addresses found for it.
    QStringList AddLink(const std::optional<QString>& link = std::nullopt);
    // A local path is added as a file, a stream address as a stream, an own
    // link as a link; any other text adds nothing.
    QStringList AddByKind(const QString& text);
    // What a drop gave (see DropTexts), in order, to the list `listKey` (the
    // shown list when empty): absolute local paths as files, http, https,
    // mms and rtsp addresses as streams, own links as links; other texts
    // are passed over. Which list is current stays as it was.
    QStringList AddDropped(const QStringList& texts, const QString& listKey = QString());

    // A list file of another player (or an .MLF) as a new list named after
    // it; with no argument the open dialog asks for the file. The new list's
    // key (empty when nothing was added) and how many entries were skipped.
    struct ImportedList {
        QString ListKey;
        int Items = 0;
        int Skipped = 0;
    };
    ImportedList AddListFile(const std::optional<QString>& path = std::nullopt);
    // Writes the list as ".m3u8" or ".pls" (by the name's extension; .m3u8
    // when it has neither); with no path a save dialog asks. False when
    // nothing was written (the user told why unless cancelled).
    bool ExportList(const QString& listKey, const std::optional<QString>& path = std::nullopt);

    // The online search that turns an own link into an item is installed
    // here; until it is, own links add nothing.
    void SetLinkResolver(LinkResolver resolver) { m_linkResolver = std::move(resolver); }

private:
    QString Append(const PlaylistStore::Record& media, const QString& listKey);
    QStringList AddPaths(const QStringList& paths, const QString& listKey);
    QStringList AddStream(const QString& url, const QString& listKey);
    QStringList AddLinkItem(const QString& link, const QString& listKey);

    PlaylistStore& m_store;
    Prompts& m_prompts;
    LinkResolver m_linkResolver;
};
