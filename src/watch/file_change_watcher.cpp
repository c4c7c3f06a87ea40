#include "watch/file_change_watcher.h"

#include <QDateTime>
#include <QFileInfo>

namespace nikra {

FileChangeWatcher::FileChangeWatcher(QObject *parent) : QObject(parent)
{
    quiet_.setSingleShot(true);
    quiet_.setInterval(200);
    connect(&quiet_, &QTimer::timeout, this, &FileChangeWatcher::settle);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileChangeWatcher::fileEvent);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileChangeWatcher::folderEvent);
}

FileChangeWatcher::Stamp FileChangeWatcher::stampOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return {};
    return {true, info.size(), info.lastModified().toMSecsSinceEpoch(),
            info.metadataChangeTime().toMSecsSinceEpoch()};
}

void FileChangeWatcher::setFiles(const QStringList &paths)
{
    for (const QString &path : stamps_.keys()) {
        if (!paths.contains(path)) {
            stamps_.remove(path);
            watcher_.removePath(path);
        }
    }
    QStringList folders;
    for (const QString &path : paths) {
        if (path.isEmpty() || stamps_.contains(path))
            continue;
        stamps_.insert(path, stampOf(path));
        arm(path);
    }
    for (const QString &path : std::as_const(stamps_).keys()) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!folders.contains(folder))
            folders.append(folder);
    }
    const QStringList watchedFolders = watcher_.directories();
    for (const QString &folder : watchedFolders) {
        if (!folders.contains(folder))
            watcher_.removePath(folder);
    }
    for (const QString &folder : std::as_const(folders)) {
        if (!watchedFolders.contains(folder) && QFileInfo(folder).isDir())
            watcher_.addPath(folder);
    }
}

void FileChangeWatcher::arm(const QString &path)
{
    // Watched afresh: after a rename over it the name stands for a new file, and the old
    // watch (if the system kept it) would follow the old one.
    watcher_.removePath(path);
    if (QFileInfo(path).isFile())
        watcher_.addPath(path);
}

bool FileChangeWatcher::changedSinceSignal() const
{
    for (auto it = stamps_.cbegin(); it != stamps_.cend(); ++it) {
        if (stampOf(it.key()) != it.value())
            return true;
    }
    return false;
}

void FileChangeWatcher::fileEvent() { quiet_.start(); }

void FileChangeWatcher::folderEvent(const QString &folder)
{
    for (auto it = stamps_.cbegin(); it != stamps_.cend(); ++it) {
        if (QFileInfo(it.key()).absolutePath() == folder && stampOf(it.key()) != it.value()) {
            quiet_.start();
            return;
        }
    }
}

void FileChangeWatcher::settle()
{
    for (auto it = stamps_.begin(); it != stamps_.end(); ++it) {
        it.value() = stampOf(it.key());
        arm(it.key());
    }
    Q_EMIT changed();
}

} // namespace nikra
