#pragma once
// A surface that draws nothing and records every primitive, in page millimetres and in the
// device units of the profile it is given, so geometry can be asserted exactly.

#include "plot/surface.h"

#include <vector>

namespace nikra::test {

enum class PrimitiveKind { Line, Rectangle, Polyline, Polygon };

struct Primitive {
    PrimitiveKind kind;
    std::vector<PagePoint> mm;
    std::vector<DevicePoint> device;
    Pen pen;
    QColor fill;
};

class RecordingSurface : public Surface {
public:
    explicit RecordingSurface(const DeviceProfile &profile = DeviceProfile::canvas(96));

    void line(PagePoint a, PagePoint b, const Pen &pen) override;
    void rectangle(const PageRect &rect, const Pen &pen) override;
    void polyline(std::span<const PagePoint> points, const Pen &pen) override;
    void polygon(std::span<const PagePoint> points, const Pen &pen, const QColor &fill) override;

    std::vector<Primitive> of(PrimitiveKind kind) const;

    std::vector<Primitive> primitives;

private:
    void record(PrimitiveKind kind, std::span<const PagePoint> points, const Pen &pen, const QColor &fill = {});
};

} // namespace nikra::test
