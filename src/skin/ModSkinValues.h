#pragma once

#include "skin/SkinRect.h"

#include <QString>
#include <QtGlobal>

class Prompts;

// The value parsers of the skin description: rectangles, colours,
// alignments and flags as written in skin files.
namespace ModSkinValues {

// The horizontal alignment a skin value asks for; Unchanged leaves the
// target's alignment as it was.
enum class SkinAlign { Unchanged, Left, Right, Center };

// "left, top, right, bottom": each piece trimmed and read as a decimal number
// (a fraction rounds to nearest, halves to even). A missing piece, one that
// is not a number or one outside -32768..32767 leaves that field 0; pieces
// after the fourth are ignored.
SkinRect ParseRect(const QString& text);

// "#RRGGBB" as a COLORREF (0x00BBGGRR). Each pair is read as hexadecimal up
// to its first non-hexadecimal character; an empty or invalid pair gives 0.
// A text that does not start with "#" (the empty text included) is reported
// through `prompts` as the text followed by "不是正确的颜色格式！" and gives 0.
quint32 ParseSkinColor(const QString& text, Prompts& prompts);

// "left", "right" or "center" in any case; anything else is Unchanged.
SkinAlign ParseAlign(const QString& text);

// `current` with its horizontal part replaced as `align` asks (vertical
// flags kept); Unchanged returns `current`.
Qt::Alignment ApplyAlign(SkinAlign align, Qt::Alignment current);

// True exactly when the text in lower case is "true".
bool ParseFlag(const QString& text);

} // namespace ModSkinValues
