// skin.xml from arbitrary bytes through the skin loader, as a skin folder
// would hand it over: the loader must answer with a skin or an error, never
// crash, hang or read past what it was given.

#include "FuzzSupport.h"

#include "skin/ModSkinFile.h"
#include "skin/XmlDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::EnsureApp();
    FuzzSupport::SilentPrompts prompts;
    const QString path =
        FuzzSupport::WriteScratchFile(QString::fromLatin1(ModSkinFile::kSkinFileName), data, size);
    const SkinLoadResult result = ModSkinFile::LoadSkinFile(path, prompts);
    if (!result.Ok() && result.Error.isEmpty())
        std::abort(); // a failed load must say why

    // The same bytes straight from memory, looked up the way the loader does.
    const XmlDocument doc = XmlDocument::FromBytes(FuzzSupport::Bytes(data, size));
    if (doc.IsEmpty() && doc.ErrorText().isEmpty())
        std::abort();
    (void)doc.SelectSingleNode(QStringLiteral("skin/player_window/play"));
    return 0;
}
