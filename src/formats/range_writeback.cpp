#include "formats/range_writeback.h"

#include "formats/file_bytes.h"
#include "formats/messages.h"
#include "formats/number_text.h"
#include "formats/path_memory.h"
#include "formats/text_codec.h"
#include "formats/value_reader.h"

#include <QFileInfo>

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

namespace {

// Rebuilds a frame line (line 4 or 6, 0-based index) with its range (values 1 and 2)
// shifted; integerKeys are read as whole numbers, the last of `count` values written with
// "#######.0#####" when lastWithoutZero. False when the line cannot be read.
bool rebuildFrameLine(QStringList &lines, int index, int count, int divisionsLine, float pan,
                      std::initializer_list<std::size_t> integerKeys, bool lastWithoutZero)
{
    if (lines.size() <= index)
        return true;  // a short file is rewritten with the lines it has
    auto values = lineValues(lines.at(index), count);
    if (!values || !shift(*values, 1, 2, divisions(lines, divisionsLine), pan))
        return false;
    for (std::size_t i : integerKeys)
        (*values)[i] = std::nearbyint((*values)[i]);
    QString line;
    for (std::size_t i = 0; i < values->size(); ++i) {
        const bool last = i + 1 == values->size();
        line += QStringLiteral("   ") + (last && lastWithoutZero ? fixedNoZero((*values)[i]) : fixed((*values)[i]));
    }
    lines[index] = line;
    return true;
}

} // namespace

ShiftedText shiftedRangesText(const QString &text, float panX, float panY)
{
    QStringList lines = splitLines(text);
    ShiftedText out;
    // Line 4: XWD XMN XMX XLG XSF RSZ CSZ FNT; line 6: YWD YMN YMX YLG YSP.
    if (!rebuildFrameLine(lines, 3, 8, 9, panX, {3, 7}, true)) {
        out.unreadableLine = 4;
        return out;
    }
    if (!rebuildFrameLine(lines, 5, 5, 11, panY, {3}, false)) {
        out.unreadableLine = 6;
        return out;
    }
    out.text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return out;
}

WriteBack writeShiftedRanges(const QString &path, float panX, float panY)
{
    if (!QFileInfo(path).isFile())
        return {WriteBack::Status::Missing, 0, {}};
    const FileBytes raw = readWholeFile(path);
    if (!raw)
        return {WriteBack::Status::NotRead, 0, raw.failure};
    const DecodedText decoded = decodeText(raw.bytes);
    // Text that was not decoded exactly would come back with other bytes on every line.
    if (!decoded.exact)
        return {WriteBack::Status::NotRead, 0, messageText(Msg::NotDecodable)};
    const ShiftedText shifted = shiftedRangesText(decoded.text, panX, panY);
    if (shifted.unreadableLine != 0)
        return {WriteBack::Status::Unreadable, shifted.unreadableLine, {}};

    const FileWrite written = writeWholeFile(path, encodeText(shifted.text, decoded.encoding));
    if (!written)
        return {WriteBack::Status::Unwritable, 0, written.failure};
    return {};
}

} // namespace nikra
