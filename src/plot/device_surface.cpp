#include "plot/device_surface.h"

#include "plot/device_path.h"
#include "plot/tab_stops.h"

#include <algorithm>
#include <cmath>

namespace nikra {

namespace {

// The corners of one circle, rounded without checks (every corner is known to lie within
// the device limit). A page of 10^5 circle markers computes 3.6 * 10^7 of them, so where
// the processor can, the same double arithmetic runs four lanes wide.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__clang__)
__attribute__((target_clones("avx2", "default")))
#endif
void circleCorners(double cx, double cy, double r, const double *cosines, const double *sines, int *xs, int *ys)
{
    for (std::size_t i = 0; i < 360; ++i) {
        xs[i] = rndWithinLimit(cx + r * cosines[i]);
        ys[i] = rndWithinLimit(cy + r * sines[i]);
    }
}

} // namespace

std::vector<double> dashLengths(LineStyle style)
{
    switch (style) {
    case LineStyle::Dash:
        return {18, 6};
    case LineStyle::Dot:
        return {3, 3};
    case LineStyle::DashDot:
        return {9, 6, 3, 6};
    case LineStyle::DashDotDot:
        return {9, 3, 3, 3, 3, 3};
    case LineStyle::Solid:
    case LineStyle::None:
        break;
    }
    return {};
}

DeviceSurface::DeviceSurface(const DeviceProfile &profile) : Surface(profile)
{
    // The circle's corners lie at 1, 2, .. 360 degrees, converted with 3.1415 for pi as the
    // markers have always been drawn.
    for (int i = 1; i <= 360; ++i) {
        const double theta = i * 3.1415 / 180;
        cos_[std::size_t(i - 1)] = std::cos(theta);
        sin_[std::size_t(i - 1)] = std::sin(theta);
    }
}

std::vector<QPoint> &DeviceSurface::devicePath(std::span<const PagePoint> points)
{
    path_.clear();
    path_.reserve(points.size());
    for (const PagePoint &p : points) {
        const DevicePoint d = toDevice(p);
        path_.emplace_back(d.x, d.y);
    }
    dropRepeats(path_);
    return path_;
}

void DeviceSurface::line(PagePoint a, PagePoint b, const Pen &pen)
{
    const std::array<PagePoint, 2> points{a, b};
    polyline(points, pen);
}

void DeviceSurface::rectangle(const PageRect &rect, const Pen &pen)
{
    const std::array<PagePoint, 5> corners{{
        {rect.left, rect.top},
        {rect.left, rect.bottom()},
        {rect.right(), rect.bottom()},
        {rect.right(), rect.top},
        {rect.left, rect.top},
    }};
    polyline(corners, pen);
}

void DeviceSurface::polyline(std::span<const PagePoint> points, const Pen &pen)
{
    if (pen.style == LineStyle::None)
        return;
    std::vector<QPoint> &path = devicePath(points);
    if (pen.style == LineStyle::Solid)
        mergeStraightRuns(path);
    if (path.size() >= 2)
        paintPolyline(path, pen);
}

std::unique_ptr<PolylineParts> DeviceSurface::polylineInParts(const Pen &pen)
{
    // The device path reduced as the points come, the same path polyline() would paint.
    class Reduced : public PolylineParts {
    public:
        Reduced(DeviceSurface &surface, const Pen &pen)
            : surface_(surface), pen_(pen), path_(pen.style == LineStyle::Solid)
        {
        }
        void add(std::span<const PagePoint> points) override
        {
            if (pen_.style == LineStyle::None)
                return;
            for (const PagePoint &p : points) {
                const DevicePoint d = surface_.toDevice(p);
                path_.add(QPoint(d.x, d.y));
            }
        }
        void finish() override
        {
            if (pen_.style == LineStyle::None)
                return;
            const std::vector<QPoint> &path = path_.finish();
            if (path.size() >= 2)
                surface_.paintPolyline(path, pen_);
        }

    private:
        DeviceSurface &surface_;
        Pen pen_;
        ReducedPath path_;
    };
    return std::make_unique<Reduced>(*this, pen);
}

void DeviceSurface::reducePolygon(std::vector<QPoint> &path) const
{
    mergeStraightRuns(path);
    if (dropsStraightCorners())
        dropStraightCorners(path);
}

void DeviceSurface::polygon(std::span<const PagePoint> points, const Pen &pen, const QColor &fill)
{
    std::vector<QPoint> &path = devicePath(points);
    reducePolygon(path);
    if (path.size() >= 2)
        paintPolygon(path, pen, fill);
}

std::vector<QPoint> &DeviceSurface::circlePath(double cx, double cy, double r)
{
    // A small circle rounds to far fewer distinct device points; the repeats add nothing.
    std::array<QPoint, 360> corners;
    std::size_t n = 0;
    const double reach = std::fabs(r);
    if (std::fabs(cx) + reach < kDeviceLimit && std::fabs(cy) + reach < kDeviceLimit) {
        // Every corner lies within the device limit: round without the checks, and drop
        // repeats without a branch. A page of 10^5 circle markers has 3.6 * 10^7 corners.
        std::array<int, 360> xs;
        std::array<int, 360> ys;
        circleCorners(cx, cy, r, cos_.data(), sin_.data(), xs.data(), ys.data());
        // A corner repeats the last one kept exactly when it repeats the corner before it.
        corners[0] = QPoint(xs[0], ys[0]);
        n = 1;
        for (std::size_t i = 1; i < 360; ++i) {
            corners[n] = QPoint(xs[i], ys[i]);
            n += std::size_t((xs[i] != xs[i - 1]) | (ys[i] != ys[i - 1]));
        }
    } else {
        for (std::size_t i = 0; i < 360; ++i) {
            const QPoint p(rnd(cx + r * cos_[i]), rnd(cy + r * sin_[i]));
            if (n == 0 || p != corners[n - 1])
                corners[n++] = p;
        }
    }
    path_.assign(corners.begin(), corners.begin() + std::ptrdiff_t(n));
    reducePolygon(path_);
    return path_;
}

void DeviceSurface::circle(PagePoint centre, double radiusMm, const Pen &pen, const QColor &fill)
{
    const double r = radiusMm * profile().devPerMmX;  // x units on both axes
    std::vector<QPoint> &path = circlePath(centre.x * profile().devPerMmX, centre.y * profile().devPerMmY, r);
    if (path.size() >= 2)
        paintPolygon(path, pen, fill);
}

MadeFont DeviceSurface::makeFont(const QString &face, double width)
{
    // In font units. No text is taller than the page: a size key of 10^30 must not ask for
    // such a glyph.
    const double scale = profile().textScale;
    const double tallest = kPageHeightMm * profile().devPerMmY / scale;
    return fonts_.make(face, std::min<double>(rnd(1.5 * width / scale), tallest),
                       std::min<double>(rnd(width / scale), tallest), fontDevice());
}

TextFont DeviceSurface::font(const FontRequest &request)
{
    TextFont f;
    f.request = request;
    f.drawn = makeFont(request.face, fittedWidth(request));
    f.measuredOnScreen = measuresOnScreen();
    // The canvas font on the reference screen: the metafile measures with it, and every
    // surface puts its tab stops where that font has them.
    const double px = request.width / profile().devPerScreenPxX;
    const MadeFont onScreen = fonts_.make(request.face, rnd(1.5 * px), rnd(px), fonts_.screen());
    if (f.measuredOnScreen)
        f.measured = onScreen;
    f.tabStopMm = kTabStopPx * onScreen.xScale / profile().screenPxPerMmX;
    return f;
}

double DeviceSurface::runWidth(const TextFont &f, const QString &text)
{
    if (f.measuredOnScreen)
        return fonts_.width(f.measured, text, fonts_.screen()) / profile().screenPxPerMmX;
    return fonts_.width(f.drawn, text, fontDevice()) * profile().textScale / profile().devPerMmX;
}

double DeviceSurface::textWidth(const TextFont &f, const QString &text)
{
    if (!text.contains(u'\t'))
        return runWidth(f, text);
    return layOutTabs(
        text, f.tabStopMm, [&](const QString &run) { return runWidth(f, run); }, [](double, const QString &) {});
}

void DeviceSurface::paintRun(const TextFont &f, PagePoint topLeft, const QString &text)
{
    const DevicePoint at = toDevice(topLeft);
    paintText(QPoint(at.x, at.y), f, text);
}

void DeviceSurface::text(const TextFont &f, PagePoint topLeft, const QString &text)
{
    if (text.isEmpty() || f.drawn.xScale <= 0)
        return;
    if (!text.contains(u'\t')) {
        paintRun(f, topLeft, text);
        return;
    }
    // Each run at its own place along the baseline, which reads upward on a turned text.
    layOutTabs(
        text, f.tabStopMm, [&](const QString &run) { return runWidth(f, run); },
        [&](double offset, const QString &run) {
            paintRun(f, f.request.upward ? PagePoint{topLeft.x, topLeft.y - offset} : PagePoint{topLeft.x + offset, topLeft.y},
                     run);
        });
}

} // namespace nikra
