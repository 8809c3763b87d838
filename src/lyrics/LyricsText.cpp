#include "lyrics/LyricsText.h"

#include "winsvc/LegacyText.h"

#include <QStringDecoder>

namespace LyricsText {
namespace {

std::optional<QString> exactly(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Whether every two-byte character of GBK text lies in GB2312's block
// (both bytes 0xA1 and above). Four-byte GB18030 sequences count as outside.
bool onlyGb2312(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80)
            continue;
        if (i + 1 >= bytes.size())
            return false;
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        if (lead < 0xA1 || trail < 0xA1)
            return false;
        ++i;
    }
    return true;
}

} // namespace

Decoded Decode(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return {QString::fromUtf8(QByteArrayView(bytes).sliced(3)), Encoding::Utf8};
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const auto encoding =
            bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
        QStringDecoder decoder(encoding);
        return {decoder.decode(QByteArrayView(bytes).sliced(2)), Encoding::Utf16};
    }
    if (auto text = exactly(QStringConverter::Utf8, bytes))
        return {*std::move(text), Encoding::Utf8};
    std::optional<QString> gbk = LegacyText::ExactlyFromGb18030(bytes);
    std::optional<QString> big5 = LegacyText::ExactlyFromBig5(bytes);
    if (gbk && big5)
        return onlyGb2312(bytes) ? Decoded{*std::move(gbk), Encoding::Gb18030}
                                 : Decoded{*std::move(big5), Encoding::Big5};
    if (gbk)
        return {*std::move(gbk), Encoding::Gb18030};
    if (big5)
        return {*std::move(big5), Encoding::Big5};
    return {LegacyText::FromGb18030(bytes), Encoding::Broken};
}

} // namespace LyricsText
