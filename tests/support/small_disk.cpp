#include "support/small_disk.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace nikra::test {

SmallDisk::SmallDisk(const QString &where)
{
    QDir().mkpath(where);
    QProcess mount;
    mount.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                          QStringLiteral("size=256k"), QStringLiteral("tmpfs"), where});
    if (mount.waitForFinished(10000) && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0)
        root = where;
}

SmallDisk::~SmallDisk()
{
    if (!root.isEmpty())
        QProcess::execute(QStringLiteral("umount"), {root});
}

bool SmallDisk::fillLeaving(qint64 freeBytes) const
{
    const QByteArray path = QFile::encodeName(filler());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), std::size_t(block.size())) > 0) {
    }
    const bool full = errno == ENOSPC;
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const bool freed = ::ftruncate(fd, std::max<off_t>(0, size - off_t(freeBytes))) == 0;
    ::close(fd);
    return full && freed;
}

QString fullDevice(const TestDir &dir)
{
    if (::geteuid() != 0)
        return QStringLiteral("/dev/full");
    const QString node = dir.path(QStringLiteral("full"));
    if (::mknod(QFile::encodeName(node).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        return QString();
    return node;
}

} // namespace nikra::test
