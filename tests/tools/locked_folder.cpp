#include "locked_folder.h"

#include <QFile>
#include <QProcess>

namespace nikra::test {

namespace {

constexpr QFile::Permissions kReadOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup;
constexpr QFile::Permissions kWritable = kReadOnly | QFile::WriteOwner;

bool chattr(const QString &flag, const QString &folder)
{
    QProcess p;
    p.start(QStringLiteral("chattr"), {flag, folder});
    return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

LockedFolder::LockedFolder(const QString &folder) : folder_(folder)
{
    QFile::setPermissions(folder_, kReadOnly);
    if (!refusesNewFiles())
        immutable_ = chattr(QStringLiteral("+i"), folder_);
    locked_ = refusesNewFiles();
}

LockedFolder::~LockedFolder() { unlock(); }

void LockedFolder::unlock()
{
    if (immutable_)
        chattr(QStringLiteral("-i"), folder_);
    immutable_ = false;
    QFile::setPermissions(folder_, kWritable);
    locked_ = false;
}

bool LockedFolder::refusesNewFiles() const
{
    QFile probe(folder_ + QStringLiteral("/.probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return true;
    probe.close();
    probe.remove();
    return false;
}

} // namespace nikra::test
