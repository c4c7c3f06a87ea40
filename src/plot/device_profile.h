#pragma once
// What makes the three surfaces differ: their conversion factors and their own rules
// (pens, which surface reports file problems). One value per surface, so a drawing step
// never asks which surface it is on.

#include "plot/page_units.h"

#include <QColor>

#include <algorithm>

namespace nikra {

enum class SurfaceKind { Canvas, Printer, Metafile };

enum class LineStyle { Solid, Dash, Dot, DashDot, DashDotDot, None };

// A pen in the device units of its surface; a width of 0 or less asks for the thinnest line.
struct Pen {
    LineStyle style = LineStyle::Solid;
    int width = 1;
    QColor color = Qt::black;
    friend bool operator==(const Pen &, const Pen &) = default;
};

struct DeviceProfile {
    SurfaceKind kind = SurfaceKind::Canvas;
    // Device units per page millimetre: screen pixels on the canvas, printer pixels on the
    // printer, twips in the metafile.
    double devPerMmX = 0;
    double devPerMmY = 0;
    // Screen pixels per millimetre, kept by every surface: font sizes and the legend
    // spacing are given in screen pixels. The printer and the metafile take the reference
    // screen's, whatever screen the program runs on, so their pages never depend on it.
    double screenPxPerMmX = 0;
    double screenPxPerMmY = 0;
    // Device units per screen pixel (1 on the canvas at 96 dpi, 2 at 192 dpi).
    double devPerScreenPxX = 1;
    double devPerScreenPxY = 1;
    // The surface's own pens.
    Pen framePen;     // frame outline and ticks
    Pen divisionPen;  // dotted division lines
    // Curve pen widths are multiplied by this and rounded (metafile: 4; the canvas: its
    // pixels per reference pixel).
    double curvePenScale = 1;
    // Device units per font unit. Fonts are made, measured and laid out in font units and
    // drawn enlarged by this: 1 on the printer and the metafile, and on the canvas its
    // pixels per reference pixel, so its texts at any resolution are the 96-dpi texts
    // enlarged, glyph for glyph and letter space for letter space.
    double textScale = 1;
    bool legendInLabelFace = false;  // the metafile labels its legend in the label face

    // A pass shows file problems to the user only on the canvas; the printer and metafile
    // passes make the same corrections silently.
    bool reportsProblems() const { return kind == SurfaceKind::Canvas; }

    // The canvas at any resolution is the 96-dpi canvas enlarged: texts, pens and dashes
    // grow with the resolution, so a 192-dpi page is the 96-dpi page at twice the pixels.
    static DeviceProfile canvas(double screenDpi);
    static DeviceProfile printer(double deviceDpiX, double deviceDpiY);
    static DeviceProfile metafile();
};

// The reference screen: the resolution the size keys' pixels are counted at. The printed
// page and the metafile are laid out as on it, on every machine.
inline constexpr double kReferenceDpi = 96.0;

// Twips per millimetre as the screen and printer scaling always used it.
inline constexpr double kTwipsPerMm = 56.69291;
// The metafile's twips per millimetre: the single-precision value of 1440 / 25.4.
inline constexpr double kMetaTwipsPerMm = 56.692909;

inline double twipsPerPixel(double dpi) { return 1440.0 / dpi; }

inline DeviceProfile DeviceProfile::canvas(double screenDpi)
{
    DeviceProfile p;
    p.kind = SurfaceKind::Canvas;
    p.screenPxPerMmX = p.screenPxPerMmY = kTwipsPerMm / twipsPerPixel(kReferenceDpi);
    p.devPerMmX = p.devPerMmY = kTwipsPerMm / twipsPerPixel(screenDpi);
    const double scale = twipsPerPixel(kReferenceDpi) / twipsPerPixel(screenDpi);
    p.devPerScreenPxX = p.devPerScreenPxY = scale;
    p.framePen = {LineStyle::Solid, std::max(1, rnd(2 * scale)), Qt::black};
    p.divisionPen = {LineStyle::Dot, std::max(1, rnd(scale)), Qt::black};
    p.curvePenScale = scale;
    p.textScale = scale;
    return p;
}

inline DeviceProfile DeviceProfile::printer(double deviceDpiX, double deviceDpiY)
{
    DeviceProfile p;
    p.kind = SurfaceKind::Printer;
    p.screenPxPerMmX = p.screenPxPerMmY = kTwipsPerMm / twipsPerPixel(kReferenceDpi);
    p.devPerMmX = kTwipsPerMm / twipsPerPixel(deviceDpiX);
    p.devPerMmY = kTwipsPerMm / twipsPerPixel(deviceDpiY);
    p.devPerScreenPxX = twipsPerPixel(kReferenceDpi) / twipsPerPixel(deviceDpiX);
    p.devPerScreenPxY = twipsPerPixel(kReferenceDpi) / twipsPerPixel(deviceDpiY);
    p.framePen = {LineStyle::Solid, 4, Qt::black};
    p.divisionPen = {LineStyle::Dot, 1, Qt::black};
    return p;
}

inline DeviceProfile DeviceProfile::metafile()
{
    DeviceProfile p;
    p.kind = SurfaceKind::Metafile;
    p.screenPxPerMmX = p.screenPxPerMmY = kTwipsPerMm / twipsPerPixel(kReferenceDpi);
    p.devPerMmX = p.devPerMmY = kMetaTwipsPerMm;
    p.devPerScreenPxX = p.devPerScreenPxY = twipsPerPixel(kReferenceDpi);
    p.framePen = {LineStyle::Solid, 16, Qt::black};
    p.divisionPen = {LineStyle::Dot, 4, Qt::black};
    p.curvePenScale = 4;
    p.legendInLabelFace = true;
    return p;
}

} // namespace nikra
