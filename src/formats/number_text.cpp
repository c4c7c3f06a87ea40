#include "formats/number_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace nikra {

QString formatDecimal(double value, int minDecimals, int maxDecimals, bool leadingZero)
{
    if (!std::isfinite(value))
        value = 0;
    minDecimals = std::max(0, minDecimals);
    const int decimals = std::max(minDecimals, maxDecimals);
    // d.dddddddddddddde+XX: fifteen significant digits and the exponent of the first.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, 14);
    const std::string sci(buf, res.ptr);
    std::string digits;
    std::size_t e = sci.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (sci[i] != '.')
            digits += sci[i];
    }
    const int exponent = std::stoi(sci.substr(e + 1));
    auto digitAt = [&](int place) {  // the digit with place value 10^place
        const int k = exponent - place;
        return (k >= 0 && k < int(digits.size())) ? digits[std::size_t(k)] - '0' : 0;
    };

    // The kept digits, from the highest place down to 10^-decimals.
    std::string kept;
    for (int place = std::max(exponent, 0); place >= -decimals; --place)
        kept += char('0' + digitAt(place));
    if (digitAt(-decimals - 1) >= 5) {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept[std::size_t(i)] == '9')
            kept[std::size_t(i--)] = '0';
        if (i >= 0)
            ++kept[std::size_t(i)];
        else
            kept.insert(kept.begin(), '1');
    }
    std::string integer = kept.substr(0, kept.size() - std::size_t(decimals));
    std::string fraction = kept.substr(kept.size() - std::size_t(decimals));
    while (int(fraction.size()) > minDecimals && fraction.back() == '0')
        fraction.pop_back();
    const std::size_t firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? (leadingZero ? "0" : "") : integer.substr(firstNonZero);

    const bool zero = kept.find_first_not_of('0') == std::string::npos;
    std::string out = (value < 0 && !zero) ? "-" : "";
    out += integer;
    if (!fraction.empty())
        out += "." + fraction;
    return QString::fromLatin1(out.c_str());
}

} // namespace nikra
