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
