#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Conversions between text and the legacy 8-bit Chinese encodings, through
// iconv. GB18030 is a superset of GBK (code page 936) with the same bytes for
// every GBK character, so it is used both to read GBK/GB2312 text and to write
// 8-bit text files without ever losing a character.
namespace LegacyText {

// Decodes GBK / GB2312 / GB18030 bytes. Bytes that are not valid are kept as
// U+FFFD rather than dropping the rest of the text.
QString FromGb18030(const QByteArray& bytes);

// Encodes text as GB18030 (every Unicode character has a GB18030 form).
QByteArray ToGb18030(const QString& text);

// The text of `bytes` when every byte sequence is valid in GB18030 (or in
// Big5); nothing as soon as one is not. Lets a reader decide an encoding by
// whether the whole text fits it rather than by guessing from a few bytes.
std::optional<QString> ExactlyFromGb18030(const QByteArray& bytes);
std::optional<QString> ExactlyFromBig5(const QByteArray& bytes);

// True when every byte is 7-bit ASCII.
bool IsAscii(const QByteArray& bytes);

} // namespace LegacyText
