#pragma once
// Reads a Graph Data file one block at a time: a point count, then that many x, y pairs,
// with the logarithm on log axes and the two checks that turn fitting off (IPL = 0). The
// text is either all in memory or a file read in pieces; a block may be read whole or a
// window of points at a time.

#include "diagnostic_sink.h"
#include "value_reader.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace nikra {

// The current block: x and y as read (or their base-10 logarithms on a log axis), single
// precision, points 0..count-1.
struct DataBlock {
    std::vector<float> x;
    std::vector<float> y;
    int count() const { return int(x.size()); }
};

enum class BlockStatus {
    Read,       // a block of at least one point is in the DataBlock
    EndOfData,  // a count below 1: nothing after it is read
    Stopped,    // a value that cannot be read, or a logarithm of a value not above zero
    CutShort,   // the file ends before the block has as many points as its count says;
                // the points read are in the DataBlock
    More,       // readPoints: the window is full and more points of the block follow
};

class GraphDataFile;

class GraphDataReader {
public:
    // utf8: the file's text as UTF-8 bytes without a mark (see toUtf8Bytes). Graph Data holds
    // only numbers, blanks, commas and line ends, which these bytes keep as they are.
    explicit GraphDataReader(QByteArray utf8);
    // The text of an opened file, taken a piece at a time as the reading needs it: the
    // reader holds the unread rest of a piece and one value that runs past it.
    explicit GraphDataReader(GraphDataFile &file);
    GraphDataReader(const GraphDataReader &) = delete;
    GraphDataReader &operator=(const GraphDataReader &) = delete;

    // True while anything but blanks and line ends remains.
    bool hasData() const;
    // The share of the file read so far, 0 to 1 (for progress shown while a pass runs).
    double shareRead() const;

    // ipl is the current curve line's IPL; the checks set it to 0 and say so through the
    // sink (Format Data title). A logarithm of zero or less is reported under the Graph
    // Data title and stops the block; other read failures stop it silently.
    BlockStatus readBlock(DataBlock &block, std::int16_t &ipl, bool xLog, bool yLog,
                          const DiagnosticSink &sink);

    // The same in steps: the block's count (Read: a block of at least one point follows),
    // then its points, at most `most` at a time, appended to the DataBlock. readPoints says
    // Read once the last point is read, More while points remain.
    BlockStatus startBlock();
    BlockStatus readPoints(DataBlock &block, std::int32_t most, std::int16_t &ipl, bool xLog, bool yLog,
                           const DiagnosticSink &sink);

    // The point count of the block read last, and how many of its points were read.
    std::int32_t blockCount() const { return count_; }
    std::int32_t pointsRead() const { return read_; }

private:
    // Makes sure the next value and what ends it are in memory (a file read in pieces).
    void takeWholeValue();
    std::size_t remainingBytes() const;

    QByteArray bytes_;
    ValueReader reader_;
    GraphDataFile *file_ = nullptr;
    std::size_t wholeUpTo_ = 0;  // values starting up to here are in memory whole
    std::int32_t count_ = 0;
    std::int32_t read_ = 0;
    float lastX_ = 0;    // the x of the point read last
    float beforeX_ = 0;  // and of the one before it
};

} // namespace nikra
