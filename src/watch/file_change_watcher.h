#pragma once
// Watches a page's input files and says once, after a short quiet time, that some of them
// changed: a burst of writes (an editor saving in pieces, a script rewriting several files)
// gives one signal. Editors that save by writing a new file and renaming it over the old
// one replace the watched file; the watch follows the name, not the old file. A file that
// is missing, or disappears, is watched for through its folder and counts as changed when
// it comes back. Changes of other files in the same folders (a page written beside its
// inputs) are ignored.

#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace nikra {

class FileChangeWatcher : public QObject {
    Q_OBJECT

public:
    explicit FileChangeWatcher(QObject *parent = nullptr);

    // The files to watch, by absolute path. Files already watched keep their state, so a
    // change between the signal and this call is not lost.
    void setFiles(const QStringList &paths);
    QStringList files() const { return stamps_.keys(); }

    // True when a watched file is not as it was at the last changed() (or when it was
    // added): the drawing just made may have read it half-way through a change, and a
    // new signal is on its way.
    bool changedSinceSignal() const;

Q_SIGNALS:
    void changed();

private:
    // What tells one state of a file from the next without reading it.
    struct Stamp {
        bool exists = false;
        qint64 size = 0;
        qint64 modified = 0;  // ms since the epoch
        qint64 statusChanged = 0;  // ms; a rename over the file changes it
        bool operator==(const Stamp &) const = default;
    };
    static Stamp stampOf(const QString &path);

    void fileEvent();
    void folderEvent(const QString &folder);
    void settle();
    void arm(const QString &path);

    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QHash<QString, Stamp> stamps_;
};

} // namespace nikra
