#include "skin/ModSkinValues.h"

#include "winsvc/DisplayText.h"
#include "winsvc/Prompts.h"

#include <QLocale>
#include <QStringList>
#include <cmath>
#include <limits>
#include <optional>

namespace ModSkinValues {
namespace {

// A decimal number as a 16-bit value, or nothing.
std::optional<int> toInt16(const QString& piece) {
    const QString text = piece.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    for (QChar c : text) {
        // Decimal notation only: digits, one sign, one point, an exponent.
        if (!c.isDigit() && c != u'-' && c != u'+' && c != u'.' && c != u'e' && c != u'E')
            return std::nullopt;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<qint16>::min() ||
        rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return int(rounded);
}

// The hexadecimal value of `pair` up to its first non-hexadecimal character.
quint32 hexPrefix(QStringView pair) {
    quint32 value = 0;
    for (QChar c : pair) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        if (digit < 0)
            break;
        value = value * 16 + quint32(digit);
    }
    return value;
}

} // namespace

SkinRect ParseRect(const QString& text) {
    const QStringList pieces = text.split(QLatin1Char(','));
    SkinRect rect;
    int* const targets[4] = {&rect.Left, &rect.Top, &rect.Right, &rect.Bottom};
    for (qsizetype i = 0; i < 4 && i < pieces.size(); ++i) {
        if (const std::optional<int> value = toInt16(pieces[i]))
            *targets[i] = *value;
    }
    return rect;
}

quint32 ParseSkinColor(const QString& text, Prompts& prompts) {
    if (!text.startsWith(QLatin1Char('#'))) {
        prompts.MsgBox(DisplayText::Quote(text) + QStringLiteral("不是正确的颜色格式！"));
        return 0;
    }
    const QStringView view(text);
    const quint32 red = hexPrefix(view.mid(1, 2));
    const quint32 green = hexPrefix(view.mid(3, 2));
    const quint32 blue = hexPrefix(view.mid(5, 2));
    return red + green * 256 + blue * 65536;
}

SkinAlign ParseAlign(const QString& text) {
    const QString word = text.toLower();
    if (word == QLatin1String("left"))
        return SkinAlign::Left;
    if (word == QLatin1String("right"))
        return SkinAlign::Right;
    if (word == QLatin1String("center"))
        return SkinAlign::Center;
    return SkinAlign::Unchanged;
}

Qt::Alignment ApplyAlign(SkinAlign align, Qt::Alignment current) {
    Qt::Alignment horizontal;
    switch (align) {
    case SkinAlign::Unchanged:
        return current;
    case SkinAlign::Left:
        horizontal = Qt::AlignLeft;
        break;
    case SkinAlign::Right:
        horizontal = Qt::AlignRight;
        break;
    case SkinAlign::Center:
        horizontal = Qt::AlignHCenter;
        break;
    }
    return (current & ~Qt::AlignHorizontal_Mask) | horizontal;
}

bool ParseFlag(const QString& text) {
    return text.toLower() == QLatin1String("true");
}

} // namespace ModSkinValues
