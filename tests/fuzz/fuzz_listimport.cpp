// Other players' list files on arbitrary bytes, read as each format: never a
// crash, and every item has a path without control characters (one that a
// list file of this program can hold).
#include "playback/EngineDoor.h"
#include "playlist/ListFileImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const char* suffix : {"m3u", "m3u8", "pls", "mlf", "xspf"}) {
        const ListFileImport::Imported list =
            ListFileImport::Parse(bytes, QLatin1String(suffix), QStringLiteral("/lists"));
        for (const ModList::MlfItem& item : list.Items) {
            if (item.Path.isEmpty() || EngineDoor::HasUnsafeCharacters(item.Path))
                std::abort();
        }
    }
    return 0;
}
