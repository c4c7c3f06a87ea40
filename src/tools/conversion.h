#pragma once
// Rewrites numeric data between the two layouts a user keeps it in:
//  - the block layout the plot reads (a point count, then that many x y pairs, block after
//    block; a count below 1 ends the data), and
//  - a table of L lines holding x and the y values of the series at that x.
// The window and "nikra convert" both run convertFile, so they read and write alike.

#include "formats/messages.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <string>

namespace nikra {

enum class ConversionMode {
    ParallelToSerial,   // table -> one block per y column, all sharing the x column
    SerialToParallel,   // blocks -> a table: x of the last block, then each block's y
    SerialDifference,   // blocks, then block b minus block b + 1 for each pair in turn
};

// Where a conversion of `input` is written: "#" before the last "." of the file name
// ("g01.dat" gives "g01#.dat"), or "#" after a file name without ".".
QString conversionOutputPath(const QString &input);

// Why a conversion wrote nothing; `line` where the input went wrong (0 when it does not
// point at a line).
struct ConversionProblem {
    Msg id = Msg::ConversionNoInput;
    int line = 0;
};

// How a conversion reads and holds its input. It passes over the input as often as the
// values it holds allow: a table's series, or the rows of a table made of blocks, beyond
// what fits are gathered in further passes.
struct ConversionLimits {
    qsizetype pieceBytes = qsizetype(1) << 20;      // read from the input at a time
    std::size_t heldBytes = std::size_t(64) << 20;  // values held in one pass
};

// The converted text (CR LF line ends) of the input's bytes (UTF-8), or why nothing is
// written; read and converted exactly as convertFile does.
struct ConvertedData {
    std::string text;
    bool hasProblem = false;
    ConversionProblem problem;
};
ConvertedData convertData(ConversionMode mode, const QByteArray &input, const ConversionLimits &limits = {});

struct ConversionOutcome {
    bool written = false;
    Msg problem = Msg::ConversionNoInput;  // when nothing was written
    QStringList args;
    QString message() const { return messageText(problem, args); }
};

// Reads inputPath in pieces, converts it and streams the result into a temporary file that
// takes outputPath's place only when all went well: a problem found late, a failed write or
// an input that changed between passes leaves an earlier file of that name whole.
ConversionOutcome convertFile(ConversionMode mode, const QString &inputPath, const QString &outputPath);

// The title of the conversion's messages.
inline QString conversionTitle() { return programName(); }

} // namespace nikra
