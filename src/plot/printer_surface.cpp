#include "plot/printer_surface.h"

#include <QPageLayout>
#include <QPagedPaintDevice>

namespace nikra {

void PrinterSurface::preparePage(QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

PrinterSurface::PrinterSurface(QPagedPaintDevice &device, double screenDpi)
    : PainterSurface(DeviceProfile::printer(device.logicalDpiX(), device.logicalDpiY(), screenDpi))
{
    active_ = beginPainting(&device, true);
}

bool PrinterSurface::finish()
{
    const bool ok = active_ && endPainting();
    active_ = false;
    return ok;
}

} // namespace nikra
