#include "entry_points.h"

#include "formats/format_data_reader.h"
#include "formats/graph_data_reader.h"
#include "formats/text_codec.h"
#include "plot/curves/curve_fit.h"

#include <cstdlib>

namespace nikra::fuzz {

namespace {

QByteArray bytesOf(const std::uint8_t *data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A broken promise of the code under test: stop, so the fuzzer keeps the input.
void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

void formatData(const std::uint8_t *data, std::size_t size)
{
    const std::optional<QByteArray> text = toUtf8Bytes(bytesOf(data, size));
    if (!text)
        return;
    FormatDataReader reader(*text);
    const DiagnosticSink sink = [](const Diagnostic &) {};
    PlotFormat f;
    if (!(reader.readXFrame(f, sink) && reader.readYFrame(f, sink) && reader.readXNumbers(f, sink)
          && reader.readYNumbers(f, sink) && reader.readXTitle(f, sink) && reader.readYTitle(f, sink)
          && reader.skipToCurveLines(sink)))
        return;
    CurveStyle style;
    while (reader.hasCurveLine() && reader.readCurveLine(style, sink)) {
    }
}

void graphData(const std::uint8_t *data, std::size_t size)
{
    if (size < 3)
        return;
    const bool xLog = data[0] & 1;
    const bool yLog = data[0] & 2;
    const auto chosenIpl = std::int16_t(std::uint16_t(data[1] | (data[2] << 8)));
    const std::optional<QByteArray> text = toUtf8Bytes(bytesOf(data + 3, size - 3));
    if (!text)
        return;
    GraphDataReader reader(*text);
    const DiagnosticSink sink = [](const Diagnostic &) {};
    DataBlock block;
    CurvePoints curve;
    while (reader.hasData()) {
        std::int16_t ipl = chosenIpl;
        if (reader.readBlock(block, ipl, xLog, yLog, sink) != BlockStatus::Read)
            return;
        require(block.x.size() == block.y.size() && block.count() >= 1);
        if (block.count() < 2)
            continue;
        if (curveFitLimit(block.count(), ipl) != CurveFitLimit::Within)
            ipl = 0;
        fitCurve(block, ipl, curve);
        require(curve.x.size() == curve.y.size());
        require(curve.size() == std::size_t(curvePointCount(block.count(), ipl)));
    }
}

void textCodec(const std::uint8_t *data, std::size_t size)
{
    const QByteArray raw = bytesOf(data, size);
    const DecodedText decoded = decodeText(raw);
    const std::optional<QByteArray> values = toUtf8Bytes(raw);
    // The value readers and the text readers agree on which files can be read.
    require(values.has_value() == decoded.exact);
    if (!decoded.exact)
        return;
    require(*values == decoded.text.toUtf8());
    // Exactly decoded UTF-8 comes back byte for byte, mark included.
    if (decoded.encoding != TextEncoding::ShiftJis)
        require(encodeText(decoded.text, decoded.encoding) == raw);
}

} // namespace nikra::fuzz
