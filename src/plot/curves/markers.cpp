#include "plot/curves/markers.h"

#include "plot/curves/colour_table.h"
#include "plot/curves/legend.h"

#include <cmath>
#include <cstdlib>

namespace nikra {

namespace {

// The marker geometry has always been worked out with 3.1415 for pi.
constexpr double kPi = 3.1415;

double radians(double degrees) { return degrees * kPi / 180; }

// Corners at the given angles from the top, counter-clockwise: (-rho sin t, -rho cos t).
std::vector<PagePoint> ring(std::initializer_list<double> degrees, double rho)
{
    std::vector<PagePoint> out;
    for (double d : degrees)
        out.push_back({-rho * std::sin(radians(d)), -rho * std::cos(radians(d))});
    return out;
}

} // namespace

MarkerShape markerShape(int PTP, double s)
{
    const int magnitude = std::abs(PTP);
    MarkerShape shape;
    if (magnitude > 39 || magnitude % 10 == 0)
        return shape;
    shape.kind = MarkerKind::Polygon;
    const double sqrtPi = std::sqrt(kPi);
    const double starOuter = 1.2 * s / sqrtPi;
    const double starInner = starOuter * (std::sin(radians(54)) - std::cos(radians(54)) / std::tan(radians(54)));
    switch (magnitude % 10) {
    case 1:  // circle
        shape.kind = MarkerKind::Circle;
        shape.radius = s / std::sqrt(3.5);
        break;
    case 2:  // triangle, point up
        shape.corners = ring({0, 120, 240}, 1.1 * s / std::sqrt(3.0));
        break;
    case 3:  // diamond
        shape.corners = ring({0, 90, 180, 270}, s / std::sqrt(2.5));
        break;
    case 4: {  // square
        const double h = (s / std::sqrt(2.4)) * std::sin(radians(45));
        shape.corners = {{-h, -h}, {-h, h}, {h, h}, {h, -h}};
        break;
    }
    case 5: {  // triangle, point down
        const double r = 1.1 * s / std::sqrt(3.0);
        shape.corners = {{0, r},
                         {r * std::sin(radians(120)), r * std::cos(radians(120))},
                         {r * std::sin(radians(240)), r * std::cos(radians(240))}};
        break;
    }
    case 6:  // hexagon
        shape.corners = ring({0, 60, 120, 180, 240, 300}, s / std::sqrt(3.0));
        break;
    case 7:  // five-pointed star: outer and inner corners in turn
        for (int i = 0; i < 10; ++i) {
            const double rho = i % 2 == 0 ? starOuter : starInner;
            shape.corners.push_back(ring({36.0 * i}, rho).front());
        }
        break;
    case 8: {  // cross
        const double t = starOuter * std::sin(radians(45));
        const double r = starInner;
        shape.corners = {{-t, -t}, {-r, 0}, {-t, t}, {0, r}, {t, t}, {r, 0}, {t, -t}, {0, -r}};
        break;
    }
    case 9: {  // plus
        const double a = 0.4 * s / sqrtPi;
        const double b = 0.9 * s / sqrtPi;
        shape.corners = {{-a, -b}, {-a, -a}, {-b, -a}, {-b, a}, {-a, a}, {-a, b},
                         {a, b},   {a, a},   {b, a},   {b, -a}, {a, -a}, {a, -b}};
        break;
    }
    }
    return shape;
}

Pen markerPen(int PTP) { return Pen{LineStyle::Solid, int(std::floor(PTP / 10.0)) + 1, Qt::black}; }

namespace {

// One marker of a shape already worked out: a block's markers share their shape.
void drawMarkerOfShape(Surface &surface, const CurveStyle &style, const MarkerShape &shape, PagePoint centre)
{
    const Pen pen = markerPen(style.PTP);
    if (shape.kind == MarkerKind::Circle) {
        surface.circle(centre, shape.radius, pen, pclColour(style.PCL));
    } else if (shape.kind == MarkerKind::Polygon) {
        surface.markerPolygon(centre, shape.corners, pen, pclColour(style.PCL));
    }
    if (style.PTP >= -39 && style.PTP <= -1)  // hollow: a white centre
        surface.circle(centre, style.PSZ / std::sqrt(18.0), pen, QColor(255, 255, 255));
}

} // namespace

void drawMarker(Surface &surface, const CurveStyle &style, PagePoint centre)
{
    drawMarkerOfShape(surface, style, markerShape(style.PTP, style.PSZ), centre);
}

void drawMarkers(Surface &surface, const PassState &st, const DataBlock &block)
{
    const PageRect frame = plotFrame(st);
    const MarkerShape shape = markerShape(st.style.PTP, st.style.PSZ);
    for (std::size_t i = 0; i < block.x.size(); ++i) {
        const PagePoint at = pageOf(st, block.x[i], block.y[i]);
        if (frame.contains(at))  // edges included: a marker there is drawn whole
            drawMarkerOfShape(surface, st.style, shape, at);
    }
    if (const auto at = legendPoint(st)) {
        drawMarkerOfShape(surface, st.style, shape, *at);
        legendLabel(surface, st, *at);
    }
}

} // namespace nikra
