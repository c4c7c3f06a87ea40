#pragma once
// Numbers written with the platform's decimal patterns. A value is taken as its decimal
// text to 15 significant digits, as the platform's number formatting sees it, and rounded
// there with halves away from zero (0.125 to two places is "0.13"); a value that rounds to
// zero is written without a minus sign.

#include <QString>

namespace nikra {

// At least minDecimals and at most maxDecimals digits after the point (trailing zeros
// beyond the minimum dropped); leadingZero: a zero integer part is written as "0" (else
// nothing, as "#.0" writes 0 as ".0").
QString formatDecimal(double value, int minDecimals, int maxDecimals, bool leadingZero);

// Axis numbers as the patterns "######0", "#####0.0", .. "0.000000" write them: the integer
// part without leading zeros (at least one digit), exactly `decimals` digits after the
// point (none for 0), no grouping.
inline QString numberText(double value, int decimals) { return formatDecimal(value, decimals, decimals, true); }

} // namespace nikra
