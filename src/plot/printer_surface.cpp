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

double PrinterSurface::fittedWidth(const FontRequest &request)
{
    return fitting_.fittedWidth(request, fonts(), profile(), fontDevice(),
                                [this](const QString &face, double width) { return makeFont(face, width); });
}

bool PrinterSurface::finish()
{
    const bool ok = active_ && endPainting();
    active_ = false;
    return ok;
}

} // namespace nikra
