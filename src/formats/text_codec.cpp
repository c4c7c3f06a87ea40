#include "text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <cstring>

namespace nikra {

namespace {

// Code page 932 is Microsoft's Shift_JIS with the NEC and IBM extensions that Windows
// editors write; ICU knows it under this name.
constexpr const char *kShiftJisName = "windows-31j";

} // namespace

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing
// above U+10FFFF. Shift_JIS text with any Japanese in it fails this almost at once.
bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        // Numbers are plain ASCII: eight of them at a time.
        while (i + 8 <= n) {
            quint64 eight;
            std::memcpy(&eight, p + i, 8);
            if (eight & 0x8080808080808080ull)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        unsigned min = 0;
        unsigned cp = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

namespace {

constexpr QByteArrayView kMark("\xEF\xBB\xBF");

// A mark right after the mark: the trace of a program that added one to text that had one.
// Dropping both would hide it, keeping one would put a stray character before the first
// value; either way the file is not what its writer meant, so it is said.
bool hasSecondMark(QByteArrayView afterMark) { return afterMark.startsWith(kMark); }

} // namespace

DecodedText decodeText(const QByteArray &raw)
{
    DecodedText out;
    const bool marked = raw.startsWith(kMark);
    const QByteArrayView body = marked ? QByteArrayView(raw).sliced(3) : QByteArrayView(raw);
    if (isValidUtf8(body)) {
        out.encoding = marked ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
        // Decoded without Qt's own removal of a leading mark: a second mark stays in the text.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        out.text = utf8.decode(body);
        out.exact = !(marked && hasSecondMark(body));
        return out;
    }
    out.encoding = TextEncoding::ShiftJis;
    // Stateless: a lead byte cut off by the end of the file is an error, not pending input.
    QStringDecoder shiftJis(kShiftJisName, QStringConverter::Flag::Stateless);
    if (!shiftJis.isValid()) {
        out.text = QString::fromLatin1(raw);
        out.exact = false;
        return out;
    }
    out.text = shiftJis.decode(raw);
    out.exact = !shiftJis.hasError();
    return out;
}

QByteArray encodeText(const QString &text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8WithBom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case TextEncoding::Utf8:
        return text.toUtf8();
    case TextEncoding::ShiftJis: {
        QStringEncoder encoder(kShiftJisName);
        if (encoder.isValid())
            return encoder.encode(text);
        return text.toUtf8();
    }
    }
    return text.toUtf8();
}

bool encodesLosslessly(const QString &text, TextEncoding encoding)
{
    if (encoding != TextEncoding::ShiftJis)
        return true;
    // A character Shift_JIS lacks comes back as "?" or as a look-alike; only a round trip
    // shows every such change.
    QStringDecoder decoder(kShiftJisName);
    return decoder.isValid() && QString(decoder.decode(encodeText(text, encoding))) == text;
}

std::optional<QByteArray> toUtf8Bytes(const QByteArray &raw)
{
    const bool marked = raw.startsWith(kMark);
    if (isValidUtf8(marked ? QByteArrayView(raw).sliced(3) : QByteArrayView(raw))) {
        if (!marked)
            return raw;
        if (hasSecondMark(QByteArrayView(raw).sliced(3)))
            return std::nullopt;
        return raw.sliced(3);
    }
    const DecodedText decoded = decodeText(raw);
    if (!decoded.exact)
        return std::nullopt;
    return decoded.text.toUtf8();
}

std::optional<QByteArray> shiftJisToUtf8(QByteArrayView bytes)
{
    QStringDecoder shiftJis(kShiftJisName, QStringConverter::Flag::Stateless);
    if (!shiftJis.isValid())
        return std::nullopt;
    const QString text = shiftJis.decode(bytes);
    if (shiftJis.hasError())
        return std::nullopt;
    return text.toUtf8();
}

} // namespace nikra
