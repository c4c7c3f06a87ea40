#include "plot/frame.h"

#include "plot/axis_numbers.h"
#include "plot/axis_titles.h"
#include "plot/division_marks.h"

namespace nikra {

namespace {

void drawXMarks(Surface &surface, const PassState &st)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    const DeviceProfile &profile = surface.profile();
    for (const DivisionMark &m : divisionMarks(f.XMN, f.XMX, f.XDV, f.XDS, f.XWD)) {
        const double x = g.PlotLeft + m.offset;
        if (f.XDV > 0) {
            surface.line({x, g.PlotBottom}, {x, double(g.PlotBottom) - f.YWD}, profile.divisionPen);
        } else if (f.XLP == 1) {  // ticks point into the frame from the side of the numbers
            surface.line({x, g.PlotBottom}, {x, g.PlotBottom - 1.0}, profile.framePen);
        } else if (f.XLP == 2) {
            const double top = double(g.PlotBottom) - f.YWD;
            surface.line({x, top}, {x, top + 1.0}, profile.framePen);
        }
    }
}

void drawYMarks(Surface &surface, const PassState &st)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    const DeviceProfile &profile = surface.profile();
    for (const DivisionMark &m : divisionMarks(f.YMN, f.YMX, f.YDV, f.YDS, f.YWD)) {
        const double y = g.PlotBottom - m.offset;
        if (f.YDV > 0) {
            surface.line({g.PlotLeft, y}, {double(g.PlotLeft) + f.XWD, y}, profile.divisionPen);
        } else if (f.YLP == 1) {
            surface.line({g.PlotLeft, y}, {g.PlotLeft + 1.0, y}, profile.framePen);
        } else if (f.YLP == 2) {
            const double right = double(g.PlotLeft) + f.XWD;
            surface.line({right, y}, {right - 1.0, y}, profile.framePen);
        }
    }
}

// The numbers and titles around the frame, in their fixed order; each moves the running
// edges outward so the next can stack against it.
void drawAxisTexts(Surface &surface, PassState &st)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    const DeviceProfile &p = surface.profile();
    TextEdges &e = st.edges;
    if (f.XNS <= 0) {
        e.XTextBottom = g.PlotBottom;
        e.XTextTop = g.FrameTop;
    } else if (f.XLG != 0) {
        drawLogXNumbers(surface, st, textSizeOf(p, f.XNS, KeyAxis::X));
    } else {
        drawLinearXNumbers(surface, st, textSizeOf(p, f.XNS, KeyAxis::X));
    }
    if (f.XLS <= 0) {
        if (e.XTextBottom > st.page.LowestY)
            st.page.LowestY = e.XTextBottom;
    } else {
        drawXTitle(surface, st, textSizeOf(p, f.XLS, KeyAxis::X));
    }
    e.YTextLeft = g.PlotLeft;
    e.YTextRight = g.PlotLeft + f.XWD;
    if (f.YNS > 0) {
        const TextSize size = textSizeOf(p, f.YNS, KeyAxis::Y);
        if (f.YLG == 0)
            drawLinearYNumbers(surface, st, size);
        else if (f.YLP == 1)
            drawLogYNumbersLeft(surface, st, size);
        else if (f.YLP == 2)
            drawLogYNumbersRight(surface, st, size);
    }
    if (f.YLS > 0)
        drawYTitle(surface, st, textSizeOf(p, f.YLS, KeyAxis::Y));
}

} // namespace

void drawFrame(Surface &surface, PassState &st)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    surface.rectangle({g.FrameLeft, g.FrameTop, f.XWD, f.YWD}, surface.profile().framePen);
    const float frameBottom = g.FrameTop + f.YWD;
    if (frameBottom > st.page.LowestY)
        st.page.LowestY = frameBottom;
    st.edges.XTextBottom = frameBottom;
    drawXMarks(surface, st);
    drawYMarks(surface, st);
    drawAxisTexts(surface, st);
}

} // namespace nikra
