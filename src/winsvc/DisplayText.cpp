#include "winsvc/DisplayText.h"

namespace DisplayText {

namespace {

bool isBidiControl(char16_t c) {
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E ||
           c == 0x200F || c == 0x061C;
}

} // namespace

QString Quote(const QString& value, int limit) {
    if (limit < 1 || value.size() <= limit)
        return value;
    int cut = limit;
    if (value.at(cut - 1).isHighSurrogate())
        --cut;
    return value.left(cut) + QChar(0x2026);
}

QString ForTerminal(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\t' || c == u'\n' || c == u'\r') {
            if (!clean.endsWith(QLatin1Char(' ')))
                clean += QLatin1Char(' ');
            continue;
        }
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || isBidiControl(c))
            continue;
        clean += ch;
    }
    return clean;
}

} // namespace DisplayText
