#include "lyrics/LrcParser.h"

#include <QStringView>
#include <algorithm>
#include <optional>

namespace LrcParser {
namespace {

constexpr int kMaxMinuteDigits = 6;
// The longest stamp: minutes, ":ss" and ".fff". A '>' further on closes no
// stamp, so a text of many '<' is not searched to its end for each.
constexpr int kMaxStampChars = kMaxMinuteDigits + 7;
// An offset beyond a day is nonsense; it is kept to one so times stay sane.
constexpr qint64 kMaxOffsetMs = 24LL * 3600 * 1000;

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Reads up to `maxDigits` digits of `s` from `i` into `value`; how many.
int readDigits(QStringView s, qsizetype& i, int maxDigits, qint64& value) {
    int count = 0;
    value = 0;
    while (i < s.size() && isDigit(s[i]) && count <= maxDigits) {
        value = value * 10 + (s[i].unicode() - '0');
        ++i;
        ++count;
    }
    return count;
}

// "mm:ss", "mm:ss.f" (1 to 3 digits) or "mm:ss:ff" as milliseconds.
std::optional<qint64> parseStamp(QStringView s) {
    qsizetype i = 0;
    qint64 minutes = 0;
    const int minuteDigits = readDigits(s, i, kMaxMinuteDigits, minutes);
    if (minuteDigits == 0 || minuteDigits > kMaxMinuteDigits || i >= s.size() ||
        s[i] != QLatin1Char(':'))
        return std::nullopt;
    ++i;
    qint64 seconds = 0;
    const int secondDigits = readDigits(s, i, 2, seconds);
    if (secondDigits == 0 || secondDigits > 2 || seconds > 59)
        return std::nullopt;
    qint64 ms = (minutes * 60 + seconds) * 1000;
    if (i == s.size())
        return ms;
    if (s[i] != QLatin1Char('.') && s[i] != QLatin1Char(':'))
        return std::nullopt;
    ++i;
    qint64 fraction = 0;
    const int fractionDigits = readDigits(s, i, 3, fraction);
    if (fractionDigits == 0 || fractionDigits > 3 || i != s.size())
        return std::nullopt;
    for (int d = fractionDigits; d < 3; ++d)
        fraction *= 10;
    return ms + fraction;
}

// "[name:value]" with a name of letters: the name, else nothing.
std::optional<QStringView> tagName(QStringView content) {
    const qsizetype colon = content.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    const QStringView name = content.left(colon);
    for (QChar c : name) {
        if (!(c >= QLatin1Char('a') && c <= QLatin1Char('z')) &&
            !(c >= QLatin1Char('A') && c <= QLatin1Char('Z')))
            return std::nullopt;
    }
    return name;
}

std::optional<qint64> parseOffset(QStringView value) {
    QString digits = value.toString();
    digits.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    bool ok = false;
    const qint64 ms = digits.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return std::clamp(ms, -kMaxOffsetMs, kMaxOffsetMs);
}

// What the leading tags of one line held.
struct LineTags {
    QList<qint64> stamps;
    bool hadIdTag = false;
    std::optional<qint64> offset;
    QStringView text; // after the tags
};

LineTags readTags(QStringView line) {
    LineTags tags;
    qsizetype pos = 0;
    for (;;) {
        qsizetype start = pos;
        while (start < line.size() && line[start].isSpace())
            ++start;
        if (start >= line.size() || line[start] != QLatin1Char('['))
            break;
        const qsizetype close = line.indexOf(QLatin1Char(']'), start + 1);
        if (close < 0)
            break;
        const QStringView content = line.mid(start + 1, close - start - 1);
        if (const auto stamp = parseStamp(content)) {
            tags.stamps.append(*stamp);
        } else if (const auto name = tagName(content)) {
            tags.hadIdTag = true;
            if (name->compare(QLatin1String("offset"), Qt::CaseInsensitive) == 0)
                if (const auto offset = parseOffset(content.mid(name->size() + 1)))
                    tags.offset = offset;
        } else {
            break;
        }
        pos = close + 1;
    }
    tags.text = line.mid(pos);
    return tags;
}

// The line of `sung` at `stamp`. Word stamps are times in the song, written
// for the first of a line's stamps; a repeat (a chorus) sings its words as
// far after its own stamp.
LyricLine repeatedAt(const LyricLine& sung, qint64 stamp, qint64 firstStamp) {
    LyricLine line = sung;
    line.TimeMs = stamp;
    for (LyricWord& word : line.Words)
        word.TimeMs = std::max<qint64>(0, word.TimeMs + stamp - firstStamp);
    return line;
}

// Plain text keeps its inner empty lines but none at its ends.
QList<LyricLine> trimmedPlain(QList<LyricLine> lines) {
    while (!lines.isEmpty() && lines.last().Text.isEmpty())
        lines.removeLast();
    qsizetype first = 0;
    while (first < lines.size() && lines[first].Text.isEmpty())
        ++first;
    return lines.mid(first);
}

// A line's text without its word stamps, trimmed, and where each stamped
// word begins in it. Times are kept rising (a stamp earlier than the one
// before it counts from the earlier word), and a stamp at the very end (the
// last word's end) or one directly followed by another says nothing.
LyricLine withoutWordStamps(const QString& text) {
    LyricLine line;
    if (!text.contains(QLatin1Char('<'))) {
        line.Text = text.trimmed();
        return line;
    }
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == QLatin1Char('<')) {
            const qsizetype length =
                QStringView(text).mid(i + 1, kMaxStampChars + 1).indexOf(QLatin1Char('>'));
            const qsizetype close = i + 1 + length;
            const auto stamp =
                length >= 0 ? parseStamp(QStringView(text).mid(i + 1, length)) : std::nullopt;
            if (stamp) {
                if (!line.Words.isEmpty() && line.Words.last().Offset == out.size())
                    line.Words.removeLast();
                const qint64 floor = line.Words.isEmpty() ? 0 : line.Words.last().TimeMs;
                line.Words.append(LyricWord{out.size(), std::max(*stamp, floor)});
                i = close + 1;
                continue;
            }
        }
        out += text[i++];
    }
    line.Text = out.trimmed();
    // Offsets into the trimmed text. Of the stamps in the leading space the
    // last says when the text starts; those in the trailing space say nothing.
    qsizetype lead = 0;
    while (lead < out.size() && out[lead].isSpace())
        ++lead;
    QList<LyricWord> words;
    for (LyricWord word : std::as_const(line.Words)) {
        word.Offset = std::max<qsizetype>(0, word.Offset - lead);
        if (!words.isEmpty() && words.last().Offset == word.Offset)
            words.removeLast();
        if (word.Offset < line.Text.size())
            words.append(word);
    }
    line.Words = std::move(words);
    return line;
}

} // namespace

QString StripWordStamps(const QString& text) {
    return withoutWordStamps(text).Text;
}

Lyrics Parse(const QString& text) {
    Lyrics lyrics;
    QList<LyricLine> plain;
    qint64 offset = 0;
    qsizetype wordsLeft = kMaxWords;
    // Lines may end in CR LF, LF or a lone CR.
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (QStringView line : QStringView(lines).tokenize(QLatin1Char('\n'))) {
        const LineTags tags = readTags(line);
        if (tags.offset)
            offset = *tags.offset;
        if (!tags.stamps.isEmpty()) {
            LyricLine sung = withoutWordStamps(tags.text.toString());
            for (qint64 stamp : tags.stamps) {
                if (lyrics.Lines.size() >= kMaxLines)
                    break;
                if (sung.Words.size() > wordsLeft)
                    sung.Words.clear();
                wordsLeft -= sung.Words.size();
                lyrics.Lines.append(repeatedAt(sung, stamp, tags.stamps.first()));
            }
        } else if (!tags.hadIdTag && plain.size() < kMaxLines) {
            plain.append(LyricLine{0, StripWordStamps(line.toString()), {}});
        }
    }
    if (lyrics.Lines.isEmpty()) {
        lyrics.Lines = trimmedPlain(std::move(plain));
        return lyrics;
    }
    lyrics.Timed = true;
    for (LyricLine& line : lyrics.Lines) {
        line.TimeMs = std::max<qint64>(0, line.TimeMs - offset);
        for (LyricWord& word : line.Words)
            word.TimeMs = std::max<qint64>(0, word.TimeMs - offset);
    }
    std::stable_sort(lyrics.Lines.begin(), lyrics.Lines.end(),
                     [](const LyricLine& a, const LyricLine& b) { return a.TimeMs < b.TimeMs; });
    return lyrics;
}

} // namespace LrcParser
