#include "output/pdf_surface.h"

namespace nikra {

void PdfSurface::paintPolyline(const std::vector<QPoint> &path, const Pen &pen)
{
    inRun_ = false;
    PrinterSurface::paintPolyline(path, pen);
}

void PdfSurface::paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill)
{
    if (!PdfPolygons::writes(pen, fill)) {
        inRun_ = false;
        PrinterSurface::paintPolygon(path, pen, fill);
        return;
    }
    if (!inRun_) {
        paintFractionalPolyline(PdfPolygons::runMark(), PdfPolygons::runMarkPen());
        polygons_.beginRun();
        inRun_ = true;
    }
    polygons_.add(path, pen, fill);
}

void PdfSurface::paintText(QPoint at, const TextFont &font, const QString &text)
{
    inRun_ = false;
    PrinterSurface::paintText(at, font, text);
}

} // namespace nikra
