#pragma once
// The printer: any paged device (a QPrinter, or a QPdfWriter for the command line), drawn
// at the device's own resolution over the whole page without margins, so a point 25 mm
// from the page's edge is printed 25 mm from the paper's edge. Fonts are fitted (FSize) so
// a text is as wide on paper as on the reference (96-dpi) canvas, whatever the printer's
// own glyph widths and whatever screen the program runs on.

#include "plot/painter_surface.h"

class QPagedPaintDevice;

namespace nikra {

class PrinterSurface : public PainterSurface {
public:
    // The device's page layout must already be A4 portrait with zero margins
    // (see preparePage).
    explicit PrinterSurface(QPagedPaintDevice &device);

    bool isActive() const { return active_; }
    // Ends the document, which sends the page.
    bool finish();

    // A4 portrait, no margins.
    static void preparePage(QPagedPaintDevice &device);

protected:
    double fittedWidth(const FontRequest &request) override;

private:
    bool active_ = false;
};

} // namespace nikra
