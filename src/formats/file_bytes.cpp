#include "formats/file_bytes.h"

#include "formats/messages.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nikra {

namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// What a FileStream gathers, at most, before it hands the bytes on; a small file never
// takes a buffer of this size.
constexpr qsizetype kBufferBytes = qsizetype(1) << 20;

// A descriptor closed when it goes out of scope (unless released).
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }
    // Closes now and says whether the system accepted it: a delayed write error (a full
    // disk on a network file system) can first show here.
    bool close()
    {
        const int fd = release();
        return fd < 0 || ::close(fd) == 0 || errno == EINTR;
    }

private:
    int fd_;
};

int openRetrying(const QByteArray &path, int flags, mode_t mode = 0)
{
    int fd;
    do
        fd = ::open(path.constData(), flags | O_CLOEXEC, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool makeBlocking(int fd)
{
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

// Opened without blocking (a pipe with no writer would wait for one in open) and kept only
// when it is a regular file; then reads block as usual. The descriptor, or -1 and why not.
int openRegularDescriptor(const QString &path, QString &failure, struct stat &status)
{
    if (path.isEmpty()) {
        failure = systemReason(ENOENT);
        return -1;
    }
    Descriptor fd(openRetrying(QFile::encodeName(path), O_RDONLY | O_NONBLOCK));
    if (fd.get() < 0) {
        failure = systemReason(errno);
        return -1;
    }
    if (::fstat(fd.get(), &status) != 0) {
        failure = systemReason(errno);
        return -1;
    }
    if (S_ISDIR(status.st_mode)) {
        failure = systemReason(EISDIR);
        return -1;
    }
    if (!S_ISREG(status.st_mode)) {
        failure = messageText(Msg::NotARegularFile);
        return -1;
    }
    if (!makeBlocking(fd.get())) {
        failure = systemReason(errno);
        return -1;
    }
    return fd.release();
}

// Every byte written, however the system splits the writes; errno tells why not.
bool writeAll(int fd, QByteArrayView bytes)
{
    const char *p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, std::size_t(std::min<qsizetype>(left, qsizetype(1) << 30)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// A device or a pipe takes the bytes where it is. A pipe without a reader is refused at once
// rather than waited on.
// Puts a file's bytes into a descriptor; false, with errno set, when it could not.
using FileFiller = std::function<bool(int fd)>;

FileWrite writeInPlace(const QByteArray &target, const FileFiller &fill)
{
    Descriptor fd(openRetrying(target, O_WRONLY | O_NONBLOCK));
    if (fd.get() < 0)
        return {errno == ENXIO ? messageText(Msg::PipeWithoutReader) : systemReason(errno)};
    if (!makeBlocking(fd.get()) || !fill(fd.get()))
        return {systemReason(errno)};
    if (!fd.close())
        return {systemReason(errno)};
    return {};
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// A new file beside the target with a name no one else uses. The name is hidden and says
// whose it is, so a file left by a killed write is recognisable.
int createTemporaryBeside(const QByteArray &target, mode_t mode, QByteArray &name)
{
    static std::atomic<unsigned> counter{0};
    const QByteArray folder = folderOf(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.nikra-write-" + QByteArray::number(qint64(::getpid())) + '-'
            + QByteArray::number(counter.fetch_add(1)) + ".tmp";
        const int fd = openRetrying(name, O_WRONLY | O_CREAT | O_EXCL, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The folder's entry of a renamed file reaches the disk only with the folder itself.
void syncFolder(const QByteArray &folder)
{
    const int fd = openRetrying(folder, O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

OpenedFile openRegularFile(const QString &path)
{
    OpenedFile opened;
    struct stat status {};
    const int fd = openRegularDescriptor(path, opened.failure, status);
    if (fd < 0)
        return opened;
    opened.file = std::make_unique<QFile>();
    if (!opened.file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        opened.failure = opened.file->errorString();
        opened.file.reset();
    }
    return opened;
}

FileBytes readWholeFile(const QString &path, qint64 mostBytes)
{
    FileBytes out;
    struct stat status {};
    Descriptor fd(openRegularDescriptor(path, out.failure, status));
    if (fd.get() < 0)
        return out;
    const auto tooLarge = [&] {
        out.bytes.clear();
        out.failure = messageText(Msg::FileTooLarge, {QString::number(mostBytes)});
        return out;
    };
    if (status.st_size > mostBytes)
        return tooLarge();
    // The size is where reading starts; a file that grows meanwhile is read to its end, as
    // far as the limit allows.
    qsizetype filled = 0;
    out.bytes.resize(qsizetype(status.st_size) + 1);
    for (;;) {
        if (filled == out.bytes.size()) {
            if (filled > mostBytes)
                return tooLarge();
            out.bytes.resize(filled + std::max<qsizetype>(filled / 2, 1 << 16));
        }
        const ssize_t n = ::read(fd.get(), out.bytes.data() + filled, std::size_t(out.bytes.size() - filled));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            out.failure = systemReason(errno);
            out.bytes.clear();
            return out;
        }
        if (n == 0)
            break;
        filled += n;
    }
    if (filled > mostBytes)
        return tooLarge();
    out.bytes.truncate(filled);
    return out;
}

namespace {

// The one way a file is replaced: filled beside the target, checked, synced, renamed.
FileWrite replaceFile(const QString &path, const FileFiller &fill)
{
    if (path.isEmpty())
        return {systemReason(ENOENT)};
    QByteArray target = QFile::encodeName(path);
    struct stat status {};
    const bool exists = ::stat(target.constData(), &status) == 0;
    if (!exists && errno != ENOENT)
        return {systemReason(errno)};
    if (exists) {
        if (S_ISDIR(status.st_mode))
            return {systemReason(EISDIR)};
        if (S_ISCHR(status.st_mode) || S_ISFIFO(status.st_mode))
            return writeInPlace(target, fill);
        if (!S_ISREG(status.st_mode))
            return {messageText(Msg::NotARegularFile)};
        // A link keeps pointing at the file: the file it names is the one replaced.
        if (char *resolved = ::realpath(target.constData(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }

    QByteArray temporary;
    Descriptor fd(createTemporaryBeside(target, exists ? 0600 : 0666, temporary));
    if (fd.get() < 0)
        return {systemReason(errno)};
    int error = 0;
    if (exists) {
        // The new file is the old one to everyone who could use it: same owner, same mode.
        if ((status.st_uid != ::geteuid() || status.st_gid != ::getegid())
            && ::fchown(fd.get(), status.st_uid, status.st_gid) != 0) {
            // Only an administrator may give a file away; the mode below still holds.
        }
        if (::fchmod(fd.get(), status.st_mode & 07777) != 0)
            error = errno;
    }
    if (error == 0 && !fill(fd.get()))
        error = errno;
    // The bytes must be on the disk before the name moves to them, or a crash could leave
    // an empty file where the old one was.
    if (error == 0 && ::fsync(fd.get()) != 0)
        error = errno;
    if (error == 0 && !fd.close())
        error = errno;
    if (error == 0 && ::rename(temporary.constData(), target.constData()) != 0)
        error = errno;
    if (error != 0) {
        fd.close();
        ::unlink(temporary.constData());
        return {systemReason(error)};
    }
    syncFolder(folderOf(target));
    return {};
}

} // namespace

FileStream::FileStream(int fd) : fd_(fd) {}

bool FileStream::write(QByteArrayView bytes)
{
    if (error_ != 0)
        return false;
    if (buffer_.size() + bytes.size() > kBufferBytes && !flush())
        return false;
    if (bytes.size() >= kBufferBytes) {
        // Large enough to go straight to the system without a copy.
        if (!writeAll(fd_, bytes))
            error_ = errno;
        return error_ == 0;
    }
    buffer_.append(bytes);
    return true;
}

bool FileStream::flush()
{
    if (error_ == 0 && !buffer_.isEmpty() && !writeAll(fd_, buffer_))
        error_ = errno;
    buffer_.clear();
    return error_ == 0;
}

FileWrite writeStreamedFile(const QString &path, const StreamFiller &fill)
{
    return replaceFile(path, [&fill](int fd) {
        FileStream out(fd);
        const bool filled = fill(out);
        if (!out.flush()) {
            errno = out.error();
            return false;
        }
        if (!filled)
            errno = ECANCELED;
        return filled;
    });
}

FileWrite writeWholeFile(const QString &path, QByteArrayView bytes)
{
    return writeStreamedFile(path, [bytes](FileStream &out) { return out.write(bytes); });
}

FileWrite copyWholeFile(const QString &from, const QString &to)
{
    QString failure;
    struct stat status {};
    Descriptor source(openRegularDescriptor(from, failure, status));
    if (source.get() < 0)
        return {failure};
    int readError = 0;
    const FileWrite written = writeStreamedFile(to, [&](FileStream &out) {
        QByteArray block(1 << 20, Qt::Uninitialized);
        for (;;) {
            const ssize_t n = ::read(source.get(), block.data(), std::size_t(block.size()));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                readError = errno;
                return false;
            }
            if (n == 0)
                return true;
            if (!out.write(QByteArrayView(block.constData(), n)))
                return false;
        }
    });
    if (readError != 0)
        return {from + QStringLiteral(": ") + systemReason(readError)};
    return written;
}

} // namespace nikra
