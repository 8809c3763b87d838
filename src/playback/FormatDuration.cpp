#include "playback/FormatDuration.h"

#include <cmath>
#include <limits>

int RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return 0;
    const double r = std::nearbyint(value); // default rounding mode: halves to even
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

QString FormatDuration(double seconds) {
    if (!std::isfinite(seconds) || seconds < 0)
        seconds = 0;
    const long long whole = std::llround(std::nearbyint(seconds));
    return QStringLiteral("%1:%2")
        .arg(whole / 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}
