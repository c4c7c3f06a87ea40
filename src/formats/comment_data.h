#pragma once
// A Comment Data file: free text lines. A line ends at CR LF or a lone CR; a lone LF does
// not end a line (it stays in the text, and the drawing breaks the line there).

#include <QString>
#include <QStringList>

namespace nikra {

QStringList commentLines(const QString &text);

struct CommentFile {
    QStringList lines;
    QString failure;    // why the file could not be read; empty when it was
    bool exact = true;  // false: the bytes are neither UTF-8 nor Shift_JIS (lines then empty)
};

CommentFile readCommentFile(const QString &path);

} // namespace nikra
