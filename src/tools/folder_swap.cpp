#include "tools/folder_swap.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_EXCHANGE
#define RENAME_EXCHANGE (1 << 1)
#endif

namespace nikra {

QString FolderSwap::errorText() const { return QString::fromLocal8Bit(std::strerror(error)); }

FolderSwap swapFolders(const QString &a, const QString &b)
{
#ifdef SYS_renameat2
    // The system call itself: older C libraries have no renameat2 wrapper.
    const QByteArray from = QFile::encodeName(a);
    const QByteArray to = QFile::encodeName(b);
    if (::syscall(SYS_renameat2, AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_EXCHANGE) == 0)
        return {SwapOutcome::Swapped, 0};
    const int error = errno;
    // EINVAL: the file system has no exchange; ENOSYS: the kernel has no renameat2.
    if (error == EINVAL || error == ENOSYS)
        return {SwapOutcome::Unsupported, error};
    return {SwapOutcome::Failed, error};
#else
    Q_UNUSED(a);
    Q_UNUSED(b);
    return {SwapOutcome::Unsupported, ENOSYS};
#endif
}

} // namespace nikra
