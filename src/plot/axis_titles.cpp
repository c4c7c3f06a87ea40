#include "plot/axis_titles.h"

namespace nikra {

void drawXTitle(Surface &surface, PassState &st, const TextSize &size)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    if (f.XLP != 1 && f.XLP != 2)
        return;
    const TextFont font = surface.font({st.faces.label, size.w, false, f.XLB});
    const double x = g.FrameLeft + f.XWD / 2.0 - surface.textWidth(font, f.XLB) / 2;
    if (f.XLP == 1) {
        const double y = st.edges.XTextBottom + 0.3 * size.h;
        surface.text(font, {x, y}, f.XLB);
        st.edges.XTextBottom = float(y + size.h);
        if (st.edges.XTextBottom > st.page.LowestY)
            st.page.LowestY = st.edges.XTextBottom;
    } else {
        surface.text(font, {x, st.edges.XTextTop - 1.2 * size.h}, f.XLB);
    }
}

void drawYTitle(Surface &surface, PassState &st, const TextSize &size)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    if (f.YLP != 1 && f.YLP != 2)
        return;
    const TextFont font = surface.font({st.faces.label, size.w, true, f.YLB});
    // The text starts at its bottom end: the top-left corner of its cell in its own
    // direction, with the cell reaching the text height to the right of x.
    const double y = g.FrameTop + f.YWD / 2.0 + surface.textWidth(font, f.YLB) / 2;
    const double x = f.YLP == 1 ? st.edges.YTextLeft - 1.2 * size.h : st.edges.YTextRight + 0.2 * size.h;
    surface.text(font, {x, y}, f.YLB);
}

} // namespace nikra
