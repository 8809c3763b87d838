#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// Where a word (or syllable) of a line begins in its text and when it is
// sung: from then on it counts as sung.
struct LyricWord {
    qsizetype Offset = 0;
    qint64 TimeMs = 0;

    friend bool operator==(const LyricWord&, const LyricWord&) = default;
};

// One line of lyrics: when it is sung (milliseconds from the start of the
// item) and its text. An empty text is a pause between verses. Words holds the
// word times of a karaoke line, by rising offset and time, every offset inside
// the text; it is empty for a line sung as a whole.
struct LyricLine {
    qint64 TimeMs = 0;
    QString Text;
    QList<LyricWord> Words;

    friend bool operator==(const LyricLine&, const LyricLine&) = default;

    // How many characters of Text are sung at `timeMs` (the line being
    // current): all of a line without word times; else up to the first word
    // still to come, the text before the first word stamp counting as sung.
    qsizetype SungLength(qint64 timeMs) const;
    // When the next word after `timeMs` starts; -1 when none is left.
    qint64 NextWordMs(qint64 timeMs) const;
};

// The lyrics of one item. Timed lyrics hold their lines sorted by time (lines
// of equal time in the order they were written); plain lyrics hold the lines
// of an unsynchronized text, every TimeMs 0.
struct Lyrics {
    bool Timed = false;
    QList<LyricLine> Lines;
    // Where they came from (a file's path, or a description of the tag), for
    // messages.
    QString Source;

    bool IsEmpty() const { return Lines.isEmpty(); }

    // The index of the line being sung at `timeMs`: the last line whose time
    // has come, -1 before the first (and always for plain lyrics).
    int LineAt(qint64 timeMs) const;

    // The text alone, one line each, pauses as empty lines.
    QString PlainText() const;
};
