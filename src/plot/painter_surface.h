#pragma once
// The drawing shared by the three real surfaces: each owns a QPainter on its own paint
// device with the identity transform, so device units are the device's pixels (canvas),
// printer dots (printer) or twips (metafile).

#include "plot/surface.h"

#include <QPainter>
#include <QPen>

#include <vector>

class QPaintDevice;

namespace nikra {

class PainterSurface : public Surface {
public:
    void line(PagePoint a, PagePoint b, const Pen &pen) override;
    void rectangle(const PageRect &rect, const Pen &pen) override;
    void polyline(std::span<const PagePoint> points, const Pen &pen) override;
    void polygon(std::span<const PagePoint> points, const Pen &pen, const QColor &fill) override;

protected:
    explicit PainterSurface(const DeviceProfile &profile) : Surface(profile) {}
    ~PainterSurface() override;

    // clip: limit drawing to the device's own bounds. Nothing is lost by it (curves are
    // clipped to their frames in millimetres first), and Qt's raster engine draws long
    // one-pixel polylines several times faster with a clip rectangle set.
    bool beginPainting(QPaintDevice *device, bool clip);
    bool endPainting();
    QPainter &painter() { return painter_; }

private:
    QPen qtPen(const Pen &pen) const;
    // The device points of a path, consecutive repeats dropped (the drawn result is the same).
    const std::vector<QPoint> &devicePath(std::span<const PagePoint> points);
    void drawPath(const std::vector<QPoint> &path, const Pen &pen);

    QPainter painter_;
    std::vector<QPoint> path_;
};

} // namespace nikra
