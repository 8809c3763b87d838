// Times the charset choice of a fetched page over bodies made of one
// unclosed "<meta" repeated, the worst case of a tag scan, at growing sizes
// up to the fetch's 4 MiB cap: the time should grow with the size, not
// with its square.

#include "net/BodyText.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <cstdio>

int main() {
    for (const qsizetype bytes : {qsizetype(256) << 10, qsizetype(1) << 20, qsizetype(4) << 20}) {
        const QByteArray body = QByteArray("<meta").repeated(bytes / 5);
        QElapsedTimer clock;
        clock.start();
        const BodyText::Charset charset = BodyText::ChooseCharset(body);
        std::printf("ChooseCharset, %lld bytes of \"<meta\": %.2f ms (%s)\n",
                    static_cast<long long>(body.size()), double(clock.nsecsElapsed()) / 1e6,
                    charset == BodyText::Charset::Utf8 ? "utf-8" : "gb2312");
        const QByteArray closed = QByteArray("<meta charset=utf-8>").repeated(bytes / 20);
        clock.restart();
        BodyText::ChooseCharset(closed);
        std::printf("ChooseCharset, %lld bytes of closed tags: %.2f ms\n",
                    static_cast<long long>(closed.size()), double(clock.nsecsElapsed()) / 1e6);
    }
    return 0;
}
