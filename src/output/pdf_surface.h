#pragma once
// The printer surface on a PDF document this program finishes itself: filled polygons go
// to its own writer (pdf_polygons.h), everything else through the painter, in page order.

#include "output/pdf_polygons.h"
#include "plot/printer_surface.h"

namespace nikra {

class PdfSurface : public PrinterSurface {
public:
    using PrinterSurface::PrinterSurface;

    // The polygons written so far; they go into the finished document's page content.
    PdfPolygons &polygons() { return polygons_; }

protected:
    void paintPolyline(const std::vector<QPoint> &path, const Pen &pen) override;
    void paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill) override;
    void paintText(QPoint at, const TextFont &font, const QString &text) override;

private:
    PdfPolygons polygons_;
    bool inRun_ = false;  // nothing has been painted since the last polygon
};

} // namespace nikra
