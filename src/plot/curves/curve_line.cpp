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

} // namespace

void drawCurveLine(Surface &surface, const PassState &st, const CurvePoints &curve)
{
    const Pen pen = curvePen(st.style.LTP, st.style.PCL, surface.profile());
    const bool fill = fillsArea(st.style.LTP);
    if (pen.style != LineStyle::None || fill)  // a transparent line draws nothing
        drawClipped(surface, st, curve, pen, fill);
    // The legend entry's line sample, with the curve's own pen (nothing for a fill or a
    // transparent line), and its label when the curve has no markers to carry it.
    if (const auto at = legendPoint(st)) {
        legendLine(surface, *at, pen);
        if (!(st.style.PSZ > 0))
            legendLabel(surface, st, *at);
    }
}

} // namespace nikra
