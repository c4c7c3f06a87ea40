#include "plot/canvas_surface.h"

namespace nikra {

QSize CanvasSurface::pagePixels(double screenDpi)
{
    const double tpp = twipsPerPixel(screenDpi);
    return {rnd(kPageWidthTwips / tpp), rnd(kPageHeightTwips / tpp)};
}

CanvasSurface::CanvasSurface(double screenDpi)
    : PainterSurface(DeviceProfile::canvas(screenDpi), screenDpi),
      image_(pagePixels(screenDpi), QImage::Format_RGB32)
{
    // The image carries the screen's resolution, not the machine's default.
    const int dotsPerMetre = rnd(screenDpi / 0.0254);
    image_.setDotsPerMeterX(dotsPerMetre);
    image_.setDotsPerMeterY(dotsPerMetre);
    image_.fill(Qt::white);
    beginPainting(&image_, true);
}

// The painter must let go of the image before the image goes.
CanvasSurface::~CanvasSurface() { endPainting(); }

QImage CanvasSurface::finish()
{
    endPainting();
    return image_;
}

} // namespace nikra
