#pragma once
// The encodings a user's text files come in. Files are taken as UTF-8 (with or without a
// byte-order mark) when they are valid UTF-8, otherwise as Shift_JIS (code page 932), the
// encoding of files written on Japanese Windows. A file the program rewrites keeps the
// encoding it was read in; new files are UTF-8.

#include <QByteArray>
#include <QString>

namespace nikra {

enum class TextEncoding { Utf8, Utf8WithBom, ShiftJis };

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
};

TextEncoding detectEncoding(const QByteArray &raw);
DecodedText decodeText(const QByteArray &raw);
QByteArray encodeText(const QString &text, TextEncoding encoding);

// True when encodeText writes the text without losing or replacing a character (Shift_JIS
// holds only part of Unicode).
bool encodesLosslessly(const QString &text, TextEncoding encoding);

// The file's bytes as UTF-8 without a byte-order mark: the form the value readers scan.
// Digits, signs, blanks, commas and line ends are single bytes in every supported
// encoding, so valid UTF-8 input is returned unchanged (apart from the mark).
QByteArray toUtf8Bytes(const QByteArray &raw);

} // namespace nikra
