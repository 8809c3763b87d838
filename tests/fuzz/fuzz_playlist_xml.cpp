// playlist.xml (the list colours of a skin) from arbitrary bytes. Reading the
// colours never fails, so the only faults are crashes, hangs and bad reads.

#include "FuzzSupport.h"

#include "skin/ModSkinFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::EnsureApp();
    FuzzSupport::SilentPrompts prompts;
    const QString path = FuzzSupport::WriteScratchFile(
        QString::fromLatin1(ModSkinFile::kPlaylistFileName), data, size);
    const PlaylistColors colors = ModSkinFile::LoadPlaylistColors(path, prompts);
    // Colours are COLORREF values: nothing above 24 bits.
    const quint32 all = colors.ColorText | colors.ColorHilight | colors.ColorBkgnd |
                        colors.ColorBkgnd2 | colors.ColorNumber | colors.ColorDuration |
                        colors.ColorSelect;
    if (all > 0xFFFFFFu)
        std::abort();
    return 0;
}
