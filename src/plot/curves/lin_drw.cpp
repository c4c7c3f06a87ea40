#include "plot/curves/lin_drw.h"

#include "plot/curves/colour_table.h"
#include "plot/curves/curve_clip.h"
#include "plot/curves/legend.h"
#include "plot/curves/line_style.h"

namespace nikra {

namespace {

void drawClipped(Surface &surface, const PassState &st, const CurvePoints &curve, const Pen &pen, bool fill)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    const QColor fillColour = pclColour(st.style.PCL);
    const double xRange = double(f.XMX) - double(f.XMN);
    const double yRange = double(f.YMX) - double(f.YMN);
    auto pointAt = [&](std::size_t k) {
        return PagePoint{g.PlotLeft + double(f.XWD) * (double(curve.x[k]) - f.XMN) / xRange,
                         g.PlotBottom - double(f.YWD) * (double(curve.y[k]) - f.YMN) / yRange};
    };
    const PageRect frame{g.PlotLeft, double(g.PlotBottom) - f.YWD, f.XWD, f.YWD};
    clipCurve(curve.size(), pointAt, frame, [&](const std::vector<PagePoint> &piece) {
        if (fill)
            surface.polygon(piece, pen, fillColour);
        else
            surface.polyline(piece, pen);
    });
}

} // namespace

void LinDrw(Surface &surface, const PassState &st, const CurvePoints &curve)
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
