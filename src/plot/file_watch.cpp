#include "plot/file_watch.h"

#include <QFileInfo>

namespace nikra {

FileWatch::FileWatch(int quietMs, QObject *parent) : QObject(parent)
{
    quiet_.setSingleShot(true);
    quiet_.setInterval(quietMs);
    connect(&quiet_, &QTimer::timeout, this, [this] {
        arm();
        Q_EMIT changed();
    });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FileWatch::fileEvent);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FileWatch::folderEvent);
}

FileWatch::Stamp FileWatch::stampOf(const QString &file)
{
    const QFileInfo info(file);
    if (!info.isFile())
        return {};
    return {true, info.size(), info.lastModified()};
}

void FileWatch::watch(const QStringList &files)
{
    stop();
    for (const QString &file : files) {
        if (!file.isEmpty() && !files_.contains(file))
            files_.append(file);
    }
    arm();
}

void FileWatch::stop()
{
    quiet_.stop();
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    files_.clear();
    stamps_.clear();
}

void FileWatch::arm()
{
    // Every file is watched afresh: one replaced by a rename is a new file under the old
    // name. The folders are watched as well: a file renamed over a watched one, or one
    // that comes back, shows there first.
    if (!watcher_.files().isEmpty())
        watcher_.removePaths(watcher_.files());
    QStringList paths;
    for (const QString &file : std::as_const(files_)) {
        stamps_[file] = stampOf(file);
        if (stamps_[file].exists)
            paths << file;
        const QString folder = QFileInfo(file).absolutePath();
        if (QFileInfo(folder).isDir() && !watcher_.directories().contains(folder) && !paths.contains(folder))
            paths << folder;
    }
    if (!paths.isEmpty())
        watcher_.addPaths(paths);
}

void FileWatch::fileEvent()
{
    // arm() takes every name up again once the files are quiet.
    quiet_.start();
}

void FileWatch::folderEvent()
{
    // Another file of the folder changing is no change of ours.
    for (const QString &file : std::as_const(files_)) {
        if (stampOf(file) != stamps_.value(file)) {
            quiet_.start();
            return;
        }
    }
}

} // namespace nikra
