#include "net/BodyText.h"

#include "winsvc/LegacyText.h"

#include <QByteArrayView>

namespace BodyText {

Charset ChooseCharset(const QByteArray& body) {
    static constexpr QByteArrayView kMeta("<meta");
    Charset charset = Charset::Gb2312;
    qsizetype at = body.indexOf(kMeta);
    // The first ">" at or after the last place looked from; it only moves
    // forward, so a body of many unclosed tags is still read once, not once
    // per tag. -1: there is none before the end.
    qsizetype closing = body.indexOf('>', at < 0 ? 0 : at);
    while (at >= 0) {
        const qsizetype start = at + kMeta.size();
        const qsizetype next = body.indexOf(kMeta, start);
        // A tag's text ends at its first ">", or with the piece it is in
        // when the page never closes it.
        const qsizetype pieceEnd = next < 0 ? body.size() : next;
        if (closing >= 0 && closing < start)
            closing = body.indexOf('>', start);
        qsizetype end = closing;
        if (end < 0 || end > pieceEnd)
            end = pieceEnd;
        const QByteArray tag = body.mid(start, end - start).toLower();
        if (tag.contains("utf-8"))
            charset = Charset::Utf8;
        else if (tag.contains("gb2312"))
            charset = Charset::Gb2312;
        at = next;
    }
    return charset;
}

QString Decode(const QByteArray& body) {
    // A UTF-8 byte-order mark says more than any default: read as GB18030 it
    // would become two stray characters in front of the text.
    const bool utf8Mark = body.startsWith("\xEF\xBB\xBF");
    if (!utf8Mark && ChooseCharset(body) == Charset::Gb2312)
        return LegacyText::FromGb18030(body);
    QByteArrayView bytes(body);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    return QString::fromUtf8(bytes);
}

} // namespace BodyText
