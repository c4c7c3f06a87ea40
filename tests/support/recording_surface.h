#pragma once
// A surface that draws nothing and records every primitive, in page millimetres and in the
// device units of the profile it is given, so geometry can be asserted exactly. Its texts
// are as wide as a fixed-pitch font's: every character has the requested average width,
// so expected positions can be worked out by hand.

#include "plot/surface.h"

#include <vector>

namespace nikra::test {

enum class PrimitiveKind { Line, Rectangle, Polyline, Polygon, Circle, Text };

struct Primitive {
    PrimitiveKind kind = PrimitiveKind::Line;
    std::vector<PagePoint> mm;  // the points; a circle's centre; a text's top-left corner
    std::vector<DevicePoint> device;
    Pen pen;
    QColor fill;
    double radius = 0;  // circles, mm
    QString text;       // texts
    FontRequest font;   // texts
};

// A profile of one device unit per millimetre and per screen pixel: a size key S then
// means characters 2 S mm wide and texts 3 S mm high, so positions are easy to work out.
DeviceProfile unitProfile(SurfaceKind kind = SurfaceKind::Canvas);

class RecordingSurface : public Surface {
public:
    explicit RecordingSurface(const DeviceProfile &profile = DeviceProfile::canvas(96));

    void line(PagePoint a, PagePoint b, const Pen &pen) override;
    void rectangle(const PageRect &rect, const Pen &pen) override;
    void polyline(std::span<const PagePoint> points, const Pen &pen) override;
    void polygon(std::span<const PagePoint> points, const Pen &pen, const QColor &fill) override;
    void circle(PagePoint centre, double radiusMm, const Pen &pen, const QColor &fill) override;
    TextFont font(const FontRequest &request) override;
    double textWidth(const TextFont &font, const QString &text) override;
    void text(const TextFont &font, PagePoint topLeft, const QString &text) override;

    std::vector<Primitive> of(PrimitiveKind kind) const;
    QStringList texts() const;

    std::vector<Primitive> primitives;

private:
    void record(PrimitiveKind kind, std::span<const PagePoint> points, const Pen &pen, const QColor &fill = {});
};

} // namespace nikra::test
