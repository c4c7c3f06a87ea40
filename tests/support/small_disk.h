#pragma once
// The failing places a user's machine has, made in a test's own folder: a small file system
// that can be filled, a device that takes no bytes, and a limit on how large a file may grow.

#include "support/test_files.h"

#include <QString>

#include <csignal>
#include <sys/resource.h>

namespace nikra::test {

// A small file system of its own (a 256 KiB tmpfs), unmounted when the test ends; root is
// empty where the test may not mount one (only the superuser may).
class SmallDisk {
public:
    explicit SmallDisk(const QString &where);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    QString root;
    // Fills the disk with a file named "filler" until nothing more fits, then frees
    // `freeBytes` of it again.
    bool fillLeaving(qint64 freeBytes) const;
    QString filler() const { return root + QStringLiteral("/filler"); }
};

// A device that is always full, as /dev/full is. As root it is made in the test's own folder,
// so a program that wrongly replaced its target would replace only this copy; empty when it
// cannot be had.
QString fullDevice(const TestDir &dir);

// While it lives, no file of this process may grow beyond `bytes`: a write past it fails
// with EFBIG, as one on a full disk fails with ENOSPC.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit limit{bytes, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

} // namespace nikra::test
