#include "tools/single_precision_text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace nikra {

namespace {

// Whether the text reads back to `value` the way the data files are read: as a double,
// refused beyond the single range, then rounded to single precision.
bool readsBackTo(const char *begin, const char *end, float value)
{
    double d = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, d, std::chars_format::general);
    if (ec != std::errc() || ptr != end || std::fabs(d) > double(std::numeric_limits<float>::max()))
        return false;
    return float(d) == value;
}

// Takes "d.ddddde+XX" (or "de+XX") apart into its digits, without trailing zeros, and its
// exponent.
void splitScientific(const char *begin, const char *end, char *mantissa, int &count, int &exponent)
{
    count = 0;
    const char *p = begin;
    for (; *p != 'e'; ++p) {
        if (*p != '.')
            mantissa[count++] = *p;
    }
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, exponent);
    while (count > 1 && mantissa[count - 1] == '0')
        --count;
}

// The magnitude rounded to 7 significant digits, or more when 7 would change it; 17 digits
// always carry a single value exactly, so the loop ends there at the latest.
void roundedDigits(float magnitude, char *mantissa, int &count, int &exponent)
{
    char buf[40];
    char *end = buf;
    for (int digits = 7;; ++digits) {
        end = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, digits - 1).ptr;
        if (digits >= 17 || readsBackTo(buf, end, magnitude))
            break;
    }
    splitScientific(buf, end, mantissa, count, exponent);
}

// The quick way to the same digits: the shortest digits that give the value back are its
// rounding to 7 digits whenever there are at most 7 of them and the spacing of single values
// there is well below a unit of the seventh digit (two 7-digit numbers cannot then both lie
// within half a spacing of the value). They must still read back the way the files are read.
bool shortestIsSevenDigitRounding(float magnitude, char *mantissa, int &count, int &exponent)
{
    char buf[40];
    char *end = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific).ptr;
    splitScientific(buf, end, mantissa, count, exponent);
    if (count > 7)
        return false;
    const float next = std::nextafter(magnitude, std::numeric_limits<float>::infinity());
    const double spacing = double(next) - double(magnitude);
    const double seventhDigit = std::pow(10.0, exponent - 6);
    return std::isfinite(next) && 2 * spacing < seventhDigit && readsBackTo(buf, end, magnitude);
}

} // namespace

void appendSingleText(std::string &out, float value)
{
    out += std::signbit(value) && value != 0 ? '-' : ' ';
    const float magnitude = std::fabs(value);
    if (magnitude == 0) {
        out += '0';
        return;
    }
    if (!std::isfinite(magnitude)) {
        // Never written by the conversion, which refuses such a value before it writes.
        out += std::isinf(magnitude) ? "inf" : "nan";
        return;
    }

    char mantissa[20];
    int count = 0;
    int exponent = 0;
    if (!shortestIsSevenDigitRounding(magnitude, mantissa, count, exponent))
        roundedDigits(magnitude, mantissa, count, exponent);

    if (exponent >= -4 && exponent < 7) {
        if (exponent >= 0) {
            for (int i = 0; i <= exponent; ++i)
                out += i < count ? mantissa[i] : '0';
            if (count > exponent + 1) {
                out += '.';
                out.append(mantissa + exponent + 1, std::size_t(count - exponent - 1));
            }
        } else {
            out += '.';
            out.append(std::size_t(-exponent - 1), '0');
            out.append(mantissa, std::size_t(count));
        }
        return;
    }
    out += mantissa[0];
    if (count > 1) {
        out += '.';
        out.append(mantissa + 1, std::size_t(count - 1));
    }
    out += 'E';
    out += exponent < 0 ? '-' : '+';
    const int shown = std::abs(exponent);
    if (shown < 10)
        out += '0';
    out += std::to_string(shown);
}

std::string singleText(float value)
{
    std::string s;
    appendSingleText(s, value);
    return s;
}

void appendWholeText(std::string &out, long long value)
{
    if (value >= 0)
        out += ' ';
    out += std::to_string(value);
}

} // namespace nikra
