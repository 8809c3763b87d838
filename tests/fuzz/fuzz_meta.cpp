// Fuzz target for reading a web page's body: the meta-tag scan that picks the
// character set, and the decoding in it.
#include "net/BodyText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    const BodyText::Charset charset = BodyText::ChooseCharset(body);
    // Without any "<meta" the choice is always gb2312.
    if (!body.contains("<meta") && charset != BodyText::Charset::Gb2312)
        std::abort();
    const QString text = BodyText::Decode(body);
    // Every byte becomes at most one UTF-16 code unit in either decoding.
    if (text.size() > body.size())
        std::abort();
    if (!body.isEmpty() && text.isEmpty() && !body.startsWith("\xEF\xBB\xBF"))
        std::abort();
    return 0;
}
