#pragma once
// How a printed page fits its fonts: a text is made as wide on paper as on the reference
// (96-dpi) canvas, whatever the printer's own glyph widths and whatever screen the program
// runs on. Shared by every surface that prints: the painter on a printer and the program's
// own PDF writer, so both print the same widths.

#include "plot/surface.h"

#include <QHash>

#include <functional>
#include <map>
#include <utility>
#include <vector>

class QPaintDevice;

namespace nikra {

class PrinterFitting {
public:
    // Makes a font of a face at an average width in device units (DeviceSurface::makeFont).
    using MakeFont = std::function<MadeFont(const QString &face, double width)>;

    // The average width to make the request's font with, fitted to its text.
    double fittedWidth(const FontRequest &request, FontFactory &fonts, const DeviceProfile &profile,
                       const QPaintDevice &device, const MakeFont &make);

private:
    // What one face at one nominal width has fitted: its candidate fonts, made as the
    // search first reaches them, and the width fitted to each text. A comment file fits a
    // font to every line, often the same line again.
    struct Fitting {
        std::vector<MadeFont> candidates;
        QHash<QString, double> fitted;
    };
    static const MadeFont &candidate(Fitting &fitting, const QString &face, double width, int k, const MakeFont &make);
    static double fit(Fitting &fitting, const FontRequest &request, FontFactory &fonts, const DeviceProfile &profile,
                      const QPaintDevice &device, const MakeFont &make);

    std::map<std::pair<QString, double>, Fitting> fittings_;
};

} // namespace nikra
