#pragma once
// A Comment Data file: free text lines. A line ends at CR LF or a lone CR; a lone LF does
// not end a line (it stays in the text, and the drawing breaks the line there).

#include <QString>
#include <QStringList>

#include <optional>

namespace nikra {

QStringList commentLines(const QString &text);

// The file's lines; nullopt when it cannot be read.
std::optional<QStringList> readCommentFile(const QString &path);

} // namespace nikra
