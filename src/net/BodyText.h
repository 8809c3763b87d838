#pragma once

#include <QByteArray>
#include <QString>

// Turning the raw bytes of a web page into text. Only two character sets
// exist here: the page names "utf-8" in a meta tag, or it is taken as
// gb2312, decoded as GBK (a superset, so every gb2312 page decodes the same).
// What the server says in its Content-Type header plays no part.
namespace BodyText {

enum class Charset { Gb2312, Utf8 };

// Scans every "<meta" (matched case-sensitively) up to its first ">"; a tag
// mentioning "utf-8" (any letter case) selects UTF-8, one mentioning "gb2312"
// selects gb2312, and the last tag that mentions either decides. No meta tag
// at all means gb2312, even for bytes that are valid UTF-8.
//
// The scan runs on the bytes: the markers are ASCII, and in GBK a "<" is
// never the second byte of a character, so no tag is found inside one.
Charset ChooseCharset(const QByteArray& body);

// The body decoded in the character set its meta tags choose. A UTF-8 byte
// order mark is dropped; bytes that are invalid in the chosen set become
// U+FFFD and the rest of the text survives.
QString Decode(const QByteArray& body);

} // namespace BodyText
