#pragma once
// The printer: any paged device (a QPrinter), drawn at the device's own resolution over
// the whole page without margins, so a point 25 mm from the page's edge is printed 25 mm
// from the paper's edge. Fonts are fitted (printer_fitting.h) so a text is as wide on paper
// as on the reference canvas. PDF files have a writer of their own (output/pdf_surface.h).

#include "plot/painter_surface.h"
#include "plot/printer_fitting.h"

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
    PrinterFitting fitting_;
    bool active_ = false;
};

} // namespace nikra
