#include "graph_data_reader.h"

#include <algorithm>
#include <cmath>

namespace nikra {

namespace {

// log10 as the files have always been read: ln x / ln 10, kept in single precision.
float log10Single(float v) { return float(std::log(double(v)) / std::log(10.0)); }

} // namespace

GraphDataReader::GraphDataReader(QByteArray utf8)
    : bytes_(std::move(utf8)),
      reader_(std::string_view(bytes_.constData(), std::size_t(bytes_.size())))
{
}

BlockStatus GraphDataReader::readBlock(DataBlock &block, std::int16_t &ipl, bool xLog, bool yLog,
                                       const DiagnosticSink &sink)
{
    block.x.clear();
    block.y.clear();
    std::int32_t &count = count_;
    count = 0;
    if (reader_.readInt32(count) != ReadStatus::Ok)
        return BlockStatus::Stopped;
    if (count < 1)
        return BlockStatus::EndOfData;

    // Reserve only what the rest of the file can hold (a point takes at least four bytes),
    // so a count far beyond the data allocates nothing large.
    const std::size_t room = std::min<std::size_t>(std::size_t(count), reader_.remainingBytes() / 4 + 1);
    block.x.reserve(room);
    block.y.reserve(room);

    auto warn = [&](FileKind kind, Msg id) {
        if (sink)
            sink(Diagnostic{kind, id, {}});
    };

    for (std::int32_t i = 0; i < count; ++i) {
        float x = 0;
        float y = 0;
        ReadStatus status = reader_.readSingle(x);
        if (status == ReadStatus::Ok)
            status = reader_.readSingle(y);
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
        const std::size_t n = block.x.size();
        if (n >= 1 && ipl != 0 && x == block.x[n - 1]) {
            warn(FileKind::FormatData, Msg::DivideByZero);
            ipl = 0;
        }
        if (n >= 2 && ipl != 0) {
            // The product is taken in single precision, as it always was.
            const float before = block.x[n - 1] - block.x[n - 2];
            const float after = x - block.x[n - 1];
            if (before * after < 0.0f) {
                warn(FileKind::FormatData, Msg::XNotMonotonic);
                ipl = 0;
            }
        }
        block.x.push_back(x);
        block.y.push_back(y);
    }
    return BlockStatus::Read;
}

} // namespace nikra
