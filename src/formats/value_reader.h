#pragma once
// Sequential reading of comma-separated values, the way Format Data and Graph Data files
// have always been read:
//  - a field ends at a comma or at a line end (CR LF, a lone CR or a lone LF);
//  - a number also ends at a blank; after it blanks are skipped and at most one comma or
//    one line end is taken, so "1 2", "1 , 2" and "1,2" read alike;
//  - an empty numeric field reads as 0; a leading "+" is a sign; "inf", "nan" and other
//    text are not numbers;
//  - a text field that opens with a double quote runs to the closing quote and may hold
//    commas; otherwise it runs to the next comma or line end;
//  - skipping a line reads up to and including the next line end from wherever the
//    reader stands, so groups of values may run over line ends.
// The reader scans UTF-8 bytes and never goes through the C locale.

#include <QString>

#include <cstdint>
#include <string_view>

namespace nikra {

enum class ReadStatus {
    Ok,
    NotNumber,   // the field holds something that is not a decimal number
    OutOfRange,  // a number outside the range of the value's type
    PastEnd,     // nothing left to read
};

class ValueReader {
public:
    explicit ValueReader(std::string_view utf8) : s_(utf8) {}

    ReadStatus readDouble(double &out);
    ReadStatus readSingle(float &out);                 // |value| within single precision
    ReadStatus readInt16(std::int16_t &out);           // nearest whole number, halves to even
    ReadStatus readInt32(std::int32_t &out);
    ReadStatus readText(QString &out);

    // Reads past the next line end; false when the reader already stands at the end.
    bool skipLine();

    // True while anything but blanks and line ends remains.
    bool hasText() const;

    // The line (from 1) the reader stands on.
    int line() const { return line_; }
    // How many lines the text has (a last line without a line end counts).
    int lineCount() const;

    std::size_t remainingBytes() const { return s_.size() - pos_; }

    // For text read in pieces: where the reader stands, and the same reader moved onto a
    // new piece of text (standing at pos in it), its line count kept.
    std::size_t position() const { return pos_; }
    void moveTo(std::string_view utf8, std::size_t pos)
    {
        s_ = utf8;
        pos_ = pos;
    }

private:
    void skipBlanks();
    bool atLineEnd() const;
    void takeLineEnd();
    void takeDelimiter();  // blanks, then at most one comma or one line end

    std::string_view s_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

// True when text from `at` holds all that reading the next value looks at: the blanks
// before it, the value (or an empty field), the blanks after it and what ends it, with the
// byte after a CR (a CR LF is one line end). Text read in pieces is extended until it does.
bool holdsWholeValue(std::string_view text, std::size_t at);

} // namespace nikra
