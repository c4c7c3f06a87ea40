#include "formats/comment_data.h"

#include "formats/text_codec.h"

#include <QFile>

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

std::optional<QStringList> readCommentFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray raw = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return commentLines(decodeText(raw).text);
}

} // namespace nikra
