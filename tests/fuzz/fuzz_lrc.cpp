// Lyrics files of arbitrary bytes: never a crash, lines sorted by time with
// no time below zero, and the current line for any time within the lines.
#include "FuzzSupport.h"
#include "lyrics/LrcParser.h"
#include "lyrics/LyricsText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Lyrics lyrics = LrcParser::Parse(LyricsText::Decode(FuzzSupport::Bytes(data, size)).Text);
    if (lyrics.Lines.size() > LrcParser::kMaxLines)
        std::abort();
    for (qsizetype i = 0; i < lyrics.Lines.size(); ++i) {
        const qint64 t = lyrics.Lines[i].TimeMs;
        if (t < 0 || (i > 0 && t < lyrics.Lines[i - 1].TimeMs))
            std::abort();
        const int at = lyrics.LineAt(t);
        if (lyrics.Timed ? (at < i || lyrics.Lines[at].TimeMs != t) : (at != -1 || t != 0))
            std::abort();
    }
    return 0;
}
