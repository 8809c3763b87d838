// A media file from arbitrary bytes through the tag reader, whose 8-bit tag
// text goes through the legacy GBK decoding; the same bytes also go through
// that decoding directly. Input: one byte choosing the file's extension (the
// tag library picks its parser by extension first), then the file.

#include "FuzzSupport.h"

#include "playback/MediaTagReader.h"
#include "winsvc/LegacyText.h"

#include <array>
#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return -1;
    FuzzSupport::EnsureApp();
    static const std::array<const char*, 9> names = {"a.mp3",  "a.wav", "a.wma", "a.asf", "a.ogg",
                                                     "a.flac", "a.m4a", "a.ape", "a.mpc"};
    const QString path = FuzzSupport::WriteScratchFile(
        QString::fromLatin1(names[data[0] % names.size()]), data + 1, size - 1);
    const EngineMedia media = MediaTagReader::Read(path);
    (void)media;

    const QByteArray bytes = FuzzSupport::Bytes(data + 1, size - 1);
    const QString text = LegacyText::FromGb18030(bytes);
    // Every character has a GB18030 form, so text decoded from it encodes
    // back and decodes to the same text.
    if (LegacyText::FromGb18030(LegacyText::ToGb18030(text)) != text)
        std::abort();
    if (LegacyText::IsAscii(bytes) && text != QString::fromLatin1(bytes))
        std::abort();
    return 0;
}
