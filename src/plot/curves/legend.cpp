#include "plot/curves/legend.h"

#include "plot/text_size.h"

#include <array>

namespace nikra {

std::optional<PagePoint> legendPoint(const PassState &st)
{
    const CurveStyle &s = st.style;
    if (!(st.fmt.RSZ > 0) || (s.RPS != 1 && s.RPS != 2))
        return std::nullopt;
    const double x = double(st.geo.PlotLeft) + s.RDS + 10;
    if (s.RPS == 1)
        return PagePoint{x, double(st.geo.PlotBottom) - st.legend.LegendY[1]};
    return PagePoint{x, (double(st.geo.PlotBottom) - st.fmt.YWD) + st.legend.LegendY[2]};
}

void legendLine(Surface &surface, PagePoint at, const Pen &pen)
{
    const std::array<PagePoint, 2> sample{PagePoint{at.x - 10, at.y}, at};
    surface.polyline(sample, pen);
}

void legendLabel(Surface &surface, const PassState &st, PagePoint at)
{
    const TextSize size = textSizeOf(surface.profile(), st.fmt.RSZ, KeyAxis::X, 1.5);
    const QString &face = surface.profile().legendInLabelFace ? st.faces.label : st.faces.comment;
    const TextFont font = surface.font({face, size.w, false, st.style.RLB});
    surface.text(font, {at.x + st.style.PSZ + 1, at.y - size.h / 2}, st.style.RLB);
}

} // namespace nikra
