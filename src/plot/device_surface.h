#pragma once
// What the three real surfaces share: turning page millimetres into device points through
// the one rounding door, the device paths with their lossless reductions, the 360-corner
// circle, and fonts made and measured by each surface's own rule. Each surface then only
// paints device primitives: the canvas and printer with a QPainter, the metafile by
// writing SVG elements.

#include "plot/surface.h"

#include <QPoint>

#include <array>
#include <vector>

class QPaintDevice;

namespace nikra {

class DeviceSurface : public Surface {
public:
    void line(PagePoint a, PagePoint b, const Pen &pen) override;
    void rectangle(const PageRect &rect, const Pen &pen) override;
    void polyline(std::span<const PagePoint> points, const Pen &pen) override;
    std::unique_ptr<PolylineParts> polylineInParts(const Pen &pen) override;
    void polygon(std::span<const PagePoint> points, const Pen &pen, const QColor &fill) override;
    void circle(PagePoint centre, double radiusMm, const Pen &pen, const QColor &fill) override;
    TextFont font(const FontRequest &request) override;
    double textWidth(const TextFont &font, const QString &text) override;
    void text(const TextFont &font, PagePoint topLeft, const QString &text) override;

protected:
    explicit DeviceSurface(const DeviceProfile &profile);

    // The device fonts are made for: its resolution sizes them and gives their metrics.
    virtual const QPaintDevice &fontDevice() const = 0;
    // The average width a font is made with: the request's own, except on the printer,
    // which fits it to the canvas.
    virtual double fittedWidth(const FontRequest &request) { return request.width; }
    // The metafile centres its texts by their widths on the reference screen.
    virtual bool measuresOnScreen() const { return false; }
    // Vector outputs leave out polygon corners that repeat or lie on a straight line; the
    // canvas keeps them, so its pixels stay exactly as they always were.
    virtual bool dropsStraightCorners() const { return true; }

    // Device primitives; paths have at least two points.
    virtual void paintPolyline(const std::vector<QPoint> &path, const Pen &pen) = 0;
    virtual void paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill) = 0;
    virtual void paintText(QPoint at, const TextFont &font, const QString &text) = 0;

    // A font made for the device: cell height rnd(1.5 w), average width rnd(w), w given in
    // device units and rounded in font units (see DeviceProfile::textScale).
    MadeFont makeFont(const QString &face, double width);
    FontFactory &fonts() { return fonts_; }

    // The corners of a circle in device units, fewest first: repeats and straight runs
    // dropped. cx, cy and r are device units.
    std::vector<QPoint> &circlePath(double cx, double cy, double r);
    // A polygon's device path with the reductions that leave its drawing unchanged.
    void reducePolygon(std::vector<QPoint> &path) const;

private:
    std::vector<QPoint> &devicePath(std::span<const PagePoint> points);
    // The width in mm of a text without tabs, by the surface's own measure.
    double runWidth(const TextFont &font, const QString &text);
    void paintRun(const TextFont &font, PagePoint topLeft, const QString &text);

    FontFactory fonts_;
    std::vector<QPoint> path_;
    std::array<double, 360> cos_{};
    std::array<double, 360> sin_{};
};

// Dash patterns in screen pixels, the lengths users know from the screen; the surfaces scale
// them to the same length in millimetres. Empty for a solid line.
std::vector<double> dashLengths(LineStyle style);

} // namespace nikra
