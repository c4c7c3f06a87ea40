#include "plot/painter_surface.h"

#include "plot/device_path.h"

#include <QPaintDevice>

#include <algorithm>
#include <array>

namespace nikra {

namespace {

// Wide solid polylines are drawn in runs of this many segments: Qt strokes one very long
// wide polyline far more slowly than the same line in pieces, and with round caps and
// joins the cuts do not show.
constexpr std::size_t kSegmentsPerRun = 256;

QPoint toQPoint(DevicePoint p) { return {p.x, p.y}; }

// Dash patterns in screen pixels, the lengths users know from the screen; on the printer
// and in the metafile they are scaled to the same length in millimetres.
std::vector<qreal> dashLengths(LineStyle style)
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

} // namespace

PainterSurface::~PainterSurface()
{
    if (painter_.isActive())
        painter_.end();
}

bool PainterSurface::beginPainting(QPaintDevice *device, bool clip)
{
    if (!painter_.begin(device))
        return false;
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    if (clip)
        painter_.setClipRect(QRect(0, 0, device->width(), device->height()));
    return true;
}

bool PainterSurface::endPainting() { return !painter_.isActive() || painter_.end(); }

QPen PainterSurface::qtPen(const Pen &pen) const
{
    if (pen.style == LineStyle::None)
        return QPen(Qt::NoPen);
    const int width = std::max(1, pen.width);
    QPen q(pen.color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const std::vector<qreal> lengths = dashLengths(pen.style);
    if (!lengths.empty()) {
        QList<qreal> pattern;
        const double unit = profile().devPerScreenPxX / width;  // Qt counts in pen widths
        for (qreal len : lengths)
            pattern.append(len * unit);
        q.setCapStyle(Qt::FlatCap);
        q.setDashPattern(pattern);
    }
    return q;
}

const std::vector<QPoint> &PainterSurface::devicePath(std::span<const PagePoint> points)
{
    path_.clear();
    path_.reserve(points.size());
    for (const PagePoint &p : points)
        path_.push_back(toQPoint(toDevice(p)));
    dropRepeats(path_);
    return path_;
}

void PainterSurface::drawPath(const std::vector<QPoint> &path, const Pen &pen)
{
    if (path.size() < 2 || pen.style == LineStyle::None)
        return;
    painter_.setPen(qtPen(pen));
    painter_.setBrush(Qt::NoBrush);
    if (pen.width <= 1 || pen.style != LineStyle::Solid) {
        painter_.drawPolyline(path.data(), int(path.size()));
        return;
    }
    for (std::size_t start = 0; start + 1 < path.size(); start += kSegmentsPerRun) {
        const std::size_t count = std::min(kSegmentsPerRun + 1, path.size() - start);
        painter_.drawPolyline(path.data() + start, int(count));
    }
}

void PainterSurface::line(PagePoint a, PagePoint b, const Pen &pen)
{
    if (pen.style == LineStyle::None)
        return;
    painter_.setPen(qtPen(pen));
    painter_.drawLine(toQPoint(toDevice(a)), toQPoint(toDevice(b)));
}

void PainterSurface::rectangle(const PageRect &rect, const Pen &pen)
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

void PainterSurface::polyline(std::span<const PagePoint> points, const Pen &pen)
{
    if (pen.style == LineStyle::None)
        return;
    devicePath(points);
    if (pen.style == LineStyle::Solid)
        mergeStraightRuns(path_);
    drawPath(path_, pen);
}

void PainterSurface::polygon(std::span<const PagePoint> points, const Pen &pen, const QColor &fill)
{
    const std::vector<QPoint> &path = devicePath(points);
    if (path.empty())
        return;
    painter_.setPen(qtPen(pen));
    painter_.setBrush(fill);
    painter_.drawPolygon(path.data(), int(path.size()), Qt::OddEvenFill);
}

} // namespace nikra
