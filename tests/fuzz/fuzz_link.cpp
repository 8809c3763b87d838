// Fuzz target for the link text: parsing, composing from the parsed fields
// and building the search request from them. The input is taken as UTF-8
// (invalid bytes become U+FFFD, as any text handed to the program would).
#include "net/ModInternet.h"
#include "net/ModLink.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// True when `text` holds only characters that may stand in an address.
bool Travels(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u <= 0x20 || u >= 0x7F || QStringView(u"#\"<>\\^`{|}").contains(c))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString link = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const ModLink::LinkFields fields = ModLink::ParseLink(link);
    // Values end at the first "&", so none can hold one; each is part of the link.
    for (const QString* value : {&fields.Singer, &fields.Song, &fields.Third}) {
        if (value->contains(QLatin1Char('&')) || !link.contains(*value))
            std::abort();
    }
    if (fields.Third.size() > 0 && !ModLink::HasDirectAddress(link) &&
        !link.contains(QLatin1String("type=")))
        std::abort();

    // A composed link gives back its singer and song when they hold no field
    // name and no separator; the type always comes back.
    const QString composed = ModLink::ComposeLink(fields.Singer, fields.Song, -1);
    const ModLink::LinkFields again = ModLink::ParseLink(composed);
    const auto plain = [](const QString& v) {
        return !v.contains(QLatin1String("singer=")) && !v.contains(QLatin1String("song=")) &&
               !v.contains(QLatin1String("type=")) &&
               !v.contains(QLatin1String("url="), Qt::CaseInsensitive);
    };
    if (plain(fields.Singer) && plain(fields.Song) &&
        (again.Singer != fields.Singer || again.Song != fields.Song ||
         again.Third != QLatin1String("-1")))
        std::abort();

    // The request address never carries what cannot travel in one, whatever
    // the fields hold; the fields go in with their "&" splits intact.
    const QString request = ModInternet::SearchRequestUrl(fields.Singer, fields.Song, fields.Third);
    if (!Travels(request) || !request.contains(QLatin1String("&page=0&Type=")))
        std::abort();
    (void)ModLink::SplitCandidates(link);
    return 0;
}
