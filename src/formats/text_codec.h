#pragma once
// The encodings a user's text files come in, and the one rule every reader decodes by. A
// file is UTF-8 (a byte-order mark may stand first) when the bytes after the mark are valid
// UTF-8, otherwise Shift_JIS (code page 932, the encoding of files written on Japanese
// Windows) when they are valid Shift_JIS; a file that is neither, or whose mark is followed
// by another, cannot be decoded exactly and is reported, never guessed at. A file the program
// rewrites keeps the encoding it was read in; new files are UTF-8.

#include <QByteArray>
#include <QString>

#include <optional>

namespace nikra {

enum class TextEncoding { Utf8, Utf8WithBom, ShiftJis };

struct DecodedText {
    QString text;  // when not exact, with U+FFFD where bytes could not be read
    TextEncoding encoding = TextEncoding::Utf8;
    bool exact = true;  // false: writing the text back would change the file's bytes
};

DecodedText decodeText(const QByteArray &raw);
QByteArray encodeText(const QString &text, TextEncoding encoding);

// True when encodeText writes the text without losing or replacing a character (Shift_JIS
// holds only part of Unicode).
bool encodesLosslessly(const QString &text, TextEncoding encoding);

// The file's bytes as UTF-8 without a byte-order mark: the form the value readers scan;
// nothing when the file cannot be decoded exactly. Digits, signs, blanks, commas and line
// ends are single bytes in every supported encoding, so valid UTF-8 input is returned
// unchanged (apart from the mark).
std::optional<QByteArray> toUtf8Bytes(const QByteArray &raw);

// For files read in pieces. Well-formed UTF-8 (see decodeText): a piece that ends inside a
// character is not.
bool isValidUtf8(QByteArrayView bytes);
// Shift_JIS bytes as UTF-8, or nothing when they are not valid Shift_JIS. A piece of a file
// that ends just before a byte below 0x40 (a digit, a blank, a comma, a line end: never
// part of a two-byte character) decodes exactly as it does within the whole file.
std::optional<QByteArray> shiftJisToUtf8(QByteArrayView bytes);

} // namespace nikra
