#include "tools/checker_text.h"

#include "formats/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace nikra {

namespace {

constexpr QChar kCr = u'\r';
constexpr QChar kLf = u'\n';
const QString kCrLf = QStringLiteral("\r\n");

} // namespace

CheckerText joinFileLines(QStringView decoded, const std::function<bool()> &stopAtLimit)
{
    CheckerText out;
    // Appending each line to one reserved string keeps the build linear for a million lines.
    out.text.reserve(decoded.size());
    const qsizetype n = decoded.size();
    qsizetype pos = 0;
    while (pos < n) {
        qsizetype end = pos;
        while (end < n && decoded[end] != kCr && decoded[end] != kLf)
            ++end;
        if (out.lineCount > 0)
            out.text += kCrLf;
        out.text += decoded.sliced(pos, end - pos);
        ++out.lineCount;
        // CR LF and LF CR are each one break, as the line-break conversion reads them; a
        // file saved again must not gain an empty line at every LF CR.
        if (end < n) {
            const QChar other = decoded[end] == kCr ? kLf : kCr;
            end += (end + 1 < n && decoded[end + 1] == other) ? 2 : 1;
        }
        pos = end;
        if (out.lineCount == kCheckerLineLimit && stopAtLimit && stopAtLimit())
            break;
    }
    return out;
}

std::optional<CheckerText> readCheckerFile(const QString &path, const std::function<bool()> &stopAtLimit,
                                           QString *failure)
{
    const FileBytes bytes = readWholeFile(path);
    if (!bytes) {
        if (failure)
            *failure = bytes.failure;
        return std::nullopt;
    }
    const DecodedText decoded = decodeText(bytes.bytes);
    CheckerText out = joinFileLines(decoded.text, stopAtLimit);
    out.encoding = decoded.encoding;
    out.exact = decoded.exact;
    return out;
}

QList<EditorParagraph> editorParagraphs(QStringView text, qsizetype length)
{
    length = std::max<qsizetype>(length, 2);  // room for a surrogate pair
    QList<EditorParagraph> out(1);
    const qsizetype n = text.size();
    qsizetype pos = 0;
    for (;;) {
        qsizetype end = pos;
        while (end < n && text[end] != kCr && text[end] != kLf && text[end] != QChar::ParagraphSeparator)
            ++end;
        QStringView line = text.sliced(pos, end - pos);
        // A line that does not fit beside the paragraph's lines starts a paragraph of its
        // own; one longer than a paragraph is cut, never between the halves of a surrogate
        // pair.
        if (pos > 0) {
            if (out.last().text.size() + 1 + line.size() <= length)
                out.last().text += QChar::LineSeparator;
            else
                out.append(EditorParagraph{});
        }
        while (out.last().text.size() + line.size() > length) {
            qsizetype cut = length - out.last().text.size();
            if (cut > 0 && line[cut - 1].isHighSurrogate())
                --cut;
            out.last().text += line.first(cut);
            line = line.sliced(cut);
            out.append(EditorParagraph{QString(), true});
        }
        out.last().text += line;
        if (end == n)
            break;
        pos = end + ((text[end] == kCr && end + 1 < n && text[end + 1] == kLf) ? 2 : 1);
    }
    return out;
}

QString convertLineBreaksPass(QStringView text, QChar lineBreak, QChar other)
{
    // `start` marks the text not yet converted; "the character before" a break is looked
    // for only there, so a pair already taken is never taken twice.
    QString result;
    result.reserve(text.size() + text.size() / 4 + 2);
    qsizetype start = 0;
    for (qsizetype at = text.indexOf(lineBreak, start); at >= 0; at = text.indexOf(lineBreak, start)) {
        result += kCrLf;
        if (at > start && text[at - 1] == other) {
            result += text.sliced(start, at - 1 - start);
            start = at + 1;
        } else if (at + 1 < text.size() && text[at + 1] == other) {
            result += text.sliced(start, at - start);
            start = at + 2;
        } else {
            result += text.sliced(start, at - start);
            start = at + 1;
        }
    }
    result += kCrLf;
    result += text.sliced(start);
    // Every line was given a CR LF in front; the first line's is not a break.
    return result.sliced(2);
}

QString convertLineBreaks(QStringView text)
{
    return convertLineBreaksPass(convertLineBreaksPass(text, kCr, kLf), kLf, kCr);
}

QByteArray checkerFileBytes(QStringView text, TextEncoding encoding)
{
    return encodeText(convertLineBreaks(text) + kCrLf, encoding);
}

FolderAndName splitPath(const QString &path)
{
    QString full = QDir::fromNativeSeparators(path);
    if (QFileInfo(full).isRelative())
        full = QFileInfo(full).absoluteFilePath();
    const qsizetype cut = full.lastIndexOf(u'/') + 1;
    return {full.left(cut), full.sliced(cut)};
}

QString printoutHeader(const QDateTime &when, const QString &folder, const QString &name)
{
    return when.toString(QStringLiteral("yyyy/MM/dd   hh:mm:ss")) + QString(11, u' ') + folder + name;
}

} // namespace nikra
