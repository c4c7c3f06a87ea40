#include "tools/conversion.h"

#include "formats/file_bytes.h"
#include "formats/graph_data_file.h"
#include "tools/conversion_input.h"
#include "tools/single_precision_text.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace nikra {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kGap = "   ";
// Converted text gathered before it is handed on.
constexpr std::size_t kSpillBytes = std::size_t(1) << 16;

// The nearest whole number of a / b, halves to even.
std::size_t nearestQuotient(std::size_t a, std::size_t b) { return std::size_t(std::nearbyint(double(a) / double(b))); }

void appendPoint(std::string &out, float x, float y)
{
    out += kGap;
    appendSingleText(out, x);
    out += kGap;
    appendSingleText(out, y);
    out += kLineEnd;
}

using TextSink = std::function<bool(std::string_view)>;

// One conversion: a first pass over the input checks it and learns its shape, so that every
// problem the input itself has (but a difference out of range) is known before the output
// is touched; the passes after it write. Values are taken by position, and a position past
// the last value holds 0.
class Conversion {
public:
    enum class Ending {
        Done,
        Problem,       // problem() says what the input holds that cannot be converted
        InputFailed,   // inputFailure() says why
        InputChanged,  // a later pass read other text than the first
        OutputFailed,
    };

    Conversion(ConversionMode mode, TextPieces &input, const ConversionLimits &limits)
        : mode_(mode), input_(input), limits_(limits)
    {
    }

    // The first pass; false when nothing is to be written (ending() says why).
    bool measure();
    // The passes that write, handing the text on to `sink` a part at a time.
    void write(const TextSink &sink);

    Ending ending() const { return ending_; }
    const ConversionProblem &problem() const { return problem_; }
    QString inputFailure() const { return input_.failure(); }

private:
    // All blocks are taken to have the count of the last block: that many rows, and as many
    // blocks as the points fill at that count.
    struct BlockShape {
        std::size_t rows = 0;
        std::size_t blocks = 0;
        std::size_t points = 0;
        std::size_t lastStart = 0;  // the point where the last block begins
    };

    PieceValues &beginPass()
    {
        input_.restart();
        values_.emplace(input_);
        return *values_;
    }
    bool endPass();
    bool stop(Ending ending)
    {
        if (ending_ == Ending::Done)
            ending_ = ending;
        return false;
    }
    bool noteProblem(Msg id, int line = 0)
    {
        problem_ = ConversionProblem{id, line};
        return false;
    }
    bool stopWith(Msg id, int line = 0)
    {
        noteProblem(id, line);
        return stop(Ending::Problem);
    }
    // The first pass found a problem (problem_); a reading error may be its cause.
    bool firstPassProblem()
    {
        endPass();
        return stop(Ending::Problem);
    }
    // A later pass could not read what the first one did.
    void laterPassProblem()
    {
        if (endPass())
            stop(Ending::InputChanged);
    }
    bool spill()
    {
        if (out_.size() < kSpillBytes)
            return true;
        return handOn();
    }
    bool handOn()
    {
        if (ending_ == Ending::Done && !(*sink_)(out_))
            stop(Ending::OutputFailed);
        out_.clear();
        return ending_ == Ending::Done;
    }

    template <class OnCount, class OnPoint>
    bool readBlocks(PieceValues &values, OnCount onCount, OnPoint onPoint);

    bool measureTable();
    bool measureBlocks();
    void writeTableAsBlocks();
    void writeBlocksAsTable();
    void writeBlocksAndDifferences();

    ConversionMode mode_;
    TextPieces &input_;
    ConversionLimits limits_;
    std::optional<PieceValues> values_;
    bool firstPassDone_ = false;
    TextDigest firstPass_;
    Ending ending_ = Ending::Done;
    ConversionProblem problem_;
    const TextSink *sink_ = nullptr;
    std::string out_;
    // The first pass's findings: the table's rows and values, or the blocks' shape.
    std::size_t tableRows_ = 0;
    std::size_t tableValues_ = 0;
    BlockShape shape_;
};

// Ends a pass: the rest of the input is read, and it must have been read to its end and
// give what the first pass read.
bool Conversion::endPass()
{
    const TextDigest digest = values_->finish();
    if (!input_.failure().isEmpty())
        return stop(Ending::InputFailed);
    if (!firstPassDone_) {
        firstPassDone_ = true;
        firstPass_ = digest;
    } else if (digest != firstPass_) {
        return stop(Ending::InputChanged);
    }
    return true;
}

// Blocks up to a count below 1 or the end of the data, read as the plot reads them: each
// block's count goes to onCount before its points go to onPoint. False when a value cannot
// be read or a block is cut short (problem_ says what and where).
template <class OnCount, class OnPoint>
bool Conversion::readBlocks(PieceValues &values, OnCount onCount, OnPoint onPoint)
{
    for (;;) {
        const int countLine = values.line();
        std::int32_t count = 0;
        const ReadStatus status = values.readInt32(count);
        if (status == ReadStatus::PastEnd || (status == ReadStatus::Ok && count < 1))
            return true;
        if (status != ReadStatus::Ok)
            return noteProblem(Msg::ConversionValueUnreadable, countLine);
        onCount(count);
        for (std::int32_t i = 0; i < count; ++i) {
            float xy[2] = {0, 0};
            for (float &v : xy) {
                const int line = values.line();
                const ReadStatus s = values.readSingle(v);
                if (s == ReadStatus::PastEnd)
                    return noteProblem(Msg::ConversionDataEndsEarly, countLine);
                if (s != ReadStatus::Ok)
                    return noteProblem(Msg::ConversionValueUnreadable, line);
            }
            onPoint(xy[0], xy[1]);
        }
    }
}

bool Conversion::measure()
{
    return mode_ == ConversionMode::ParallelToSerial ? measureTable() : measureBlocks();
}

void Conversion::write(const TextSink &sink)
{
    sink_ = &sink;
    switch (mode_) {
    case ConversionMode::ParallelToSerial:
        writeTableAsBlocks();
        break;
    case ConversionMode::SerialToParallel:
        writeBlocksAsTable();
        break;
    case ConversionMode::SerialDifference:
        writeBlocksAndDifferences();
        break;
    }
    if (ending_ == Ending::Done)
        handOn();
}

// -------------------------------------------------------------- the table

// The values in file order, regardless of where the lines end, and the lines up to the
// last value.
bool Conversion::measureTable()
{
    PieceValues &values = beginPass();
    for (;;) {
        const int line = values.line();
        float v = 0;
        const ReadStatus status = values.readSingle(v);
        if (status == ReadStatus::PastEnd)
            break;
        if (status != ReadStatus::Ok)
            return noteProblem(Msg::ConversionValueUnreadable, line) || firstPassProblem();
        ++tableValues_;
    }
    if (!endPass())
        return false;
    tableRows_ = std::size_t(values.lineCount());
    if (tableRows_ == 0)
        return stopWith(Msg::ConversionNoLines);
    return true;
}

// One block per y column. A pass holds the x column and as many series as fit in the
// bound, at least one, however long the table is.
void Conversion::writeTableAsBlocks()
{
    const std::size_t rows = tableRows_;
    const std::size_t columns = nearestQuotient(tableValues_, rows);
    if (columns < 2)
        return;
    const std::size_t fit = limits_.heldBytes / (sizeof(float) * rows);
    const std::size_t seriesPerPass = fit > 2 ? fit - 1 : 1;
    std::vector<float> x;
    std::vector<float> y;
    for (std::size_t first = 1; first < columns; first += seriesPerPass) {
        const std::size_t end = std::min(columns, first + seriesPerPass);
        x.assign(rows, 0.0f);
        y.assign((end - first) * rows, 0.0f);
        PieceValues &values = beginPass();
        for (std::size_t i = 0; i < rows * columns; ++i) {
            float v = 0;
            const ReadStatus status = values.readSingle(v);
            if (status == ReadStatus::PastEnd)
                break;
            if (status != ReadStatus::Ok)
                return laterPassProblem();
            const std::size_t column = i % columns;
            if (column == 0)
                x[i / columns] = v;
            else if (column >= first && column < end)
                y[(column - first) * rows + i / columns] = v;
        }
        if (!endPass())
            return;
        // Count lines and point lines alike are list lines: each number followed by one blank.
        for (std::size_t series = 0; series < end - first; ++series) {
            appendWholeText(out_, (long long)rows);
            out_ += ' ';
            out_ += kLineEnd;
            for (std::size_t r = 0; r < rows; ++r) {
                appendSingleText(out_, x[r]);
                out_ += ' ';
                appendSingleText(out_, y[series * rows + r]);
                out_ += ' ';
                out_ += kLineEnd;
                if (!spill())
                    return;
            }
        }
    }
}

// -------------------------------------------------------------- the blocks

bool Conversion::measureBlocks()
{
    PieceValues &values = beginPass();
    std::int32_t lastCount = 0;
    std::size_t points = 0;
    if (!readBlocks(values, [&](std::int32_t count) { lastCount = count; }, [&](float, float) { ++points; }))
        return firstPassProblem();
    if (!endPass())
        return false;
    if (lastCount > 0) {
        shape_.rows = std::size_t(lastCount);
        shape_.points = points;
        shape_.blocks = nearestQuotient(points, shape_.rows);
        shape_.lastStart = points - shape_.rows;
    }
    if (mode_ == ConversionMode::SerialDifference && shape_.blocks < 2)
        return stopWith(Msg::ConversionTooFewBlocks);
    return true;
}

// A table: x of the last block, then each block's y. A transpose: a pass holds the values
// of as many rows as fit in the bound, at least one row, however many blocks it spans.
void Conversion::writeBlocksAsTable()
{
    const BlockShape s = shape_;
    const std::size_t rowsPerPass = std::max<std::size_t>(1, limits_.heldBytes / (sizeof(float) * (s.blocks + 1)));
    std::vector<float> x;
    std::vector<float> y;
    for (std::size_t first = 0; first < s.rows; first += rowsPerPass) {
        const std::size_t end = std::min(s.rows, first + rowsPerPass);
        x.assign(end - first, 0.0f);
        y.assign((end - first) * s.blocks, 0.0f);
        std::size_t at = 0;
        PieceValues &values = beginPass();
        const bool read = readBlocks(values, [](std::int32_t) {}, [&](float px, float py) {
            const std::size_t row = at % s.rows;
            if (row >= first && row < end && at / s.rows < s.blocks)
                y[(row - first) * s.blocks + at / s.rows] = py;
            if (at >= s.lastStart && at - s.lastStart >= first && at - s.lastStart < end)
                x[at - s.lastStart - first] = px;
            ++at;
        });
        if (!read)
            return laterPassProblem();
        if (!endPass())
            return;
        for (std::size_t r = 0; r < end - first; ++r) {
            out_ += kGap;
            appendSingleText(out_, x[r]);
            for (std::size_t b = 0; b < s.blocks; ++b) {
                out_ += kGap;
                appendSingleText(out_, y[r * s.blocks + b]);
            }
            out_ += kLineEnd;
            if (!spill())
                return;
        }
    }
}

// The input's blocks as read, then block b minus block b + 1 for each pair in turn at the
// last block's x, then one empty line. A pass copies the blocks and keeps the last block's
// x; the next holds one block's y to take the differences. A difference that leaves the
// single range is found only there: the text written so far is abandoned.
void Conversion::writeBlocksAndDifferences()
{
    const BlockShape s = shape_;
    std::vector<float> lastX(s.rows, 0.0f);
    std::size_t at = 0;
    PieceValues &copying = beginPass();
    const bool copied = readBlocks(
        copying,
        [&](std::int32_t count) {
            appendWholeText(out_, count);
            out_ += kLineEnd;
        },
        [&](float x, float y) {
            appendPoint(out_, x, y);
            if (at >= s.lastStart && at - s.lastStart < s.rows)
                lastX[at - s.lastStart] = x;
            ++at;
            spill();
        });
    if (!copied)
        return laterPassProblem();
    if (!endPass())
        return;

    std::vector<float> before(s.rows, 0.0f);  // the block before's y
    bool tooLarge = false;
    at = 0;
    auto takeY = [&](float y) {
        const std::size_t b = at / s.rows;
        const std::size_t j = at % s.rows;
        ++at;
        if (b >= s.blocks || tooLarge)
            return;
        if (b > 0) {
            const float difference = before[j] - y;
            if (!std::isfinite(difference)) {
                tooLarge = true;
                return;
            }
            if (j == 0) {
                appendWholeText(out_, (long long)s.rows);
                out_ += kLineEnd;
            }
            appendPoint(out_, lastX[j], difference);
            spill();
        }
        before[j] = y;
    };
    PieceValues &differing = beginPass();
    if (!readBlocks(differing, [](std::int32_t) {}, [&](float, float y) { takeY(y); }))
        return laterPassProblem();
    if (!endPass())
        return;
    while (at < s.blocks * s.rows && !tooLarge)
        takeY(0.0f);
    if (tooLarge) {
        stopWith(Msg::ConversionDifferenceTooLarge);
        return;
    }
    out_ += kLineEnd;
}

} // namespace

QString conversionOutputPath(const QString &input)
{
    const qsizetype nameStart = input.lastIndexOf(u'/') + 1;
    const qsizetype dot = input.lastIndexOf(u'.');
    if (dot < nameStart)
        return input + u'#';
    return input.left(dot) + u'#' + input.mid(dot);
}

ConvertedData convertData(ConversionMode mode, const QByteArray &input, const ConversionLimits &limits)
{
    BytesPieces pieces(input, limits.pieceBytes);
    Conversion conversion(mode, pieces, limits);
    ConvertedData d;
    if (conversion.measure())
        conversion.write([&d](std::string_view text) {
            d.text += text;
            return true;
        });
    if (conversion.ending() != Conversion::Ending::Done) {
        d.text.clear();
        d.hasProblem = true;
        d.problem = conversion.problem();
    }
    return d;
}

ConversionOutcome convertFile(ConversionMode mode, const QString &inputPath, const QString &outputPath)
{
    ConversionOutcome outcome;
    auto fail = [&outcome](Msg id, QStringList args) {
        outcome.problem = id;
        outcome.args = std::move(args);
        return outcome;
    };
    if (inputPath.trimmed().isEmpty())
        return fail(Msg::ConversionNoInput, {});

    const ConversionLimits limits;
    GraphDataFile file;
    switch (file.open(inputPath, limits.pieceBytes)) {
    case GraphDataFile::Opened::Yes:
        break;
    case GraphDataFile::Opened::Unreadable:
        return fail(Msg::ConversionInputUnreadable, {inputPath, file.failure()});
    case GraphDataFile::Opened::NotDecoded:
        return fail(Msg::ConversionInputUnreadable, {inputPath, messageText(Msg::NotDecodable)});
    }
    FilePieces pieces(file);
    Conversion conversion(mode, pieces, limits);
    // The input is checked whole before the output is touched.
    FileWrite written;
    if (conversion.measure()) {
        written = writeStreamedFile(outputPath, [&conversion](FileStream &out) {
            conversion.write([&out](std::string_view text) {
                return out.write(QByteArrayView(text.data(), qsizetype(text.size())));
            });
            return conversion.ending() == Conversion::Ending::Done;
        });
    }
    switch (conversion.ending()) {
    case Conversion::Ending::Done:
    case Conversion::Ending::OutputFailed:
        break;
    case Conversion::Ending::Problem: {
        QStringList args{inputPath};
        if (conversion.problem().line > 0)
            args << QString::number(conversion.problem().line);
        return fail(conversion.problem().id, args);
    }
    case Conversion::Ending::InputFailed:
        return fail(Msg::ConversionInputUnreadable, {inputPath, conversion.inputFailure()});
    case Conversion::Ending::InputChanged:
        return fail(Msg::ConversionInputUnreadable, {inputPath, messageText(Msg::ChangedWhileRead)});
    }
    if (!written)
        return fail(Msg::ConversionOutputUnwritable, {outputPath, written.failure});
    outcome.written = true;
    return outcome;
}

} // namespace nikra
