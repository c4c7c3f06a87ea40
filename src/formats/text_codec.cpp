#include "text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace nikra {

namespace {

// Code page 932 is Microsoft's Shift_JIS with the NEC and IBM extensions that Windows
// editors write; ICU knows it under this name.
constexpr const char *kShiftJisName = "windows-31j";

bool hasUtf8Bom(const QByteArray &raw) { return raw.startsWith("\xEF\xBB\xBF"); }

// Well-formed UTF-8: no stray continuation bytes, no overlong forms, no surrogates, nothing
// above U+10FFFF. Shift_JIS text with any Japanese in it fails this almost at once.
bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
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

} // namespace

TextEncoding detectEncoding(const QByteArray &raw)
{
    if (hasUtf8Bom(raw))
        return TextEncoding::Utf8WithBom;
    return isValidUtf8(raw) ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

DecodedText decodeText(const QByteArray &raw)
{
    DecodedText out;
    out.encoding = detectEncoding(raw);
    switch (out.encoding) {
    case TextEncoding::Utf8WithBom:
        out.text = QString::fromUtf8(QByteArrayView(raw).sliced(3));
        break;
    case TextEncoding::Utf8:
        out.text = QString::fromUtf8(raw);
        break;
    case TextEncoding::ShiftJis: {
        QStringDecoder decoder(kShiftJisName);
        out.text = decoder.isValid() ? decoder.decode(raw) : QString::fromLatin1(raw);
        break;
    }
    }
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

QByteArray toUtf8Bytes(const QByteArray &raw)
{
    if (hasUtf8Bom(raw))
        return raw.sliced(3);
    if (isValidUtf8(raw))
        return raw;
    return decodeText(raw).text.toUtf8();
}

} // namespace nikra
