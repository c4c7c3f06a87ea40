#pragma once
// Saving the checker's text ("保存") and saving it under a new name in place of the opened
// file ("改名"). Nothing is lost on the way: the file is written to a temporary file and
// renamed over the old one, a rename deletes the opened file only after the new one is
// written, and a text that the file's encoding cannot hold is never written with
// replacement characters.

#include "formats/text_codec.h"

#include <QString>

namespace nikra {

class Messenger;

struct CheckerSave {
    QString openedPath;  // the file the text was opened from or last saved to
    QString targetPath;  // the folder box followed by the file-name box
    QString text;        // the editor's text
    TextEncoding encoding = TextEncoding::Utf8;  // the opened file's encoding
    bool rename = false;
    bool exactlyDecoded = true;  // false: the text shows U+FFFD for bytes of the file it could not read
};

struct CheckerSaveResult {
    bool saved = false;  // false: nothing was written (declined, or failed with a message)
    TextEncoding encoding = TextEncoding::Utf8;  // the encoding written
};

// True when both paths name the same file (also through another spelling of the path).
bool isSameFile(const QString &a, const QString &b);

// Refuses an empty (or blank) file name and a folder as the target. Asks before
// overwriting another existing file, before replacing a file whose bytes could
// not all be read (they would be lost) and before switching a Shift_JIS text to UTF-8;
// reports a failed write naming the file and why.
CheckerSaveResult saveCheckerText(const CheckerSave &request, Messenger &messenger);

} // namespace nikra
