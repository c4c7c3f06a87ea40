#pragma once
// The metafile: a scalable drawing of the page (SVG) in twips, one user unit per twip,
// whose size is the covered window's extent and whose viewBox is that window in page
// twips, so a 130 x 80 mm selection becomes a 130 x 80 mm drawing.

#include "plot/meta_window.h"
#include "plot/painter_surface.h"

#include <QSvgGenerator>

class QIODevice;

namespace nikra {

class MetafileSurface : public PainterSurface {
public:
    MetafileSurface(QIODevice *output, const MetaWindow &window, double screenDpi);

    bool isActive() const { return active_; }
    bool finish();

private:
    QSvgGenerator generator_;
    bool active_ = false;
};

} // namespace nikra
