#pragma once
// The checker's text handling without a window: a file's lines joined for the editor, the
// line-break conversion, the split of a path into the folder and the file name, and the
// header of a printout.

#include "formats/text_codec.h"

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace nikra {

// Lines read before the reader asks whether to stop.
inline constexpr qsizetype kCheckerLineLimit = 10000;

struct CheckerText {
    QString text;               // the lines joined by CR LF, none after the last
    qsizetype lineCount = 0;    // lines taken into text
    TextEncoding encoding = TextEncoding::Utf8;
    bool exact = true;          // false: bytes that are neither UTF-8 nor Shift_JIS are shown as U+FFFD
};

// Joins the lines of a decoded file for the editor. A line ends at CR LF, LF CR, a lone LF
// or a lone CR; a line end at the very end of the file starts no further line. stopAtLimit
// is asked once, when the line with number kCheckerLineLimit has been taken: true keeps
// only the lines taken so far. Linear in the length of the text.
CheckerText joinFileLines(QStringView decoded, const std::function<bool()> &stopAtLimit);

// Reads and joins a file; nullopt, and why in failure, when it cannot be read.
std::optional<CheckerText> readCheckerFile(const QString &path, const std::function<bool()> &stopAtLimit,
                                           QString *failure = nullptr);

// Lines longer than this are cut into pieces of this length for the editor, and shorter
// lines are gathered up to this length into one paragraph: the editor lays a paragraph out
// whole at every keystroke in it, and a million paragraphs take seconds to build.
inline constexpr qsizetype kEditorParagraphLength = 8192;

struct EditorParagraph {
    QString text;              // lines separated by QChar::LineSeparator
    bool continuesLine = false;  // the paragraph before it ends inside the same line
};

// Gathers text into the editor's paragraphs of about `length` characters. A line ends at
// CR LF, a lone CR or LF, or a paragraph separator; line separators are kept as they are
// (they end lines too). The first paragraph continues whatever stands before it. Joining
// the paragraphs with a line break unless continuesLine gives the text back.
QList<EditorParagraph> editorParagraphs(QStringView text, qsizetype length = kEditorParagraphLength);

// The line-break conversion: every CR LF, LF CR, lone CR and lone LF becomes one CR LF; two
// breaks in a row stay two. Runs one pass for CR and then one for LF over its result.
QString convertLineBreaks(QStringView text);

// One pass of the conversion: every `lineBreak` (joined with an `other` just before or
// after it into one break) becomes CR LF.
QString convertLineBreaksPass(QStringView text, QChar lineBreak, QChar other);

// The bytes the checker writes for the editor's text: every line break CR LF and one CR LF
// after the last line, in the given encoding.
QByteArray checkerFileBytes(QStringView text, TextEncoding encoding);

struct FolderAndName {
    QString folder;  // ends with the separator
    QString name;
};

// Splits a path at its last separator. A relative path is taken from the current folder,
// so the folder shown (and saved into later) is the one the file was read from.
FolderAndName splitPath(const QString &path);

// The first line of a printout: "yyyy/MM/dd   hh:mm:ss", eleven blanks, the folder and
// the file name.
QString printoutHeader(const QDateTime &when, const QString &folder, const QString &name);

} // namespace nikra
