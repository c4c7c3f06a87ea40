#pragma once
// The printer: any paged device (a QPrinter, or a QPdfWriter for the command line), drawn
// at the device's own resolution over the whole page without margins, so a point 25 mm
// from the page's edge is printed 25 mm from the paper's edge. Fonts are fitted (fittedWidth) so
// a text is as wide on paper as on the reference (96-dpi) canvas, whatever the printer's
// own glyph widths and whatever screen the program runs on.

#include "plot/painter_surface.h"

#include <map>
#include <utility>
#include <vector>

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
    // What one face at one nominal width has fitted: its candidate fonts, made as the
    // search first reaches them, and the width fitted to each text. A comment file fits a
    // font to every line, often the same line again.
    struct Fitting {
        std::vector<MadeFont> candidates;
        QHash<QString, double> fitted;
    };
    const MadeFont &candidate(Fitting &fitting, const QString &face, double width, int k);
    double fit(Fitting &fitting, const FontRequest &request);

    bool active_ = false;
    std::map<std::pair<QString, double>, Fitting> fittings_;
};

} // namespace nikra
