// The edit of mimeapps.list on arbitrary bytes: it must never crash, the
// result must name the handler exactly once in its group, every line that
// is not the scheme's own must come through byte for byte, and a second
// edit must change nothing.
#include "net/UrlRegistration.h"

#include <QByteArrayList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool IsSchemeLine(const QByteArray& line) {
    const qsizetype eq = line.indexOf('=');
    return eq > 0 && line.left(eq).trimmed() == "x-scheme-handler/melodeck";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray once = UrlRegistration::WithDefaultHandler(bytes);
    if (!once.contains("x-scheme-handler/melodeck=melodeck.desktop\n") || !once.endsWith('\n'))
        std::abort();
    if (UrlRegistration::WithDefaultHandler(once) != once)
        std::abort();
    // Every other line of the input is still there, in order.
    QByteArrayList kept;
    for (const QByteArray& line : bytes.split('\n'))
        if (!IsSchemeLine(line))
            kept << line;
    qsizetype at = 0;
    const QByteArrayList out = once.split('\n');
    for (const QByteArray& line : kept) {
        while (at < out.size() && out[at] != line)
            ++at;
        if (at == out.size() && !line.isEmpty())
            std::abort();
    }
    return 0;
}
