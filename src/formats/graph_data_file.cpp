#include "formats/graph_data_file.h"

#include "formats/file_bytes.h"
#include "formats/text_codec.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace nikra {

namespace {

constexpr QByteArrayView kMark("\xEF\xBB\xBF");

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Where a piece of UTF-8 can end without cutting a character: before a lead byte whose
// character runs past the end. Invalid bytes are left for the check to find.
qsizetype utf8PieceEnd(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    for (qsizetype i = n - 1; i >= 0 && i >= n - 4; --i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if ((c & 0xC0) == 0x80)
            continue;  // a continuation byte: its lead stands further back
        const qsizetype length = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
        return i + length > n ? i : n;
    }
    return n;
}

// One past the last byte below 0x40: such a byte is a character of its own in Shift_JIS,
// never a half of one, so a piece ending there decodes as it does within the file. 0: none.
qsizetype shiftJisPieceEnd(QByteArrayView bytes)
{
    for (qsizetype i = bytes.size() - 1; i >= 0; --i) {
        if (static_cast<unsigned char>(bytes[i]) < 0x40)
            return i + 1;
    }
    return 0;
}

bool isBlankOrLineEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool holdsText(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (!isBlankOrLineEnd(c))
            return true;
    }
    return false;
}

} // namespace

GraphDataFile::GraphDataFile() = default;
GraphDataFile::~GraphDataFile() = default;

qint64 GraphDataFile::readAt(char *into, qint64 n, qint64 at) const
{
    qint64 done = 0;
    while (done < n) {
        const ssize_t got = ::pread(fd_, into + done, std::size_t(n - done), off_t(at + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

GraphDataFile::Opened GraphDataFile::open(const QString &path, qsizetype pieceBytes)
{
    piece_ = std::max<qsizetype>(pieceBytes, 1);
    OpenedFile opened = openRegularFile(path);
    if (!opened.file) {
        failure_ = opened.failure;
        return Opened::Unreadable;
    }
    file_ = std::move(opened.file);
    fd_ = file_->handle();
    return checkText();
}

GraphDataFile::Opened GraphDataFile::checkText()
{
    bool valid = false;
    if (!scanWhole(false, valid))
        return Opened::Unreadable;
    if (valid) {
        // A mark is skipped; a second one after it is the trace of a text marked twice.
        char head[6] = {};
        const qint64 n = readAt(head, 6, 0);
        const QByteArrayView start(head, qsizetype(std::max<qint64>(n, 0)));
        if (start.startsWith(kMark)) {
            if (start.sliced(3).startsWith(kMark))
                return Opened::NotDecoded;
            next_ = start_ = 3;
        }
        return Opened::Yes;
    }
    if (!scanWhole(true, valid))
        return Opened::Unreadable;
    if (!valid)
        return Opened::NotDecoded;
    shiftJis_ = true;
    return Opened::Yes;
}

// Reads the file to its end in pieces, checking that each decodes in the given encoding (a
// character cut by a piece's end is carried over to the next), and takes the length read as
// the file's. The first piece that does not decode ends the check. False on a read error
// (failure_ says why).
bool GraphDataFile::scanWhole(bool shiftJis, bool &valid)
{
    QByteArray buffer;
    qint64 at = 0;
    qsizetype kept = 0;  // an unfinished character carried over from the last piece
    valid = true;
    for (;;) {
        buffer.resize(kept + piece_);
        const qint64 got = readAt(buffer.data() + kept, piece_, at);
        if (got < 0) {
            failure_ = systemReason(errno);
            return false;
        }
        at += got;
        const QByteArrayView bytes(buffer.constData(), kept + qsizetype(got));
        qsizetype end = bytes.size();
        if (got != 0)
            end = shiftJis ? shiftJisPieceEnd(bytes) : utf8PieceEnd(bytes);
        // A UTF-8 mark is valid UTF-8 itself, so the whole file is checked as it stands.
        const QByteArrayView piece = bytes.first(end);
        valid = piece.isEmpty() || (shiftJis ? bool(shiftJisToUtf8(piece)) : isValidUtf8(piece));
        if (got == 0 || !valid)
            break;
        kept = bytes.size() - end;
        std::memmove(buffer.data(), buffer.constData() + end, std::size_t(kept));
    }
    length_ = at;
    return true;
}

bool GraphDataFile::readNextPiece(QByteArray &into)
{
    if (next_ >= length_)
        return false;
    const qsizetype n = qsizetype(std::min<qint64>(piece_, length_ - next_));
    const qsizetype before = into.size();
    into.resize(before + n);
    const qint64 got = readAt(into.data() + before, n, next_);
    if (got <= 0) {
        // An error, or a file shorter now than when it was opened: it ends here.
        if (got < 0)
            failure_ = systemReason(errno);
        else
            cutShort_ = true;
        into.truncate(before);
        next_ = length_;
        return false;
    }
    into.truncate(before + qsizetype(got));
    next_ += got;
    return true;
}

bool GraphDataFile::appendPiece(QByteArray &to)
{
    if (!shiftJis_)
        return readNextPiece(to);
    // Shift_JIS: raw bytes gather until a piece can end, then decode.
    for (;;) {
        readNextPiece(carry_);
        const bool last = next_ >= length_;
        if (last && carry_.isEmpty())
            return false;
        const qsizetype end = last ? carry_.size() : shiftJisPieceEnd(carry_);
        if (end == 0)
            continue;
        const std::optional<QByteArray> text = shiftJisToUtf8(QByteArrayView(carry_).first(end));
        carry_.remove(0, end);
        if (!text) {
            // The bytes differ from those checked at opening: nothing more of them is used.
            changed_ = true;
            carry_.clear();
            next_ = length_;
            return false;
        }
        to.append(*text);
        if (!text->isEmpty())
            return true;
    }
}

void GraphDataFile::rewind()
{
    next_ = start_;
    carry_.clear();
}

bool GraphDataFile::textAhead() const
{
    if (holdsText(carry_))
        return true;
    QByteArray buffer(qsizetype(std::min<qint64>(piece_, std::max<qint64>(length_ - next_, 0))), Qt::Uninitialized);
    for (qint64 at = next_; at < length_;) {
        const qint64 got = readAt(buffer.data(), std::min<qint64>(buffer.size(), length_ - at), at);
        if (got <= 0)
            return false;
        if (holdsText(QByteArrayView(buffer.constData(), qsizetype(got))))
            return true;
        at += got;
    }
    return false;
}

} // namespace nikra
