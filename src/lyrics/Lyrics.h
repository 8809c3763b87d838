#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One line of lyrics: when it is sung (milliseconds from the start of the
// item) and its text. An empty text is a pause between verses.
struct LyricLine {
    qint64 TimeMs = 0;
    QString Text;

    friend bool operator==(const LyricLine&, const LyricLine&) = default;
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
