#include "tools/checker_save.h"
#include "formats/file_bytes.h"

#include "formats/messages.h"
#include "tools/checker_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace nikra {

bool isSameFile(const QString &a, const QString &b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

CheckerSaveResult saveCheckerText(const CheckerSave &request, Messenger &messenger)
{
    CheckerSaveResult result;
    result.encoding = request.encoding;
    // An empty name box leaves the folder as the target: nothing to ask about, a name is
    // wanted. A name of blanks would make a file no list shows legibly.
    const QFileInfo target(request.targetPath);
    if (request.targetPath.endsWith(u'/') || target.fileName().trimmed().isEmpty()) {
        messenger.warn(programName(), messageText(Msg::FileNameNeeded));
        return result;
    }
    // A folder is never written over, so asking whether to is no question.
    if (target.isDir()) {
        messenger.warn(programName(), messageText(Msg::SaveFailed, {request.targetPath,
                                                                    QString::fromLocal8Bit(std::strerror(EISDIR))}));
        return result;
    }
    const bool sameFile = isSameFile(request.targetPath, request.openedPath);
    if (!sameFile && QFileInfo::exists(request.targetPath)
        && !messenger.askYesNo(programName(), messageText(Msg::FileExists)))
        return result;

    // The opened file's unreadable bytes exist only in the file: writing the text over it,
    // or saving under a new name and removing it, would lose them.
    if (!request.exactlyDecoded && (sameFile || request.rename)
        && !messenger.askYesNo(programName(), messageText(Msg::SaveOverUndecoded, {request.openedPath})))
        return result;

    if (!encodesLosslessly(request.text, result.encoding)) {
        if (!messenger.askYesNo(programName(), messageText(Msg::SaveAsUtf8, {request.targetPath})))
            return result;
        result.encoding = TextEncoding::Utf8;
    }

    const FileWrite written = writeWholeFile(request.targetPath, checkerFileBytes(request.text, result.encoding));
    if (!written) {
        messenger.warn(programName(), messageText(Msg::SaveFailed, {request.targetPath, written.failure}));
        return result;
    }
    result.saved = true;

    // The opened file goes only now that its text is safe under the new name.
    if (request.rename && !sameFile && QFileInfo::exists(request.openedPath) && !QFile::remove(request.openedPath))
        messenger.warn(programName(), messageText(Msg::OldFileKept, {request.openedPath}));
    return result;
}

} // namespace nikra
