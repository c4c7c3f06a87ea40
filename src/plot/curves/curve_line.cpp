#include "plot/curves/curve_line.h"

#include "plot/curves/colour_table.h"
#include "plot/curves/curve_clip.h"
#include "plot/curves/legend.h"
#include "plot/curves/line_style.h"

namespace nikra {

namespace {

void drawClipped(Surface &surface, const PassState &st, const CurvePoints &curve, const Pen &pen, bool fill)
{
    auto pointAt = [&](std::size_t k) { return pageOf(st, curve.x[k], curve.y[k]); };
    if (fill) {
        // The whole curve closed by its chord, cut to the frame: one shape, whatever the view.
        const std::vector<PagePoint> shape = clipFilledCurve(curve.size(), pointAt, plotFrame(st));
        if (shape.size() >= 2)
            surface.polygon(shape, pen, pclColour(st.style.PCL));
        return;
    }
    clipCurve(curve.size(), pointAt, plotFrame(st),
              [&](const std::vector<PagePoint> &piece) { surface.polyline(piece, pen); });
}

// The legend entry's line sample, with the curve's own pen (nothing for a fill or a
// transparent line), and its label when the curve has no markers to carry it.
void drawLegendLine(Surface &surface, const PassState &st, const Pen &pen)
{
    if (const auto at = legendPoint(st)) {
        legendLine(surface, *at, pen);
        if (!(st.style.PSZ > 0))
            legendLabel(surface, st, *at);
    }
}

// Points go to a piece's surface path in parts of this many.
constexpr std::size_t kPartPoints = 4096;

} // namespace

void drawCurveLine(Surface &surface, const PassState &st, const CurvePoints &curve)
{
    const Pen pen = curvePen(st.style.LTP, st.style.PCL, surface.profile());
    const bool fill = fillsArea(st.style.LTP);
    if (pen.style != LineStyle::None || fill)  // a transparent line draws nothing
        drawClipped(surface, st, curve, pen, fill);
    drawLegendLine(surface, st, pen);
}

CurveLineInParts::CurveLineInParts(Surface &surface, const PassState &st)
    : surface_(surface), st_(st), pieces_{surface, curvePen(st.style.LTP, st.style.PCL, surface.profile()), HeldPieces(), {}, {}, 0},
      clipper_(plotFrame(st))
{
}

void CurveLineInParts::Pieces::push(PagePoint p)
{
    pending.push_back(p);
    ++count;
    if (pending.size() >= kPartPoints) {
        if (!current)
            current = surface.polylineInParts(pen);
        current->add(pending);
        pending.clear();
    }
}

void CurveLineInParts::Pieces::end()
{
    if (count >= 2) {
        if (current) {
            current->add(pending);
            held.addLong(std::move(current));
        } else {
            held.addShort(pending);
        }
    }
    current.reset();
    pending.clear();
    count = 0;
}

void CurveLineInParts::add(const DataBlock &points)
{
    if (pieces_.pen.style == LineStyle::None)
        return;  // a transparent line draws nothing
    for (std::size_t k = 0; k < points.x.size(); ++k)
        clipper_.add(pageOf(st_, points.x[k], points.y[k]), pieces_);
}

void CurveLineInParts::finish()
{
    clipper_.finish(pieces_);
    pieces_.held.drawAll(surface_, pieces_.pen);
    drawLegendLine(surface_, st_, pieces_.pen);
}

} // namespace nikra
