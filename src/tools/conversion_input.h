#pragma once
// The input of a conversion, read a piece at a time and as often as the conversion needs:
// a first pass learns the data's shape, later passes write. Each pass reads the text exactly
// as the whole text would be read, and ends with a digest of what it read, so a later pass
// that read anything else (the file changed meanwhile) is found out.

#include "formats/graph_data_file.h"
#include "formats/value_reader.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace nikra {

// UTF-8 text without a mark, served in pieces, from its start again when restarted.
class TextPieces {
public:
    virtual ~TextPieces() = default;
    // Appends the next piece to `to`; false, with nothing appended, at the end.
    virtual bool appendPiece(QByteArray &to) = 0;
    virtual void restart() = 0;
    // Why the text could not be read to its end; empty while it could.
    virtual QString failure() const = 0;
};

// Text already in memory, in pieces of the given size.
class BytesPieces : public TextPieces {
public:
    BytesPieces(QByteArray bytes, qsizetype pieceBytes);
    bool appendPiece(QByteArray &to) override;
    void restart() override { next_ = 0; }
    QString failure() const override { return {}; }

private:
    QByteArray bytes_;
    qsizetype piece_;
    qsizetype next_ = 0;
};

// An opened Graph Data file (the decoding rule already checked over the whole file); one
// that became shorter or stopped decoding while it was read has failed.
class FilePieces : public TextPieces {
public:
    explicit FilePieces(GraphDataFile &file) : file_(file) {}
    bool appendPiece(QByteArray &to) override { return file_.appendPiece(to); }
    void restart() override { file_.rewind(); }
    QString failure() const override;

private:
    GraphDataFile &file_;
};

// What one pass read: equal digests mean, beyond reasonable doubt, equal text.
struct TextDigest {
    qint64 bytes = 0;
    std::size_t hash = 0;
    bool operator==(const TextDigest &) const = default;
};

// The values of one pass over the text, read as ValueReader reads the whole text with the
// blanks and line ends after its last value cut off (they hold no value: an empty line
// after a table is no row). Held in memory: the unread rest of a piece, one value running
// past it, and blanks and line ends not yet known to be followed by a value.
class PieceValues {
public:
    explicit PieceValues(TextPieces &text);
    PieceValues(const PieceValues &) = delete;
    PieceValues &operator=(const PieceValues &) = delete;

    ReadStatus readSingle(float &out)
    {
        takeWholeValue();
        return reader_.readSingle(out);
    }
    ReadStatus readInt32(std::int32_t &out)
    {
        takeWholeValue();
        return reader_.readInt32(out);
    }
    // The line (from 1) the reader stands on.
    int line() const { return reader_.line(); }

    // Reads the rest of the text unused, and says what the whole pass read.
    TextDigest finish();
    // The lines of the text up to its last value; known once finish() ran.
    int lineCount() const { return lineEnds_ + (anyValue_ ? 1 : 0); }

private:
    void takeWholeValue();
    // Appends the next piece and shows the reader what of it is followed by a value.
    bool takePiece();

    TextPieces &text_;
    QByteArray bytes_;       // unread text; the reader sees the first `shown_` bytes
    std::size_t shown_ = 0;  // the rest is blanks and line ends that may end the text
    std::size_t wholeUpTo_ = 0;  // values starting up to here are shown whole
    bool ended_ = false;
    ValueReader reader_;
    TextDigest digest_;
    int lineEnds_ = 0;
    bool anyValue_ = false;
};

} // namespace nikra
