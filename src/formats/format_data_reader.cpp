#include "format_data_reader.h"

#include <cmath>
#include <utility>

namespace nikra {

namespace {

void report(const DiagnosticSink &sink, Msg id, QStringList args = {}, int line = 0)
{
    if (sink)
        sink(Diagnostic{FileKind::FormatData, id, std::move(args), line});
}

// |value| must stay below 10^(7 - decimals) so every label fits the seven digit places
// of the number patterns.
bool withinIntegerPart(float value, int decimals)
{
    const double limit = std::pow(10.0, 7 - decimals);
    return -limit < value && value < limit;
}

constexpr const char *kInt16Range = "-32768～32767";
constexpr const char *kSingleRange = "±3.402823E+38";

} // namespace

FormatDataReader::FormatDataReader(QByteArray utf8)
    : bytes_(std::move(utf8)), reader_(std::string_view(bytes_.constData(), std::size_t(bytes_.size())))
{
}

bool FormatDataReader::failed(ReadStatus status, int line, const char *key, const char *range,
                              const DiagnosticSink &sink)
{
    const QString lineText = QString::number(line);
    switch (status) {
    case ReadStatus::Ok:
        return false;
    case ReadStatus::NotNumber:
        report(sink, Msg::FieldNotNumber, {lineText, QString::fromUtf8(key)}, line);
        break;
    case ReadStatus::OutOfRange:
        report(sink, Msg::FieldOutOfRange,
               {lineText, QString::fromUtf8(key), QString::fromUtf8(range)}, line);
        break;
    case ReadStatus::PastEnd:
        report(sink, Msg::FileEndsEarly, {QString::number(reader_.lineCount())});
        break;
    }
    return true;
}

bool FormatDataReader::skip(int lines, const DiagnosticSink &sink)
{
    for (int i = 0; i < lines; ++i) {
        if (!reader_.skipLine()) {
            report(sink, Msg::FileEndsEarly, {QString::number(reader_.lineCount())});
            return false;
        }
    }
    return true;
}

bool FormatDataReader::real(float &v, const char *key, const DiagnosticSink &sink)
{
    const int line = reader_.line();
    return !failed(reader_.readSingle(v), line, key, kSingleRange, sink);
}

bool FormatDataReader::integer(std::int16_t &v, const char *key, const DiagnosticSink &sink)
{
    const int line = reader_.line();
    return !failed(reader_.readInt16(v), line, key, kInt16Range, sink);
}

bool FormatDataReader::text(QString &v, const DiagnosticSink &sink)
{
    const int line = reader_.line();
    return !failed(reader_.readText(v), line, "", "", sink);
}

bool FormatDataReader::readXFrame(PlotFormat &f, const DiagnosticSink &sink)
{
    if (!skip(3, sink) || !real(f.XWD, "XWD", sink) || !real(f.XMN, "XMN", sink)
        || !real(f.XMX, "XMX", sink) || !integer(f.XLG, "XLG", sink) || !real(f.XSF, "XSF", sink)
        || !real(f.RSZ, "RSZ", sink) || !real(f.CSZ, "CSZ", sink) || !integer(f.FNT, "FNT", sink))
        return false;
    if (f.XMN >= f.XMX)
        std::swap(f.XMN, f.XMX);
    if (f.XLG != 0 && f.XLG != 1) {
        report(sink, Msg::XlgChoice);
        f.XLG = 0;
    }
    if (f.FNT < 0 || f.FNT > 7) {
        report(sink, Msg::FntRange);
        f.FNT = 0;
    }
    return true;
}

bool FormatDataReader::readYFrame(PlotFormat &f, const DiagnosticSink &sink)
{
    if (!skip(1, sink) || !real(f.YWD, "YWD", sink) || !real(f.YMN, "YMN", sink)
        || !real(f.YMX, "YMX", sink) || !integer(f.YLG, "YLG", sink) || !real(f.YSP, "YSP", sink))
        return false;
    if (f.YMN >= f.YMX)
        std::swap(f.YMN, f.YMX);
    if (f.YLG != 0 && f.YLG != 1) {
        report(sink, Msg::YlgChoice);
        f.YLG = 0;
    }
    return true;
}

namespace {

// The checks of a numbers line, the same for both axes: the decimals within 0..6, at
// least one division, and the bounds' integer parts within 7 - decimals digits.
struct NumberChecks {
    Msg decimals, divisions, lowIntegerPart, highIntegerPart;
};

bool checkNumbers(std::int16_t &ND, float &DV, float MN, float MX, const NumberChecks &m, const DiagnosticSink &sink)
{
    if (ND < 0 || ND > 6) {
        report(sink, m.decimals);
        ND = 0;
    }
    if (DV == 0) {
        report(sink, m.divisions);
        DV = 1;
    }
    if (!withinIntegerPart(MN, ND)) {
        report(sink, m.lowIntegerPart);
        return false;
    }
    if (!withinIntegerPart(MX, ND)) {
        report(sink, m.highIntegerPart);
        return false;
    }
    return true;
}

} // namespace

bool FormatDataReader::readXNumbers(PlotFormat &f, const DiagnosticSink &sink)
{
    return skip(2, sink) && real(f.XNS, "XNS", sink) && integer(f.XND, "XND", sink) && real(f.XDV, "XDV", sink)
        && real(f.XDS, "XDS", sink)
        && checkNumbers(f.XND, f.XDV, f.XMN, f.XMX,
                        {Msg::XndRange, Msg::XdvZero, Msg::XmnIntegerPart, Msg::XmxIntegerPart}, sink);
}

bool FormatDataReader::readYNumbers(PlotFormat &f, const DiagnosticSink &sink)
{
    return skip(1, sink) && real(f.YNS, "YNS", sink) && integer(f.YND, "YND", sink) && real(f.YDV, "YDV", sink)
        && real(f.YDS, "YDS", sink)
        && checkNumbers(f.YND, f.YDV, f.YMN, f.YMX,
                        {Msg::YndRange, Msg::YdvZero, Msg::YmnIntegerPart, Msg::YmxIntegerPart}, sink);
}

bool FormatDataReader::readXTitle(PlotFormat &f, const DiagnosticSink &sink)
{
    if (!skip(2, sink) || !real(f.XLS, "XLS", sink) || !integer(f.XLP, "XLP", sink)
        || !text(f.XLB, sink))
        return false;
    if (f.XLP < 0 || f.XLP > 2) {
        report(sink, Msg::XlpChoice);
        f.XLP = 1;
    }
    return true;
}

bool FormatDataReader::readYTitle(PlotFormat &f, const DiagnosticSink &sink)
{
    if (!skip(1, sink) || !real(f.YLS, "YLS", sink) || !integer(f.YLP, "YLP", sink)
        || !text(f.YLB, sink))
        return false;
    if (f.YLP < 0 || f.YLP > 2) {
        report(sink, Msg::YlpChoice);
        f.YLP = 1;
    }
    return true;
}

bool FormatDataReader::skipToCurveLines(const DiagnosticSink &sink) { return skip(2, sink); }

bool FormatDataReader::readCurveLine(CurveStyle &s, const DiagnosticSink &sink)
{
    CurveStyle next;
    const bool ok = reader_.readInt16(next.PTP) == ReadStatus::Ok
        && reader_.readSingle(next.PSZ) == ReadStatus::Ok
        && reader_.readInt16(next.PCL) == ReadStatus::Ok
        && reader_.readInt16(next.LTP) == ReadStatus::Ok
        && reader_.readInt16(next.IPL) == ReadStatus::Ok
        && reader_.readInt16(next.RPS) == ReadStatus::Ok
        && reader_.readSingle(next.RDS) == ReadStatus::Ok
        && reader_.readText(next.RLB) == ReadStatus::Ok;
    if (!ok)
        return false;
    if (next.LTP < 0) {
        report(sink, Msg::LtpNegative);
        next.LTP = 0;
    }
    if (next.RPS < 0 || next.RPS > 2) {
        report(sink, Msg::RpsChoice);
        next.RPS = 0;
    }
    s = std::move(next);
    return true;
}

} // namespace nikra
