#pragma once
// A Graph Data file read in pieces, so that a file of any length is drawn in bounded memory.
//
// Opening reads the file through once: it must be a regular file and its text must decode
// by the rule every reader follows (text_codec.h), checked over the whole file before a
// single value is used, so a file that cannot be decoded draws nothing, as when it was read
// whole. The pieces then come as UTF-8 bytes without a mark, exactly the bytes the whole
// file would give, up to the length the first reading saw. A file cut short meanwhile simply
// ends sooner; it is read with pread into a buffer of its own, never mapped, so a shrinking
// file cannot fault the program.

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;

namespace nikra {

class GraphDataFile {
public:
    // The bytes one piece reads from the file.
    static constexpr qsizetype kPieceBytes = qsizetype(1) << 20;

    enum class Opened {
        Yes,
        Unreadable,  // failure() says why
        NotDecoded,  // neither UTF-8 nor Shift_JIS, or a second byte-order mark
    };

    GraphDataFile();
    ~GraphDataFile();
    GraphDataFile(const GraphDataFile &) = delete;
    GraphDataFile &operator=(const GraphDataFile &) = delete;

    Opened open(const QString &path, qsizetype pieceBytes = kPieceBytes);
    // Why the file could not be read, at opening or later (a read error); empty otherwise.
    const QString &failure() const { return failure_; }
    // True when the text changed under the reading so that it no longer decodes.
    bool changedWhileRead() const { return changed_; }
    // True when the file ended before the length the opening checked: it was cut short.
    bool cutShort() const { return cutShort_; }

    // Appends the next piece of the text to `to`; false, with nothing appended, at the end.
    bool appendPiece(QByteArray &to);
    // Serves the text again from its start, up to the length the opening checked (for a
    // reading that passes over the file more than once).
    void rewind();
    // True when anything but blanks and line ends is still to come from the file.
    bool textAhead() const;
    // File bytes not yet read into pieces, and the file's length.
    qint64 bytesLeft() const { return length_ - next_; }
    qint64 length() const { return length_; }

private:
    Opened checkText();
    bool scanWhole(bool shiftJis, bool &valid);
    // Appends the file's next piece of bytes as they stand; false at the end of the length
    // checked, on a read error (failure_ says why) or when the file has become shorter.
    bool readNextPiece(QByteArray &into);
    // Reads up to n bytes at `at`, however the system splits the reading; -1 on an error.
    qint64 readAt(char *into, qint64 n, qint64 at) const;

    std::unique_ptr<QFile> file_;
    int fd_ = -1;
    qsizetype piece_ = kPieceBytes;
    qint64 length_ = 0;  // the bytes the opening read and checked
    qint64 next_ = 0;    // where the next piece starts
    qint64 start_ = 0;   // where the text starts: after a mark
    bool shiftJis_ = false;
    QByteArray carry_;   // Shift_JIS bytes read but not yet decoded
    QString failure_;
    bool changed_ = false;
    bool cutShort_ = false;
};

} // namespace nikra
