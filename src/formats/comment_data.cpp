#include "formats/comment_data.h"

#include "formats/file_bytes.h"
#include "formats/text_codec.h"

namespace nikra {

QStringList commentLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (text.at(i) == u'\r') {
            lines.append(text.mid(start, i - start));
            if (i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

CommentFile readCommentFile(const QString &path)
{
    CommentFile out;
    const FileBytes bytes = readWholeFile(path);
    if (!bytes) {
        out.failure = bytes.failure;
        return out;
    }
    const DecodedText decoded = decodeText(bytes.bytes);
    out.exact = decoded.exact;
    if (out.exact)
        out.lines = commentLines(decoded.text);
    return out;
}

} // namespace nikra
