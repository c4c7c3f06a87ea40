#include "graph_data_reader.h"

#include "formats/graph_data_file.h"

#include <algorithm>
#include <cmath>

namespace nikra {

namespace {

// log10 as the files have always been read: ln x / ln 10, kept in single precision.
float log10Single(float v) { return float(std::log(double(v)) / std::log(10.0)); }

std::string_view viewOf(const QByteArray &bytes) { return {bytes.constData(), std::size_t(bytes.size())}; }

} // namespace

GraphDataReader::GraphDataReader(QByteArray utf8) : bytes_(std::move(utf8)), reader_(viewOf(bytes_)) {}

GraphDataReader::GraphDataReader(GraphDataFile &file) : reader_(std::string_view()), file_(&file) {}

void GraphDataReader::takeWholeValue()
{
    if (!file_ || (reader_.position() <= wholeUpTo_ && wholeUpTo_ < std::size_t(bytes_.size()))
        || holdsWholeValue(viewOf(bytes_), reader_.position()))
        return;
    // Drop what is read, keep the value begun, and add pieces until the value is whole.
    bytes_.remove(0, qsizetype(reader_.position()));
    for (;;) {
        const bool more = file_->appendPiece(bytes_);
        reader_.moveTo(viewOf(bytes_), 0);
        if (!more || holdsWholeValue(viewOf(bytes_), 0))
            break;
    }
    // A value that starts at or before a comma or a LF ends there at the latest, with all
    // that reading it looks at: values before the last one need no more checks.
    wholeUpTo_ = std::size_t(bytes_.size());
    for (qsizetype i = bytes_.size() - 1; i >= 0; --i) {
        if (bytes_[i] == ',' || bytes_[i] == '\n') {
            wholeUpTo_ = std::size_t(i);
            break;
        }
    }
}

bool GraphDataReader::hasData() const { return reader_.hasText() || (file_ && file_->textAhead()); }

std::size_t GraphDataReader::remainingBytes() const
{
    return reader_.remainingBytes() + (file_ ? std::size_t(file_->bytesLeft()) : 0);
}

double GraphDataReader::shareRead() const
{
    const double total = file_ ? double(file_->length()) : double(bytes_.size());
    return total <= 0 ? 1.0 : std::clamp(1.0 - double(remainingBytes()) / total, 0.0, 1.0);
}

BlockStatus GraphDataReader::readBlock(DataBlock &block, std::int16_t &ipl, bool xLog, bool yLog,
                                       const DiagnosticSink &sink)
{
    block.x.clear();
    block.y.clear();
    const BlockStatus started = startBlock();
    if (started != BlockStatus::Read)
        return started;
    return readPoints(block, count_, ipl, xLog, yLog, sink);
}

BlockStatus GraphDataReader::startBlock()
{
    count_ = 0;
    read_ = 0;
    takeWholeValue();
    if (reader_.readInt32(count_) != ReadStatus::Ok)
        return BlockStatus::Stopped;
    if (count_ < 1)
        return BlockStatus::EndOfData;
    return BlockStatus::Read;
}

BlockStatus GraphDataReader::readPoints(DataBlock &block, std::int32_t most, std::int16_t &ipl, bool xLog,
                                        bool yLog, const DiagnosticSink &sink)
{
    // Reserve only what the rest of the file can hold (a point takes at least four bytes),
    // so a count far beyond the data allocates nothing large.
    const std::int32_t wanted = std::min(most, count_ - read_);
    const std::size_t room = std::min<std::size_t>(std::size_t(wanted), remainingBytes() / 4 + 1);
    block.x.reserve(block.x.size() + room);
    block.y.reserve(block.y.size() + room);

    auto warn = [&](FileKind kind, Msg id) {
        if (sink)
            sink(Diagnostic{kind, id, {}});
    };

    for (std::int32_t i = 0; i < wanted; ++i) {
        float x = 0;
        float y = 0;
        takeWholeValue();
        ReadStatus status = reader_.readSingle(x);
        if (status == ReadStatus::Ok) {
            takeWholeValue();
            status = reader_.readSingle(y);
        }
        if (status == ReadStatus::PastEnd)
            return BlockStatus::CutShort;
        if (status != ReadStatus::Ok)
            return BlockStatus::Stopped;
        if (xLog) {
            if (x <= 0) {
                warn(FileKind::GraphData, Msg::LogOfNonPositive);
                return BlockStatus::Stopped;
            }
            x = log10Single(x);
        }
        if (yLog) {
            if (y <= 0) {
                warn(FileKind::GraphData, Msg::LogOfNonPositive);
                return BlockStatus::Stopped;
            }
            y = log10Single(y);
        }
        if (read_ >= 1 && ipl != 0 && x == lastX_) {
            warn(FileKind::FormatData, Msg::DivideByZero);
            ipl = 0;
        }
        if (read_ >= 2 && ipl != 0) {
            // The product is taken in single precision, as it always was.
            const float before = lastX_ - beforeX_;
            const float after = x - lastX_;
            if (before * after < 0.0f) {
                warn(FileKind::FormatData, Msg::XNotMonotonic);
                ipl = 0;
            }
        }
        block.x.push_back(x);
        block.y.push_back(y);
        beforeX_ = lastX_;
        lastX_ = x;
        ++read_;
    }
    return read_ == count_ ? BlockStatus::Read : BlockStatus::More;
}

} // namespace nikra
