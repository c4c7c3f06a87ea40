#include "support/recording_surface.h"

#include <array>

namespace nikra::test {

DeviceProfile unitProfile(SurfaceKind kind)
{
    DeviceProfile p = kind == SurfaceKind::Metafile ? DeviceProfile::metafile()
        : kind == SurfaceKind::Printer             ? DeviceProfile::printer(600, 600)
                                                   : DeviceProfile::canvas(96);
    p.devPerMmX = p.devPerMmY = 1;
    p.screenPxPerMmX = p.screenPxPerMmY = 1;
    p.devPerScreenPxX = p.devPerScreenPxY = 1;
    return p;
}

RecordingSurface::RecordingSurface(const DeviceProfile &profile) : Surface(profile) {}

void RecordingSurface::record(PrimitiveKind kind, std::span<const PagePoint> points, const Pen &pen,
                              const QColor &fill)
{
    Primitive p;
    p.kind = kind;
    p.mm.assign(points.begin(), points.end());
    p.pen = pen;
    p.fill = fill;
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

void RecordingSurface::circle(PagePoint centre, double radiusMm, const Pen &pen, const QColor &fill)
{
    const std::array<PagePoint, 1> points{centre};
    record(PrimitiveKind::Circle, points, pen, fill);
    primitives.back().radius = radiusMm;
}

TextFont RecordingSurface::font(const FontRequest &request)
{
    TextFont f;
    f.request = request;
    return f;
}

double RecordingSurface::textWidth(const TextFont &font, const QString &text)
{
    return double(text.size()) * font.request.width / profile().devPerMmX;
}

void RecordingSurface::text(const TextFont &font, PagePoint topLeft, const QString &text)
{
    const std::array<PagePoint, 1> points{topLeft};
    record(PrimitiveKind::Text, points, Pen{});
    primitives.back().text = text;
    primitives.back().font = font.request;
}

QStringList RecordingSurface::texts() const
{
    QStringList out;
    for (const Primitive &p : primitives) {
        if (p.kind == PrimitiveKind::Text)
            out.append(p.text);
    }
    return out;
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
