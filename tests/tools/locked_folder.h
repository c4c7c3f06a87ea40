#pragma once
// A folder that refuses new files for as long as this object lives, to test writes that
// fail. Permissions do not stop the superuser, so the folder is also made immutable where
// the file system allows it; isLocked() says whether a write is really refused.

#include <QString>

namespace nikra::test {

class LockedFolder {
public:
    explicit LockedFolder(const QString &folder);
    ~LockedFolder();
    LockedFolder(const LockedFolder &) = delete;
    LockedFolder &operator=(const LockedFolder &) = delete;

    bool isLocked() const { return locked_; }
    void unlock();

private:
    bool refusesNewFiles() const;

    QString folder_;
    bool immutable_ = false;
    bool locked_ = false;
};

} // namespace nikra::test
