#include "value_reader.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <limits>

namespace nikra {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool endsNumber(char c) { return isBlank(c) || c == ',' || isLineEnd(c); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A number too small for a double (1e-400) is zero; one too large is out of range.
bool isUnderflow(std::string_view token)
{
    const auto e = token.find_first_of("eE");
    return e != std::string_view::npos && e + 1 < token.size() && token[e + 1] == '-';
}

// The powers of ten a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common case of digits with a decimal point and at most 15 digits in all, without an
// exponent: read as the whole number of its digits divided by a power of ten. Both are
// exact doubles and the division rounds correctly, so this is the very value from_chars
// gives, several times faster. False leaves anything else to from_chars.
bool readPlainDecimal(std::string_view text, double &out, std::size_t &length)
{
    std::uint64_t digits = 0;
    int count = 0;
    int fraction = 0;
    std::size_t at = 0;
    while (at < text.size() && isDigit(text[at]) && count <= 15) {
        digits = digits * 10 + std::uint64_t(text[at] - '0');
        ++count;
        ++at;
    }
    if (count == 0)
        return false;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && isDigit(text[at]) && count <= 15) {
            digits = digits * 10 + std::uint64_t(text[at] - '0');
            ++count;
            ++fraction;
            ++at;
        }
    }
    if (count > 15)
        return false;
    if (at < text.size() && (isDigit(text[at]) || text[at] == '.' || text[at] == 'e' || text[at] == 'E'))
        return false;
    out = double(digits) / kExactPowersOfTen[fraction];
    length = at;
    return true;
}

// Parses the number at the start of text; `length` receives how far it reaches. The caller
// checks that a delimiter follows, so "12mm" and "1.2.3" are not numbers.
ReadStatus parseNumber(std::string_view text, double &out, std::size_t &length)
{
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // from_chars would take "inf" and "nan"; a number must start with a digit or a point.
    if (at >= text.size() || !(isDigit(text[at]) || text[at] == '.')) {
        length = at;
        return ReadStatus::NotNumber;
    }
    double value = 0;
    const char *begin = text.data() + at;
    if (readPlainDecimal(text.substr(at), value, length)) {
        length += at;
        out = negative ? -value : value;
        return ReadStatus::Ok;
    }
    const auto [ptr, ec] = std::from_chars(begin, text.data() + text.size(), value, std::chars_format::general);
    length = std::size_t(ptr - text.data());
    if (ec == std::errc::result_out_of_range) {
        if (!isUnderflow(std::string_view(begin, std::size_t(ptr - begin))))
            return ReadStatus::OutOfRange;
        value = 0;
    } else if (ec != std::errc()) {
        return ReadStatus::NotNumber;
    }
    out = negative ? -value : value;
    return ReadStatus::Ok;
}

} // namespace

void ValueReader::skipBlanks()
{
    while (pos_ < s_.size() && isBlank(s_[pos_]))
        ++pos_;
}

bool ValueReader::atLineEnd() const { return pos_ < s_.size() && isLineEnd(s_[pos_]); }

void ValueReader::takeLineEnd()
{
    if (s_[pos_] == '\r' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '\n')
        ++pos_;
    ++pos_;
    ++line_;
}

void ValueReader::takeDelimiter()
{
    skipBlanks();
    if (pos_ >= s_.size())
        return;
    if (s_[pos_] == ',')
        ++pos_;
    else if (atLineEnd())
        takeLineEnd();
}

ReadStatus ValueReader::readDouble(double &out)
{
    skipBlanks();
    if (pos_ >= s_.size())
        return ReadStatus::PastEnd;
    if (s_[pos_] == ',') {  // an empty field
        ++pos_;
        out = 0;
        return ReadStatus::Ok;
    }
    if (atLineEnd()) {
        takeLineEnd();
        out = 0;
        return ReadStatus::Ok;
    }
    std::size_t length = 0;
    ReadStatus status = parseNumber(s_.substr(pos_), out, length);
    pos_ += length;
    if (pos_ < s_.size() && !endsNumber(s_[pos_])) {
        // Something glued to the number: the whole field is not a number.
        status = ReadStatus::NotNumber;
        while (pos_ < s_.size() && !endsNumber(s_[pos_]))
            ++pos_;
    }
    takeDelimiter();
    return status;
}

ReadStatus ValueReader::readSingle(float &out)
{
    double v = 0;
    const ReadStatus status = readDouble(v);
    if (status != ReadStatus::Ok)
        return status;
    if (std::fabs(v) > double(std::numeric_limits<float>::max()))
        return ReadStatus::OutOfRange;
    out = float(v);
    return ReadStatus::Ok;
}

namespace {

// A whole number of type T: the nearest one, halves to even, as the files have always been
// read ("3.0" is 3); outside T's range it does not fit.
template <class T>
ReadStatus toWhole(ReadStatus status, double v, T &out)
{
    if (status != ReadStatus::Ok)
        return status;
    const double whole = std::nearbyint(v);
    if (whole < std::numeric_limits<T>::min() || whole > std::numeric_limits<T>::max())
        return ReadStatus::OutOfRange;
    out = T(whole);
    return ReadStatus::Ok;
}

} // namespace

ReadStatus ValueReader::readInt16(std::int16_t &out)
{
    double v = 0;
    const ReadStatus status = readDouble(v);
    return toWhole(status, v, out);
}

ReadStatus ValueReader::readInt32(std::int32_t &out)
{
    double v = 0;
    const ReadStatus status = readDouble(v);
    return toWhole(status, v, out);
}

ReadStatus ValueReader::readText(QString &out)
{
    skipBlanks();
    if (pos_ >= s_.size())
        return ReadStatus::PastEnd;
    std::size_t start = pos_;
    std::size_t end = pos_;
    if (s_[pos_] == '"') {
        start = ++pos_;
        while (pos_ < s_.size() && s_[pos_] != '"' && !isLineEnd(s_[pos_]))
            ++pos_;
        end = pos_;
        if (pos_ < s_.size() && s_[pos_] == '"')
            ++pos_;
        // Anything between the closing quote and the next comma or line end is dropped.
        while (pos_ < s_.size() && s_[pos_] != ',' && !isLineEnd(s_[pos_]))
            ++pos_;
    } else {
        while (pos_ < s_.size() && s_[pos_] != ',' && !isLineEnd(s_[pos_]))
            ++pos_;
        end = pos_;
    }
    out = QString::fromUtf8(s_.data() + start, qsizetype(end - start));
    if (pos_ < s_.size()) {
        if (s_[pos_] == ',')
            ++pos_;
        else
            takeLineEnd();
    }
    return ReadStatus::Ok;
}

bool ValueReader::skipLine()
{
    if (pos_ >= s_.size())
        return false;
    while (pos_ < s_.size() && !isLineEnd(s_[pos_]))
        ++pos_;
    if (pos_ < s_.size())
        takeLineEnd();
    return true;
}

int ValueReader::lineCount() const
{
    int lines = 0;
    for (std::size_t i = 0; i < s_.size(); ++i) {
        if (s_[i] == '\n' || (s_[i] == '\r' && !(i + 1 < s_.size() && s_[i + 1] == '\n')))
            ++lines;
    }
    if (!s_.empty() && !isLineEnd(s_.back()))
        ++lines;
    return lines;
}

bool ValueReader::hasText() const
{
    for (std::size_t i = pos_; i < s_.size(); ++i) {
        if (!isBlank(s_[i]) && !isLineEnd(s_[i]))
            return true;
    }
    return false;
}

bool holdsWholeValue(std::string_view text, std::size_t at)
{
    const std::size_t n = text.size();
    while (at < n && isBlank(text[at]))
        ++at;
    if (at < n && !endsNumber(text[at])) {
        while (at < n && !endsNumber(text[at]))
            ++at;
        while (at < n && isBlank(text[at]))
            ++at;
    }
    if (at >= n)
        return false;
    return text[at] != '\r' || at + 1 < n;
}

} // namespace nikra
