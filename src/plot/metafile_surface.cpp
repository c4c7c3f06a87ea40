#include "plot/metafile_surface.h"

namespace nikra {

MetafileSurface::MetafileSurface(QIODevice *output, const MetaWindow &window, double screenDpi)
    : PainterSurface(DeviceProfile::metafile(screenDpi))
{
    generator_.setOutputDevice(output);
    generator_.setResolution(1440);  // one user unit is one twip
    generator_.setSize(QSize(window.extentX, window.extentY));
    generator_.setViewBox(QRect(window.originX, window.originY, window.extentX, window.extentY));
    generator_.setTitle(QStringLiteral("Nikra"));
    // The generator writes no clip paths; curves are clipped to their frames beforehand.
    active_ = beginPainting(&generator_, false);
}

bool MetafileSurface::finish()
{
    const bool ok = active_ && endPainting();
    active_ = false;
    return ok;
}

} // namespace nikra
