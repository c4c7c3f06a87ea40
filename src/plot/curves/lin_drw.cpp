#include "plot/curves/lin_drw.h"

#include "plot/curves/colour_table.h"
#include "plot/curves/curve_clip.h"
#include "plot/curves/line_style.h"

namespace nikra {

void LinDrw(Surface &surface, const PassState &st, const CurvePoints &curve)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    const Pen pen = curvePen(st.style.LTP, st.style.PCL, surface.profile());
    const bool fill = fillsArea(st.style.LTP);
    if (pen.style == LineStyle::None && !fill)
        return;  // a transparent line: nothing to draw
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

} // namespace nikra
