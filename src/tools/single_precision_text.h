#pragma once
// The text a converted data file holds for one single-precision value: at most seven
// significant digits, a blank before a value that is not negative and a minus sign before
// one that is, no "0" before the decimal point (0.5 is " .5", -0.25 is "-.25"), plain
// digits for 1e-4 <= |v| < 1e7 and otherwise a mantissa with a signed two-digit exponent
// (" 1.5E+07", " 1E-05"). A value that seven digits cannot carry gets the few more digits
// it needs, so the file always reads back to the very same values.

#include <string>

namespace nikra {

void appendSingleText(std::string &out, float value);
std::string singleText(float value);

// A whole number the same way: " 12", "-3"; every digit is kept.
void appendWholeText(std::string &out, long long value);

} // namespace nikra
