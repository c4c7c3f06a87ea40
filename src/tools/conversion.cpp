#include "tools/conversion.h"

#include "formats/file_bytes.h"
#include "formats/text_codec.h"
#include "formats/value_reader.h"
#include "tools/single_precision_text.h"


#include <cmath>
#include <string_view>
#include <vector>

namespace nikra {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kGap = "   ";

// The numbers of the input (UTF-8 without a mark) without the blanks and empty lines after
// the last value, which hold nothing (an empty line after a table is not
// a row of it, and the reader would take it as a value 0).
std::string_view dataPart(const QByteArray &input)
{
    std::string_view s(input.constData(), std::size_t(input.size()));
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

// The nearest whole number of a / b, halves to even.
std::size_t nearestQuotient(std::size_t a, std::size_t b) { return std::size_t(std::nearbyint(double(a) / double(b))); }

// Values are taken by position; a position past the last value read holds 0.
float valueAt(const std::vector<float> &values, std::size_t index)
{
    return index < values.size() ? values[index] : 0.0f;
}

ConvertedData problem(Msg id, int line = 0)
{
    ConvertedData d;
    d.hasProblem = true;
    d.problem = ConversionProblem{id, line};
    return d;
}

// The text of every value, each made once: a table's x column is written again with
// every series.
class ValueTexts {
public:
    explicit ValueTexts(const std::vector<float> &values)
    {
        ends_.reserve(values.size());
        for (const float v : values) {
            appendSingleText(texts_, v);
            ends_.push_back(texts_.size());
        }
    }
    // A position past the last value holds 0.
    std::string_view at(std::size_t index) const
    {
        if (index >= ends_.size())
            return " 0";
        const std::size_t start = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(texts_).substr(start, ends_[index] - start);
    }

private:
    std::string texts_;
    std::vector<std::size_t> ends_;
};

// -------------------------------------------------------------- the table

ConvertedData parallelToSerial(std::string_view data)
{
    ValueReader reader(data);
    const int lines = reader.lineCount();
    if (lines == 0)
        return problem(Msg::ConversionNoLines);

    // The values in file order, regardless of where the lines end.
    std::vector<float> values;
    values.reserve(data.size() / 2);
    for (;;) {
        const int line = reader.line();
        float v = 0;
        const ReadStatus status = reader.readSingle(v);
        if (status == ReadStatus::PastEnd)
            break;
        if (status != ReadStatus::Ok)
            return problem(Msg::ConversionValueUnreadable, line);
        values.push_back(v);
    }

    const std::size_t rows = std::size_t(lines);
    const std::size_t columns = nearestQuotient(values.size(), rows);
    ConvertedData d;
    if (columns < 2)
        return d;
    const ValueTexts texts(values);
    d.text.reserve((columns - 1) * rows * 24);
    // Count lines and point lines alike are list lines: each number followed by one blank.
    for (std::size_t series = 1; series < columns; ++series) {
        appendWholeText(d.text, (long long)rows);
        d.text += ' ';
        d.text += kLineEnd;
        for (std::size_t r = 0; r < rows; ++r) {
            d.text += texts.at(r * columns);
            d.text += ' ';
            d.text += texts.at(r * columns + series);
            d.text += ' ';
            d.text += kLineEnd;
        }
    }
    return d;
}

// -------------------------------------------------------------- the blocks

// All blocks are taken to have the count of the last block: that many rows, and as many
// blocks as the points fill at that count.
struct BlockShape {
    std::size_t rows = 0;
    std::size_t blocks = 0;
    std::size_t lastStart = 0;  // where the last block's x values begin
};

struct Blocks {
    std::vector<std::int32_t> counts;
    std::vector<float> x;  // every block's x values in reading order
    std::vector<float> y;  // every block's y values in reading order
    BlockShape shape;
};

BlockShape shapeOf(const Blocks &b)
{
    BlockShape shape;
    if (b.counts.empty())
        return shape;
    shape.rows = std::size_t(b.counts.back());
    shape.blocks = nearestQuotient(b.y.size(), shape.rows);
    shape.lastStart = b.x.size() - shape.rows;
    return shape;
}

// Blocks up to a count below 1 or the end of the data, read as the plot reads them.
ConvertedData readBlocks(std::string_view data, Blocks &blocks)
{
    ValueReader reader(data);
    for (;;) {
        const int countLine = reader.line();
        std::int32_t count = 0;
        const ReadStatus status = reader.readInt32(count);
        if (status == ReadStatus::PastEnd || (status == ReadStatus::Ok && count < 1))
            break;
        if (status != ReadStatus::Ok)
            return problem(Msg::ConversionValueUnreadable, countLine);
        for (std::int32_t i = 0; i < count; ++i) {
            for (std::vector<float> *into : {&blocks.x, &blocks.y}) {
                const int line = reader.line();
                float v = 0;
                const ReadStatus s = reader.readSingle(v);
                if (s == ReadStatus::PastEnd)
                    return problem(Msg::ConversionDataEndsEarly, countLine);
                if (s != ReadStatus::Ok)
                    return problem(Msg::ConversionValueUnreadable, line);
                into->push_back(v);
            }
        }
        blocks.counts.push_back(count);
    }
    blocks.shape = shapeOf(blocks);
    return {};
}

ConvertedData serialToParallel(std::string_view data)
{
    Blocks blocks;
    ConvertedData d = readBlocks(data, blocks);
    if (d.hasProblem)
        return d;
    const BlockShape &shape = blocks.shape;
    d.text.reserve(shape.rows * (shape.blocks + 1) * 16);
    for (std::size_t r = 0; r < shape.rows; ++r) {
        d.text += kGap;
        appendSingleText(d.text, blocks.x[shape.lastStart + r]);
        for (std::size_t b = 0; b < shape.blocks; ++b) {
            d.text += kGap;
            appendSingleText(d.text, valueAt(blocks.y, b * shape.rows + r));
        }
        d.text += kLineEnd;
    }
    return d;
}

void appendPoint(std::string &out, float x, float y)
{
    out += kGap;
    appendSingleText(out, x);
    out += kGap;
    appendSingleText(out, y);
    out += kLineEnd;
}

ConvertedData serialDifference(std::string_view data)
{
    Blocks blocks;
    ConvertedData d = readBlocks(data, blocks);
    if (d.hasProblem)
        return d;
    const BlockShape &shape = blocks.shape;
    if (shape.blocks < 2)
        return problem(Msg::ConversionTooFewBlocks);

    // The differences first: one that leaves the single range cannot be written.
    std::vector<float> differences;
    differences.reserve((shape.blocks - 1) * shape.rows);
    for (std::size_t b = 0; b + 1 < shape.blocks; ++b) {
        for (std::size_t j = 0; j < shape.rows; ++j) {
            const float diff = valueAt(blocks.y, b * shape.rows + j) - valueAt(blocks.y, (b + 1) * shape.rows + j);
            if (!std::isfinite(diff))
                return problem(Msg::ConversionDifferenceTooLarge);
            differences.push_back(diff);
        }
    }

    // The input's blocks as read, then the difference blocks, then one empty line.
    d.text.reserve((blocks.x.size() + differences.size()) * 24);
    std::size_t at = 0;
    for (const std::int32_t count : blocks.counts) {
        appendWholeText(d.text, count);
        d.text += kLineEnd;
        for (std::int32_t i = 0; i < count; ++i, ++at)
            appendPoint(d.text, blocks.x[at], blocks.y[at]);
    }
    for (std::size_t b = 0; b + 1 < shape.blocks; ++b) {
        appendWholeText(d.text, (long long)shape.rows);
        d.text += kLineEnd;
        for (std::size_t j = 0; j < shape.rows; ++j)
            appendPoint(d.text, blocks.x[shape.lastStart + j], differences[b * shape.rows + j]);
    }
    d.text += kLineEnd;
    return d;
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

ConvertedData convertData(ConversionMode mode, const QByteArray &input)
{
    const std::string_view data = dataPart(input);
    switch (mode) {
    case ConversionMode::ParallelToSerial:
        return parallelToSerial(data);
    case ConversionMode::SerialToParallel:
        return serialToParallel(data);
    case ConversionMode::SerialDifference:
        return serialDifference(data);
    }
    return {};
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

    const FileBytes bytes = readWholeFile(inputPath);
    if (!bytes)
        return fail(Msg::ConversionInputUnreadable, {inputPath, bytes.failure});
    const std::optional<QByteArray> text = toUtf8Bytes(bytes.bytes);
    if (!text)
        return fail(Msg::ConversionInputUnreadable, {inputPath, messageText(Msg::NotDecodable)});

    const ConvertedData converted = convertData(mode, *text);
    if (converted.hasProblem) {
        QStringList args{inputPath};
        if (converted.problem.line > 0)
            args << QString::number(converted.problem.line);
        return fail(converted.problem.id, args);
    }

    const FileWrite written = writeWholeFile(outputPath, QByteArrayView(converted.text.data(), qsizetype(converted.text.size())));
    if (!written)
        return fail(Msg::ConversionOutputUnwritable, {outputPath, written.failure});
    outcome.written = true;
    return outcome;
}

} // namespace nikra
