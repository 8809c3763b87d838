// Lyrics files of arbitrary bytes: never a crash, lines sorted by time with
// no time below zero, the current line for any time within the lines, and
// word times rising, inside their line's text and within their cap.
#include "FuzzSupport.h"
#include "lyrics/LrcParser.h"
#include "lyrics/LyricsText.h"

namespace {

// Aborts unless the words of `line` rise in offset and time inside its text.
qsizetype checkWords(const LyricLine& line) {
    for (qsizetype w = 0; w < line.Words.size(); ++w) {
        const LyricWord& word = line.Words[w];
        if (word.Offset < 0 || word.Offset >= line.Text.size() || word.TimeMs < 0)
            std::abort();
        if (w > 0 &&
            (word.Offset < line.Words[w - 1].Offset || word.TimeMs < line.Words[w - 1].TimeMs))
            std::abort();
        const qsizetype sung = line.SungLength(word.TimeMs);
        if (sung <= word.Offset || sung > line.Text.size())
            std::abort();
    }
    return line.Words.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Lyrics lyrics = LrcParser::Parse(LyricsText::Decode(FuzzSupport::Bytes(data, size)).Text);
    if (lyrics.Lines.size() > LrcParser::kMaxLines)
        std::abort();
    qsizetype words = 0;
    for (qsizetype i = 0; i < lyrics.Lines.size(); ++i) {
        words += checkWords(lyrics.Lines[i]);
        const qint64 t = lyrics.Lines[i].TimeMs;
        if (t < 0 || (i > 0 && t < lyrics.Lines[i - 1].TimeMs))
            std::abort();
        const int at = lyrics.LineAt(t);
        if (lyrics.Timed ? (at < i || lyrics.Lines[at].TimeMs != t) : (at != -1 || t != 0))
            std::abort();
    }
    if (words > LrcParser::kMaxWords)
        std::abort();
    return 0;
}
