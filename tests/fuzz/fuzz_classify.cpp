// Item texts (paths, addresses, links) as UTF-8 from arbitrary bytes
// through every classification function, and through the engine's door
// where it exists. Input lines: the text, then the start marker, end
// marker, find and replace texts for ExtractBetween; a leading byte gives
// its occurrence (signed, so 0 and negative counts are tried too).

#include "FuzzSupport.h"

#include "playback/modFile.h"

#if __has_include("playback/EngineDoor.h")
#include "playback/EngineDoor.h"
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return -1;
    const int occurrence = int(static_cast<int8_t>(data[0]));
    const QByteArray bytes = FuzzSupport::Bytes(data + 1, size - 1);
    const QList<QByteArray> lines = bytes.split('\n');
    const auto line = [&lines](qsizetype i) {
        return i < lines.size() ? QString::fromUtf8(lines[i]) : QString();
    };
    const QString text = line(0);

    const PathKind kind = modFile::GetPathKind(text);
    const QString fileName = modFile::GetFileName(text);
    const QString title = modFile::GetFileTitle(text);
    const QString extension = modFile::GetExtension(text);
    (void)modFile::GetMediaKind(text);
    if (fileName.size() > text.size() || title.size() > fileName.size())
        std::abort(); // parts of a text are never longer than it
    const bool isLink = kind == PathKind::OwnLink || kind == PathKind::PpstreamLink;
    if (isLink && !(fileName.isEmpty() && title.isEmpty() && extension.isEmpty()))
        std::abort();

    const QString between =
        modFile::ExtractBetween(text, line(1), line(2), occurrence, line(3), line(4));
    (void)between;
    // The whole text: the part of a text between markers is inside it.
    if (modFile::ExtractBetween(text, line(1), line(2), occurrence).size() > text.size())
        std::abort();

#if __has_include("playback/EngineDoor.h")
    (void)EngineDoor::AdmitItem(text);
#endif
    return 0;
}
