#pragma once
// The canvas: the whole page as an image at the screen's resolution, what the user sees.

#include "plot/painter_surface.h"

#include <QImage>

namespace nikra {

class CanvasSurface : public PainterSurface {
public:
    explicit CanvasSurface(double screenDpi = kDefaultScreenDpi);
    ~CanvasSurface() override;

    // Ends painting and hands over the page.
    QImage finish();

    // The page in pixels: 11907 x 16840 twips at the screen's twips per pixel.
    static QSize pagePixels(double screenDpi);

private:
    QImage image_;
};

} // namespace nikra
