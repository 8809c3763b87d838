#pragma once

#include "playback/CMediaInfo.h"

#include <QString>
#include <QStringList>

#include <optional>

class FetchWait;
class Prompts;

// The program's own links: "melodeck://" followed by name=value fields
// joined by "&". Nothing is escaped or unescaped in either direction, so a
// value cannot hold "&", and a field name that also occurs inside an earlier
// value is found there first. Field names match case-sensitively; only the
// test for a direct address ("url=") ignores case.
namespace ModLink {

// The media types a link can ask for.
enum class LinkType : int { All = -1, Mp3 = 0, RM = 1, Wma = 2, Flash = 6 };

struct LinkFields {
    QString Singer;
    QString Song;
    // The direct address when the link has "url=" (any case), else the type
    // number as written.
    QString Third;
};

LinkFields ParseLink(const QString& link);

// True when the link names one address instead of asking for a search.
bool HasDirectAddress(const QString& link);

// "melodeck://singer=" + singer + "&song=" + song + "&type=" + type.
QString ComposeLink(const QString& singer, const QString& song, int type);

// A search answer names a handful of mirrors; more are not tried.
inline constexpr qsizetype kMaxCandidates = 100;

// The non-empty pieces of a search answer between "<br/>" separators, in
// order, at most kMaxCandidates of them. An answer comes from the network,
// so a piece naming a file of this machine (a path or a `file:` URL) is
// left out.
QStringList SplitCandidates(const QString& answer);

// What a link becomes: the fields of one new playlist item.
struct LinkItem {
    QString Path;
    QString Title;
    MediaKind Types = MediaKind::Audio;
    // Every candidate address of a search, Path being the first; empty for a
    // direct address.
    QStringList UrlCol;
};

// Turns a link text into an item. A direct address is taken without any
// request; otherwise the song is searched (one request). When the search
// yields no address, "找不到该数据！" is shown through `prompts` and nothing
// comes back. An empty text gives nothing and shows nothing.
std::optional<LinkItem> ResolveLink(const QString& text, Prompts& prompts);

// What ResolveLinkWaiting made of a link.
struct LinkOutcome {
    std::optional<LinkItem> Item;
    // The search was ended before the service answered (the user cancelled,
    // the program is ending): nothing was shown, nothing is known.
    bool Cancelled = false;
};

// ResolveLink with the search waited for as `wait` says (see
// ModInternet::HttpFetch; the default wait when null).
LinkOutcome ResolveLinkWaiting(const QString& text, Prompts& prompts, FetchWait* wait);

} // namespace ModLink
