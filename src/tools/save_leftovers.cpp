#include "tools/save_leftovers.h"

#include "tools/data_save.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <climits>

#include <signal.h>

namespace nikra {

namespace {

QString ownPid() { return QString::number(QCoreApplication::applicationPid()); }

// Whether the process that made a folder may still be using it. A pid that cannot be a
// process's counts as running, so that a doubtful folder is kept rather than removed.
bool mayStillRun(const QString &pidText)
{
    bool ok = false;
    const qlonglong pid = pidText.toLongLong(&ok);
    if (!ok || pid <= 0 || pid > INT_MAX)
        return true;
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
}

} // namespace

QString stagingTemplate(const QString &parent)
{
    return QDir(parent).filePath(QStringLiteral(".nikra-save-%1-XXXXXX").arg(ownPid()));
}

QString asideFolder(const QString &parent, const QString &name)
{
    const QDir dir(parent);
    for (int n = 1;; ++n) {
        const QString candidate = dir.filePath(QStringLiteral(".nikra-old-%1-%2-%3").arg(ownPid()).arg(n).arg(name));
        const QFileInfo c(candidate);
        if (!c.exists() && !c.isSymLink())
            return candidate;
    }
}

void tidyAfterEndedSaves(const QString &parent)
{
    static const QRegularExpression staging(QStringLiteral("^\\.nikra-save-(\\d+)-[A-Za-z0-9]{6}$"));
    static const QRegularExpression aside(QStringLiteral("^\\.nikra-old-(\\d+)-\\d+-(.+)$"));
    const QDir dir(parent);
    // Real folders only: a link of such a name leads somewhere that is not ours.
    const auto filter = QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks;
    for (const QFileInfo &entry : dir.entryInfoList(filter)) {
        const QString fileName = entry.fileName();
        if (const auto m = staging.match(fileName); m.hasMatch()) {
            if (!mayStillRun(m.captured(1)))
                QDir(entry.filePath()).removeRecursively();
            continue;
        }
        const auto m = aside.match(fileName);
        if (!m.hasMatch() || mayStillRun(m.captured(1)) || !isSafeFolderName(m.captured(2)))
            continue;
        // Killed between its two renames, the save left the name empty: the old set goes
        // back. Where something stands under the name, the folder is left for the user.
        const QString home = dir.filePath(m.captured(2));
        const QFileInfo now(home);
        if (!now.exists() && !now.isSymLink())
            QDir().rename(entry.filePath(), home);
    }
}

} // namespace nikra
