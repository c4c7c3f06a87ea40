#include "plot/thin_lines.h"

#include <cstdint>
#include <cstdlib>

namespace nikra {

namespace {

// n / d rounded to the nearest whole number, halves away from zero (d > 0).
std::int64_t roundedQuotient(std::int64_t n, std::int64_t d)
{
    return n >= 0 ? (2 * n + d) / (2 * d) : -((-2 * n + d) / (2 * d));
}

// The pixels of one segment: one per step along its longer axis, the other coordinate the
// nearest to the true line. Only the steps that fall inside the image are visited.
void drawSegment(QImage &image, QPoint a, QPoint b, QRgb colour)
{
    const int w = image.width();
    const int h = image.height();
    const std::int64_t dx = std::int64_t(b.x()) - a.x();
    const std::int64_t dy = std::int64_t(b.y()) - a.y();
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t steps = alongX ? std::llabs(dx) : std::llabs(dy);
    const int major0 = alongX ? a.x() : a.y();
    const int sign = (alongX ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorDelta = alongX ? dy : dx;
    const int minor0 = alongX ? a.y() : a.x();
    const int majorLimit = alongX ? w : h;
    const int minorLimit = alongX ? h : w;

    // The steps whose major coordinate lies inside the image.
    std::int64_t first = 0;
    std::int64_t last = steps;
    const std::int64_t toLow = sign > 0 ? -std::int64_t(major0) : std::int64_t(major0) - (majorLimit - 1);
    const std::int64_t toHigh = sign > 0 ? std::int64_t(majorLimit - 1) - major0 : std::int64_t(major0);
    first = std::max<std::int64_t>(first, toLow);
    last = std::min<std::int64_t>(last, toHigh);
    for (std::int64_t k = first; k <= last; ++k) {
        const std::int64_t major = major0 + sign * k;
        const std::int64_t minor = minor0 + (steps == 0 ? 0 : roundedQuotient(k * minorDelta, steps));
        if (minor < 0 || minor >= minorLimit)
            continue;
        const int x = int(alongX ? major : minor);
        const int y = int(alongX ? minor : major);
        reinterpret_cast<QRgb *>(image.scanLine(y))[x] = colour;
    }
}

} // namespace

void drawThinPolyline(QImage &image, const std::vector<QPoint> &path, QRgb colour)
{
    colour |= 0xff000000u;
    if (path.size() == 1) {
        drawSegment(image, path[0], path[0], colour);
        return;
    }
    for (std::size_t i = 0; i + 1 < path.size(); ++i)
        drawSegment(image, path[i], path[i + 1], colour);
}

} // namespace nikra
