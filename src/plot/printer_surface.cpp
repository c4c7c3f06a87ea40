#include "plot/printer_surface.h"

#include <QPageLayout>
#include <QPagedPaintDevice>

namespace nikra {

void PrinterSurface::preparePage(QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

PrinterSurface::PrinterSurface(QPagedPaintDevice &device)
    : PainterSurface(DeviceProfile::printer(device.logicalDpiX(), device.logicalDpiY()))
{
    active_ = beginPainting(&device, true);
}

// FSize: the canvas width of the fitted text first; then candidate widths from 0.76 to 1.75
// times the nominal one, until the printed text is at least as wide; the result lies
// between the last two candidates in proportion to their widths.
double PrinterSurface::fittedWidth(const FontRequest &request)
{
    const double w = request.width;
    const double target = fonts().screenWidthMm(request.face, w / profile().devPerScreenPxX, request.fitText);
    double previousSize = 0;
    double previousWidth = 0;
    double size = w;
    for (int k = 1; k <= 100; ++k) {
        size = (0.75 + 0.01 * k) * w;
        const double width = FontFactory::advance(makeFont(request.face, size), request.fitText, fontDevice())
            / profile().devPerMmX;
        if (width >= target) {
            if (width == previousWidth)
                return size;
            return previousSize + (target - previousWidth) * (size - previousSize) / (width - previousWidth);
        }
        previousSize = size;
        previousWidth = width;
    }
    return size;
}

bool PrinterSurface::finish()
{
    const bool ok = active_ && endPainting();
    active_ = false;
    return ok;
}

} // namespace nikra
