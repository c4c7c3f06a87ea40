#include "formats/range_writeback.h"

#include "formats/number_text.h"
#include "formats/path_memory.h"
#include "formats/text_codec.h"
#include "formats/value_reader.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cmath>
#include <vector>

namespace nikra {

namespace {

// The first `count` values of a line, read as the Format Data reader reads them.
std::optional<std::vector<double>> lineValues(const QString &line, int count)
{
    const QByteArray bytes = line.toUtf8();
    ValueReader reader(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    std::vector<double> values;
    for (int i = 0; i < count; ++i) {
        float v = 0;
        if (reader.readSingle(v) != ReadStatus::Ok)
            return std::nullopt;
        values.push_back(v);
    }
    return values;
}

// The division count of line 9 or 11 (its third value); a missing or unreadable line, or
// 0, counts as one division, as the reader takes it.
double divisions(const QStringList &lines, int lineNumber)
{
    if (lines.size() < lineNumber)
        return 1;
    const auto values = lineValues(lines.at(lineNumber - 1), 3);
    const double dv = values ? std::fabs((*values)[2]) : 0;
    return dv == 0 ? 1 : dv;
}

QString fixed(double v) { return formatDecimal(v, 1, 6, true); }       // ######0.0#####
QString fixedNoZero(double v) { return formatDecimal(v, 1, 6, false); } // #######.0#####

// Shifts values[min] and values[max] by whole divisions; false when the result is not a
// finite single-precision number.
bool shift(std::vector<double> &values, std::size_t min, std::size_t max, double dv, float pan)
{
    const float step = float(std::fabs(double(float(values[max])) - float(values[min])) / dv);
    for (std::size_t i : {min, max}) {
        const float moved = float(values[i]) + step * pan;
        if (!std::isfinite(moved))
            return false;
        values[i] = moved;
    }
    return true;
}

} // namespace

ShiftedText shiftedRangesText(const QString &text, float panX, float panY)
{
    QStringList lines = splitLines(text);
    ShiftedText out;
    if (lines.size() >= 4) {
        auto values = lineValues(lines.at(3), 8);
        if (!values || !shift(*values, 1, 2, divisions(lines, 9), panX)) {
            out.unreadableLine = 4;
            return out;
        }
        // XLG and FNT are whole numbers, read as the nearest one.
        (*values)[3] = std::nearbyint((*values)[3]);
        (*values)[7] = std::nearbyint((*values)[7]);
        QString line;
        for (std::size_t i = 0; i < 8; ++i)
            line += QStringLiteral("   ") + (i == 7 ? fixedNoZero((*values)[i]) : fixed((*values)[i]));
        lines[3] = line;
    }
    if (lines.size() >= 6) {
        auto values = lineValues(lines.at(5), 5);
        if (!values || !shift(*values, 1, 2, divisions(lines, 11), panY)) {
            out.unreadableLine = 6;
            return out;
        }
        (*values)[3] = std::nearbyint((*values)[3]);
        QString line;
        for (double v : *values)
            line += QStringLiteral("   ") + fixed(v);
        lines[5] = line;
    }
    out.text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return out;
}

WriteBack writeShiftedRanges(const QString &path, float panX, float panY)
{
    if (!QFileInfo(path).isFile())
        return {WriteBack::Status::Missing, 0};
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return {WriteBack::Status::Unreadable, 0};
    const QByteArray raw = in.readAll();
    in.close();
    const DecodedText decoded = decodeText(raw);
    const ShiftedText shifted = shiftedRangesText(decoded.text, panX, panY);
    if (shifted.unreadableLine != 0)
        return {WriteBack::Status::Unreadable, shifted.unreadableLine};

    QSaveFile out(path);
    const QByteArray bytes = encodeText(shifted.text, decoded.encoding);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return {WriteBack::Status::Unwritable, 0};
    return {};
}

} // namespace nikra
