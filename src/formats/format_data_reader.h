#pragma once
// Reads a Format Data file section by section, with every check, fallback and stop, in the
// order the plot pass needs them (the pass derives the frame geometry and applies the view
// between the sections). Each section returns false when the slot must stop; the reason
// has then been sent to the sink.

#include "diagnostic_sink.h"
#include "plot_format.h"
#include "value_reader.h"

#include <QByteArray>

namespace nikra {

class FormatDataReader {
public:
    // utf8: the file's text as UTF-8 bytes (see toUtf8Bytes).
    explicit FormatDataReader(QByteArray utf8);
    FormatDataReader(const FormatDataReader &) = delete;
    FormatDataReader &operator=(const FormatDataReader &) = delete;

    bool readXFrame(PlotFormat &f, const DiagnosticSink &sink);    // lines 1-4
    bool readYFrame(PlotFormat &f, const DiagnosticSink &sink);    // lines 5-6
    bool readXNumbers(PlotFormat &f, const DiagnosticSink &sink);  // lines 7-9
    bool readYNumbers(PlotFormat &f, const DiagnosticSink &sink);  // lines 10-11
    bool readXTitle(PlotFormat &f, const DiagnosticSink &sink);    // lines 12-14
    bool readYTitle(PlotFormat &f, const DiagnosticSink &sink);    // lines 15-16
    bool skipToCurveLines(const DiagnosticSink &sink);             // lines 17-18

    // True while the file holds another curve line.
    bool hasCurveLine() const { return reader_.hasText(); }
    // Reads one curve line with its checks. A value that cannot be read ends the slot
    // quietly: false, and nothing is sent to the sink.
    bool readCurveLine(CurveStyle &s, const DiagnosticSink &sink);

private:
    bool skip(int lines, const DiagnosticSink &sink);
    bool real(float &v, const char *key, const DiagnosticSink &sink);
    bool integer(std::int16_t &v, const char *key, const DiagnosticSink &sink);
    bool text(QString &v, const DiagnosticSink &sink);
    bool failed(ReadStatus status, int line, const char *key, const char *range,
                const DiagnosticSink &sink);

    QByteArray bytes_;
    ValueReader reader_;
};

} // namespace nikra
