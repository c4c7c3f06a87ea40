#pragma once
// The one way the program reads a user's file whole and writes any file it makes.
//
// Reading takes only regular files: a device (/dev/zero), a pipe or a folder named where a
// file is expected is refused at once, without blocking and without reading endlessly.
// Writing puts every byte into a new file beside the target, forces it to the disk and
// checks every step before the new file takes the old one's place; a full disk, a lost
// permission or a failing device leaves the old file exactly as it was.

#include <QByteArray>
#include <QString>

#include <functional>
#include <limits>
#include <memory>

class QFile;

namespace nikra {

// No limit on the size of a file read whole.
inline constexpr qint64 kAnySize = std::numeric_limits<qint64>::max();

struct FileBytes {
    QByteArray bytes;
    QString failure;  // why the file was not read, in the system's words; empty when read
    explicit operator bool() const { return failure.isEmpty(); }
};

// The whole file, or why not: it is missing or unreadable, it is not a regular file, or it
// holds more than mostBytes.
FileBytes readWholeFile(const QString &path, qint64 mostBytes = kAnySize);

// A regular file opened for reading (a link is followed to what it names), or why not.
struct OpenedFile {
    std::unique_ptr<QFile> file;
    QString failure;
};
OpenedFile openRegularFile(const QString &path);

struct FileWrite {
    QString failure;  // why the file was not written, in the system's words; empty when written
    explicit operator bool() const { return failure.isEmpty(); }
};

// The bytes of a file being written, gathered and handed to the system a buffer at a time.
// The first failing write keeps its reason; every later write is then refused.
class FileStream {
public:
    explicit FileStream(int fd);
    FileStream(const FileStream &) = delete;
    FileStream &operator=(const FileStream &) = delete;

    bool write(QByteArrayView bytes);
    // Hands on what is gathered; false (error() says why) when any write failed.
    bool flush();
    int error() const { return error_; }

private:
    int fd_;
    int error_ = 0;
    QByteArray buffer_;
};

// Writes a file with what `fill` puts into the stream, whole or not at all, in the same way
// as writeWholeFile below. When fill returns false the file is abandoned: nothing takes the
// old file's place and the failure says the write was cancelled, unless a write failed first.
using StreamFiller = std::function<bool(FileStream &out)>;
FileWrite writeStreamedFile(const QString &path, const StreamFiller &fill);

// Replaces the file with these bytes in one step, or leaves it as it was and says why. A
// link is followed and the file it names replaced; a new file takes the old one's
// permissions. A character device or a pipe that has a reader is written in place (a new
// file renamed over it would take the node's place); other nodes and folders are refused.
FileWrite writeWholeFile(const QString &path, QByteArrayView bytes);
// The same with the bytes of a regular file, streamed: a copy byte for byte, whole or not at
// all.
FileWrite copyWholeFile(const QString &from, const QString &to);

} // namespace nikra
