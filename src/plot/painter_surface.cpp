#include "plot/painter_surface.h"

#include <QPaintDevice>

#include <algorithm>

namespace nikra {

namespace {

// Wide solid polylines are drawn in runs of this many segments: Qt strokes one very long
// wide polyline far more slowly than the same line in pieces, and with round caps and
// joins the cuts do not show.
constexpr std::size_t kSegmentsPerRun = 256;

} // namespace

PainterSurface::~PainterSurface()
{
    if (painter_.isActive())
        painter_.end();
}

bool PainterSurface::beginPainting(QPaintDevice *device, bool clip)
{
    device_ = device;
    if (!painter_.begin(device))
        return false;
    // Devices draw aliased lines, as printers and screens always did; text is smoothed.
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
    const std::vector<double> lengths = dashLengths(pen.style);
    if (!lengths.empty()) {
        QList<qreal> pattern;
        const double unit = profile().devPerScreenPxX / width;  // Qt counts in pen widths
        for (double len : lengths)
            pattern.append(len * unit);
        q.setCapStyle(Qt::FlatCap);
        q.setDashPattern(pattern);
    }
    return q;
}

void PainterSurface::use(const Pen &pen, const QBrush &brush)
{
    if (!pen_ || !(*pen_ == pen)) {
        painter_.setPen(qtPen(pen));
        pen_ = pen;
    }
    if (brush_ != brush) {
        painter_.setBrush(brush);
        brush_ = brush;
    }
}

void PainterSurface::paintPolyline(const std::vector<QPoint> &path, const Pen &pen)
{
    use(pen, Qt::NoBrush);
    if (pen.width <= 1 || pen.style != LineStyle::Solid) {
        painter_.drawPolyline(path.data(), int(path.size()));
        return;
    }
    for (std::size_t start = 0; start + 1 < path.size(); start += kSegmentsPerRun) {
        const std::size_t count = std::min(kSegmentsPerRun + 1, path.size() - start);
        painter_.drawPolyline(path.data() + start, int(count));
    }
}

void PainterSurface::paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill)
{
    use(pen, QBrush(fill));
    painter_.drawPolygon(path.data(), int(path.size()), Qt::OddEvenFill);
}

void PainterSurface::paintFractionalPolyline(std::span<const QPointF> path, const Pen &pen)
{
    use(pen, Qt::NoBrush);
    painter_.drawPolyline(path.data(), int(path.size()));
}

void PainterSurface::paintText(QPoint at, const TextFont &f, const QString &text)
{
    // A text that starts below the page cannot show: both devices are clipped to the page.
    // Comment files of many lines run far past it, and a PDF would otherwise carry every
    // one of them unseen.
    if (!f.request.upward && at.y() >= device_->height())
        return;
    painter_.save();  // restore() gives back the pen and brush it found
    painter_.translate(at);
    if (f.request.upward)
        painter_.rotate(-90);
    // A width adjustment runs along the text's own baseline, after the turn; the font is
    // laid out in font units and enlarged to device units.
    const double scale = profile().textScale;
    painter_.scale(f.drawn.xScale * scale, scale);
    painter_.setFont(f.drawn.font);
    painter_.setPen(QPen(Qt::black));
    painter_.drawText(QPointF(0, f.drawn.ascent), text);
    painter_.restore();
}

} // namespace nikra
