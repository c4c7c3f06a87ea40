#pragma once
// The canvas and the printer: a QPainter on the surface's own paint device with the
// identity transform, so device units are the device's pixels or printer dots.

#include "plot/device_surface.h"

#include <QPainter>
#include <QPen>

#include <optional>

class QPaintDevice;

namespace nikra {

class PainterSurface : public DeviceSurface {
protected:
    explicit PainterSurface(const DeviceProfile &profile) : DeviceSurface(profile) {}
    ~PainterSurface() override;

    // clip: limit drawing to the device's own bounds. Nothing is lost by it (curves are
    // clipped to their frames in millimetres first), and Qt's raster engine draws long
    // one-pixel polylines several times faster with a clip rectangle set.
    bool beginPainting(QPaintDevice *device, bool clip);
    bool endPainting();

    const QPaintDevice &fontDevice() const override { return *device_; }
    void paintPolyline(const std::vector<QPoint> &path, const Pen &pen) override;
    void paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill) override;
    void paintText(QPoint at, const TextFont &font, const QString &text) override;
    // A polyline at fractional device coordinates, which no path of the plot has.
    void paintFractionalPolyline(std::span<const QPointF> path, const Pen &pen);

private:
    QPen qtPen(const Pen &pen) const;
    // Sets the painter's pen and brush unless they are already those: a marker page sets
    // the same pair a hundred thousand times, and every change costs the paint engine.
    void use(const Pen &pen, const QBrush &brush);

    QPainter painter_;
    QPaintDevice *device_ = nullptr;
    std::optional<Pen> pen_;
    QBrush brush_;
};

} // namespace nikra
