#include "plot/canvas_surface.h"

#include "plot/thin_lines.h"

namespace nikra {

QSize CanvasSurface::pagePixels(double screenDpi)
{
    const double tpp = twipsPerPixel(screenDpi);
    return {rnd(kPageWidthTwips / tpp), rnd(kPageHeightTwips / tpp)};
}

QImage CanvasSurface::imageAt(QSize size, double screenDpi)
{
    QImage image(size, QImage::Format_RGB32);
    const int dotsPerMetre = rnd(screenDpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    return image;
}

CanvasSurface::CanvasSurface(double screenDpi)
    : PainterSurface(DeviceProfile::canvas(screenDpi)), image_(imageAt(pagePixels(screenDpi), screenDpi))
{
    beginPainting(&image_, true);
}

void CanvasSurface::paintPolyline(const std::vector<QPoint> &path, const Pen &pen)
{
    if (pen.style == LineStyle::Solid && pen.width <= 1)
        drawThinPolyline(image_, path, pen.color.rgb());
    else
        PainterSurface::paintPolyline(path, pen);
}

void CanvasSurface::paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill)
{
    if (pen.style != LineStyle::Solid || pen.width > 1) {
        PainterSurface::paintPolygon(path, pen, fill);
        return;
    }
    PainterSurface::paintPolygon(path, Pen{LineStyle::None, 0, fill}, fill);
    outline_.assign(path.begin(), path.end());
    outline_.push_back(path.front());  // closed
    drawThinPolyline(image_, outline_, pen.color.rgb());
}

// The painter must let go of the image before the image goes.
CanvasSurface::~CanvasSurface() { endPainting(); }

QImage CanvasSurface::finish()
{
    endPainting();
    return image_;
}

} // namespace nikra
