// Playlist file reading on arbitrary bytes: it must never crash, hang or
// read outside the text, every item it yields must be well formed, and
// writing the items back and reading them again must give them unchanged.
#include "playlist/ModList.h"
#include "winsvc/LegacyText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ModList::MlfPlaylist list = ModList::ParseMlf(LegacyText::FromGb18030(bytes));
    for (const ModList::MlfItem& item : list.Items) {
        if (item.Path.isEmpty() || item.Title.contains(u'=') ||
            item.Title.contains(QLatin1String("\r\n")) || item.Path.contains(QLatin1String("\r\n")))
            std::abort();
    }
    const ModList::MlfPlaylist again =
        ModList::ParseMlf(ModList::FormatMlf(QStringLiteral("t"), list.Items));
    if (again.Title != QLatin1String("t") || again.Items != list.Items)
        std::abort();
    return 0;
}
