#include "winsvc/LegacyText.h"

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace LegacyText {
namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openConverter(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    return IconvHandle(cd);
}

// Converts `in` with `cd`. On an invalid input sequence emits `replacement`
// and skips one input byte, so the rest of the text survives; without a
// replacement the conversion fails there instead.
std::optional<QByteArray> convert(iconv_t cd, const QByteArray& in,
                                  const std::optional<QByteArray>& replacement) {
    QByteArray out;
    out.reserve(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = size_t(in.size());
    char buffer[4096];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, qsizetype(sizeof buffer - dstLeft));
        if (rc != size_t(-1))
            break;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL (truncated sequence at the end).
        if (!replacement)
            return std::nullopt;
        out += *replacement;
        ++src;
        --srcLeft;
    }
    return out;
}

// `in` converted from `from`, or nothing at the first sequence that is
// invalid or cut off at the end.
std::optional<QString> convertExactly(const char* from, const QByteArray& in) {
    if (IsAscii(in))
        return QString::fromLatin1(in);
    IconvHandle cd = openConverter("UTF-8", from);
    if (!cd)
        return std::nullopt;
    const std::optional<QByteArray> out = convert(static_cast<iconv_t>(cd.get()), in, std::nullopt);
    if (!out)
        return std::nullopt;
    return QString::fromUtf8(*out);
}

} // namespace

std::optional<QString> ExactlyFromGb18030(const QByteArray& bytes) {
    return convertExactly("GB18030", bytes);
}

std::optional<QString> ExactlyFromBig5(const QByteArray& bytes) {
    return convertExactly("BIG5", bytes);
}

bool IsAscii(const QByteArray& bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

QString FromGb18030(const QByteArray& bytes) {
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes);
    IconvHandle cd = openConverter("UTF-8", "GB18030");
    if (!cd)
        return QString::fromLatin1(bytes);
    return QString::fromUtf8(
        *convert(static_cast<iconv_t>(cd.get()), bytes, QByteArray("\xEF\xBF\xBD")));
}

QByteArray ToGb18030(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (IsAscii(utf8))
        return utf8;
    IconvHandle cd = openConverter("GB18030", "UTF-8");
    if (!cd)
        return utf8;
    return *convert(static_cast<iconv_t>(cd.get()), utf8, QByteArray("?"));
}

} // namespace LegacyText
