#pragma once

#include "lyrics/Lyrics.h"

#include <QString>

// Reading the text of an LRC file (already decoded) into lyrics.
//
// A line starts with one or more time stamps, "[mm:ss]", "[mm:ss.x]" to
// "[mm:ss.xxx]" or "[mm:ss:xx]" (hundredths), minutes of any length up to six
// digits; each stamp makes one line with the text after the stamps. ID tags
// ("[ar:…]", "[ti:…]", "[al:…]", "[by:…]", "[length:…]", "[re:…]", "[ve:…]" and
// any other "[name:…]") are never lines; "[offset:±ms]" (spaces allowed)
// moves every line earlier by that many milliseconds (later when negative).
// Word stamps "<mm:ss.xx>" inside a text are not shown: each gives the time
// the text after it is sung (LyricLine::Words; the offset moves them too). A
// stamped line without text is a pause. Text without a stamp is ignored in a file with stamps; a
// file without a single stamp is plain text, its lines as written (ID tags
// left out).
namespace LrcParser {

// At most this many lines are kept; a file cannot make more than this.
constexpr int kMaxLines = 100000;
// At most this many word times in all (a line repeated by many stamps holds
// its words each time); the lines past it are sung whole.
constexpr int kMaxWords = 200000;

Lyrics Parse(const QString& text);

// `text` without its word stamps, trimmed.
QString StripWordStamps(const QString& text);

} // namespace LrcParser
