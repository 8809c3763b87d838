#pragma once

#include <QByteArray>
#include <QString>

// The characters of a lyrics file's bytes. The encoding is the one the
// whole text is valid in, tried in this order: a byte order mark (UTF-8,
// UTF-16 LE or BE), UTF-8, then the two Chinese 8-bit encodings. Most Big5
// text is also valid GBK, so when both fit, the text is GBK if all its
// two-byte characters lie in GB2312's block (the characters GBK text is
// written in) and Big5 otherwise: Big5's everyday characters use trail bytes
// below 0xA1, which in GBK are rare extension characters. Bytes valid in none
// are read as GBK with U+FFFD for what is broken.
namespace LyricsText {

enum class Encoding { Utf8, Utf16, Gb18030, Big5, Broken };

struct Decoded {
    QString Text;
    Encoding Found = Encoding::Broken;
};

Decoded Decode(const QByteArray& bytes);

} // namespace LyricsText
