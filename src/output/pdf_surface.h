#pragma once
// The printed page written as PDF by this program's own writer (pdf_document.h): the
// printer's geometry (A4 without margins in device units of the given resolution), its
// pens and its fitted fonts, with each text laid out by Qt exactly as a painter on a
// printer lays it out, and its glyphs put on the page one by one where the layout put them.

#include "output/pdf_document.h"
#include "plot/device_surface.h"
#include "plot/printer_fitting.h"

#include <QGlyphRun>
#include <QImage>

#include <optional>

namespace nikra {

class PdfSurface : public DeviceSurface {
public:
    PdfSurface(PdfDocument &document, int dpi);

    // Each pass draws one page between these.
    void beginPage();
    void endPage();

protected:
    const QPaintDevice &fontDevice() const override { return fontDevice_; }
    double fittedWidth(const FontRequest &request) override;
    void paintPolyline(const std::vector<QPoint> &path, const Pen &pen) override;
    void paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill) override;
    void paintText(QPoint at, const TextFont &font, const QString &text) override;

private:
    void setStroke(const Pen &pen);
    void setFill(const QColor &colour);
    void appendPath(const std::vector<QPoint> &path);
    void appendGlyphs(const QGlyphRun &run, double baselineShift, const QString &text);
    void appendOutlines(const QGlyphRun &run, double baselineShift);

    PdfDocument &document_;
    QImage fontDevice_;  // a device of the page's resolution: fonts are made and laid out on it
    PrinterFitting fitting_;
    QSize pageUnits_;    // the page in device units
    // The graphics state the content has set, so each is set only when it changes.
    std::optional<QRgb> stroke_;
    std::optional<QRgb> fill_;
    std::optional<int> width_;
    std::optional<LineStyle> dashes_;
};

} // namespace nikra
