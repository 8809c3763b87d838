#include "net/ModLink.h"

#include "net/ModInternet.h"
#include "playback/EngineDoor.h"
#include "playback/modFile.h"
#include "winsvc/Prompts.h"

namespace ModLink {
namespace {

const QString kSeparator = QStringLiteral("<br/>");
const QString kSearching = QStringLiteral("正在搜索...");

QString Field(const QString& link, const QString& name) {
    return modFile::ExtractBetween(link, name, QStringLiteral("&"));
}

} // namespace

LinkFields ParseLink(const QString& link) {
    LinkFields fields;
    fields.Singer = Field(link, QStringLiteral("singer="));
    fields.Song = Field(link, QStringLiteral("song="));
    // Only the exact lower-case name yields the address: "URL=" takes the
    // address branch with an empty address, as links always have.
    fields.Third = HasDirectAddress(link) ? Field(link, QStringLiteral("url="))
                                          : Field(link, QStringLiteral("type="));
    return fields;
}

bool HasDirectAddress(const QString& link) {
    return link.contains(QLatin1String("url="), Qt::CaseInsensitive);
}

QString ComposeLink(const QString& singer, const QString& song, int type) {
    return QStringLiteral("melodeck://singer=") + singer + QStringLiteral("&song=") + song +
           QStringLiteral("&type=") + QString::number(type);
}

static bool NamesLocalFile(const QString& address) {
    const std::optional<QString> admitted = EngineDoor::AdmitItem(address);
    return admitted && EngineDoor::IsLocalFile(*admitted);
}

QStringList SplitCandidates(const QString& answer) {
    QStringList candidates;
    for (const QString& piece : answer.split(kSeparator, Qt::SkipEmptyParts, Qt::CaseSensitive)) {
        if (candidates.size() == kMaxCandidates)
            break;
        // A line break would end the address early in the list file.
        if (!NamesLocalFile(piece) && !piece.contains(QLatin1Char('\n')) &&
            !piece.contains(QLatin1Char('\r')))
            candidates << piece;
    }
    return candidates;
}

std::optional<LinkItem> ResolveLink(const QString& text, Prompts& prompts) {
    return ResolveLinkWaiting(text, prompts, nullptr).Item;
}

LinkOutcome ResolveLinkWaiting(const QString& text, Prompts& prompts, FetchWait* wait) {
    if (text.isEmpty())
        return {};
    const LinkFields fields = ParseLink(text);
    LinkItem item;
    item.Title = fields.Song;
    if (HasDirectAddress(text)) {
        // A web page wrote the link: it may name addresses, never our files.
        if (NamesLocalFile(fields.Third)) {
            prompts.MsgBox(QStringLiteral("无法播放该媒体"));
            return {};
        }
        item.Path = fields.Third;
    } else {
        const ModInternet::HttpAnswer answer = ModInternet::HttpFetch(
            ModInternet::SearchRequestUrl(fields.Singer, fields.Song, fields.Third),
            ModInternet::kTransferTimeout, wait, kSearching);
        if (answer.Cancelled)
            return {std::nullopt, true};
        item.UrlCol = SplitCandidates(answer.Body);
        // An answer of nothing but separators found nothing either.
        if (item.UrlCol.isEmpty()) {
            prompts.MsgBox(QStringLiteral("找不到该数据！"));
            return {};
        }
        item.Path = item.UrlCol.first();
    }
    item.Types = modFile::GetMediaKind(item.Path);
    return {item, false};
}

} // namespace ModLink
