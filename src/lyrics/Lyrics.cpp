#include "lyrics/Lyrics.h"

#include <algorithm>

int Lyrics::LineAt(qint64 timeMs) const {
    if (!Timed)
        return -1;
    // The first line sung later than `timeMs`; the one before it is sung now.
    const auto later =
        std::upper_bound(Lines.cbegin(), Lines.cend(), timeMs,
                         [](qint64 t, const LyricLine& line) { return t < line.TimeMs; });
    return int(later - Lines.cbegin()) - 1;
}

QString Lyrics::PlainText() const {
    QStringList texts;
    texts.reserve(Lines.size());
    for (const LyricLine& line : Lines)
        texts.append(line.Text);
    return texts.join(QLatin1Char('\n'));
}

namespace {

// The first word sung later than `timeMs`.
QList<LyricWord>::const_iterator firstLater(const QList<LyricWord>& words, qint64 timeMs) {
    return std::upper_bound(words.cbegin(), words.cend(), timeMs,
                            [](qint64 t, const LyricWord& word) { return t < word.TimeMs; });
}

} // namespace

qsizetype LyricLine::SungLength(qint64 timeMs) const {
    const auto later = firstLater(Words, timeMs);
    return later == Words.cend() ? Text.size() : later->Offset;
}

qint64 LyricLine::NextWordMs(qint64 timeMs) const {
    const auto later = firstLater(Words, timeMs);
    return later == Words.cend() ? -1 : later->TimeMs;
}
