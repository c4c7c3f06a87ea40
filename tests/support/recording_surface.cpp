#include "support/recording_surface.h"

#include <array>

namespace nikra::test {

RecordingSurface::RecordingSurface(const DeviceProfile &profile) : Surface(profile) {}

void RecordingSurface::record(PrimitiveKind kind, std::span<const PagePoint> points, const Pen &pen,
                              const QColor &fill)
{
    Primitive p{kind, {points.begin(), points.end()}, {}, pen, fill};
    for (const PagePoint &q : points)
        p.device.push_back(toDevice(q));
    primitives.push_back(std::move(p));
}

void RecordingSurface::line(PagePoint a, PagePoint b, const Pen &pen)
{
    const std::array<PagePoint, 2> points{a, b};
    record(PrimitiveKind::Line, points, pen);
}

void RecordingSurface::rectangle(const PageRect &r, const Pen &pen)
{
    const std::array<PagePoint, 2> corners{PagePoint{r.left, r.top}, PagePoint{r.right(), r.bottom()}};
    record(PrimitiveKind::Rectangle, corners, pen);
}

void RecordingSurface::polyline(std::span<const PagePoint> points, const Pen &pen)
{
    record(PrimitiveKind::Polyline, points, pen);
}

void RecordingSurface::polygon(std::span<const PagePoint> points, const Pen &pen, const QColor &fill)
{
    record(PrimitiveKind::Polygon, points, pen, fill);
}

std::vector<Primitive> RecordingSurface::of(PrimitiveKind kind) const
{
    std::vector<Primitive> out;
    for (const Primitive &p : primitives) {
        if (p.kind == kind)
            out.push_back(p);
    }
    return out;
}

} // namespace nikra::test
