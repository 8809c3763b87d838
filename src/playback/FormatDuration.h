#pragma once

#include <QString>

// A length in seconds as minutes:seconds text with at least two digits each
// ("00:00", "03:05", "100:07"); rounded to whole seconds, halves to even.
// Negative and non-finite lengths give "00:00".
QString FormatDuration(double seconds);

// Rounds to the nearest integer, halves to even, saturating at the int range.
int RoundHalfEven(double value);
