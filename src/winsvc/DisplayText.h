#pragma once

#include <QString>

// Text from outside the program (a tag, a skin value, a path, a link) made
// fit to be shown to a person.
namespace DisplayText {

// How many characters of a quoted value a message shows at most.
constexpr int kQuoteLimit = 200;

// `value` cut to at most `limit` characters, with "…" in place of the rest,
// so that a message quoting a huge value stays readable (and quick to lay
// out). A surrogate pair is never split.
QString Quote(const QString& value, int limit = kQuoteLimit);

// `text` without control characters (C0, DEL, C1, and the bidirectional
// embedding, override and isolate marks), so that what reaches a terminal can
// neither move its cursor, change its title nor pretend to be something else.
// Tabs and line breaks inside the text become single spaces.
QString ForTerminal(const QString& text);

} // namespace DisplayText
