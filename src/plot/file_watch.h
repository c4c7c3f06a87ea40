#pragma once
// Watches a set of files and says once that they changed, after a short quiet time, so a
// burst of writes gives one notice. An editor that saves by writing a new file and renaming
// it over the old one replaces the watched file: the watch follows the name, not the old
// file, and a file that disappears is watched again when it comes back. QtCore only, for
// the canvas window and the command line alike.

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace nikra {

class FileWatch : public QObject {
    Q_OBJECT

public:
    explicit FileWatch(int quietMs = 200, QObject *parent = nullptr);

    // Watches these files (duplicates and empty names are dropped), forgetting the others.
    void watch(const QStringList &files);
    void stop();
    const QStringList &files() const { return files_; }

Q_SIGNALS:
    // One or more of the files were written, replaced, removed or came back.
    void changed();

private:
    struct Stamp {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Stamp &) const = default;
    };
    static Stamp stampOf(const QString &file);
    void arm();
    void fileEvent();
    void folderEvent();

    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QStringList files_;
    QHash<QString, Stamp> stamps_;
};

} // namespace nikra
