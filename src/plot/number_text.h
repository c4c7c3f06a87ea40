#pragma once
// Axis numbers as the patterns "######0", "#####0.0", .. "0.000000" write them: the integer
// part without leading zeros (at least one digit), a point and exactly `decimals` digits
// (none for 0), a minus sign for a negative value, no grouping. The value is taken as its
// decimal text to 15 significant digits, as the platform's number formatting sees it, and
// rounded there with halves away from zero (0.125 to two places is "0.13"); a value that
// rounds to zero is written without a minus sign.

#include <QString>

namespace nikra {

QString numberText(double value, int decimals);

} // namespace nikra
