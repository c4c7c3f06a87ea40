#include "plot/axis_numbers.h"

#include "plot/division_marks.h"
#include "formats/number_text.h"

#include <algorithm>
#include <optional>

namespace nikra {

namespace {

const QString kTen = QStringLiteral("10");

std::vector<DivisionMark> xMarks(const PlotFormat &f) { return divisionMarks(f.XMN, f.XMX, f.XDV, f.XDS, f.XWD); }
std::vector<DivisionMark> yMarks(const PlotFormat &f) { return divisionMarks(f.YMN, f.YMX, f.YDV, f.YDS, f.YWD); }

// The printer fits the number fonts on "10".
TextFont numberFont(Surface &surface, const PassState &st, double w)
{
    return surface.font({st.faces.label, w, false, kTen});
}

} // namespace

void drawLinearXNumbers(Surface &surface, PassState &st, const TextSize &size)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    if (f.XLP != 1 && f.XLP != 2)
        return;
    const TextFont font = numberFont(surface, st, size.w);
    const double h = size.h;
    for (const DivisionMark &m : xMarks(f)) {
        const QString text = numberText(m.value, f.XND);
        const double x = g.PlotLeft + m.offset - surface.textWidth(font, text) / 2;
        double y;
        if (f.XLP == 1) {
            y = g.PlotBottom + h / 3;
            st.edges.XTextBottom = float(y + h);
        } else {
            y = g.FrameTop - 4 * h / 3;
            st.edges.XTextTop = float(y);
        }
        surface.text(font, {x, y}, text);
    }
}

void drawLinearYNumbers(Surface &surface, PassState &st, const TextSize &size)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    if (f.YLP != 1 && f.YLP != 2)
        return;
    const TextFont font = numberFont(surface, st, size.w);
    const double digit = surface.textWidth(font, QStringLiteral("0"));
    for (const DivisionMark &m : yMarks(f)) {
        const QString text = numberText(m.value, f.YND);
        const double tw = surface.textWidth(font, text);
        const double y = g.PlotBottom - m.offset - size.h / 2;
        if (f.YLP == 1) {  // right-aligned half a digit left of the frame
            const double x = g.PlotLeft - tw - digit / 2;
            if (x < st.edges.YTextLeft)
                st.edges.YTextLeft = float(x);
            surface.text(font, {x, y}, text);
        } else {  // left-aligned half a digit right of the frame
            const double x = double(g.PlotLeft) + f.XWD + digit / 2;
            surface.text(font, {x, y}, text);
            if (x + tw > st.edges.YTextRight)
                st.edges.YTextRight = float(x + tw);
        }
    }
}

void drawLogXNumbers(Surface &surface, PassState &st, const TextSize &size)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    if (f.XLP != 1 && f.XLP != 2)
        return;
    const double h = size.h;
    const std::vector<DivisionMark> marks = xMarks(f);

    const TextFont base = numberFont(surface, st, size.w);
    const double ten = surface.textWidth(base, kTen);
    for (const DivisionMark &m : marks) {
        const double x = g.PlotLeft + m.offset - ten / 2;
        double y;
        if (f.XLP == 1) {
            y = g.PlotBottom + h / 2;
            st.edges.XTextBottom = float(y + h);
        } else {
            y = g.FrameTop - 1.3 * h;
        }
        surface.text(base, {x, y}, kTen);
    }

    const TextFont exponent = numberFont(surface, st, size.w / 2);
    for (const DivisionMark &m : marks) {
        const double x = g.PlotLeft + m.offset + ten / 2;
        double y;
        if (f.XLP == 1) {
            y = g.PlotBottom + h / 2.5;
        } else {
            y = g.FrameTop - 1.5 * h;
            st.edges.XTextTop = float(y);
        }
        surface.text(exponent, {x, y}, numberText(m.value, f.XND));
    }
}

void drawLogYNumbersLeft(Surface &surface, PassState &st, const TextSize &size)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    const std::vector<DivisionMark> marks = yMarks(f);

    // Exponents first, right-aligned 0.7 of a digit from the frame; the "10" column then
    // stands left of the widest exponent, so no exponent runs under the "0" of its "10"
    // (a column placed by the last exponent drawn would let "-4" cover it when "1" came last).
    const TextFont exponent = numberFont(surface, st, size.w / 2);
    const double one = surface.textWidth(exponent, QStringLiteral("1"));
    std::optional<double> leftmost;
    for (const DivisionMark &m : marks) {
        const QString text = numberText(m.value, f.YND);
        const double x = g.PlotLeft - surface.textWidth(exponent, text) - 0.7 * one;
        leftmost = std::min(x, leftmost.value_or(x));
        surface.text(exponent, {x, g.PlotBottom - m.offset - size.h / 1.5}, text);
    }
    if (leftmost)
        st.edges.YTextLeft = float(*leftmost);

    const TextFont base = numberFont(surface, st, size.w);
    st.edges.YTextLeft = float(st.edges.YTextLeft - surface.textWidth(base, kTen));
    for (const DivisionMark &m : marks)
        surface.text(base, {st.edges.YTextLeft, g.PlotBottom - m.offset - size.h / 2}, kTen);
}

void drawLogYNumbersRight(Surface &surface, PassState &st, const TextSize &size)
{
    const PlotFormat &f = st.fmt;
    const FrameGeometry &g = st.geo;
    const std::vector<DivisionMark> marks = yMarks(f);

    const TextFont base = numberFont(surface, st, size.w);
    const double ten = surface.textWidth(base, kTen);
    st.edges.YTextRight = float(double(g.FrameLeft) + f.XWD + 1.6 * ten);
    for (const DivisionMark &m : marks)
        surface.text(base, {st.edges.YTextRight - 1.4 * ten, g.PlotBottom - m.offset - size.h / 2}, kTen);

    // Each exponent starts right after its own "10"; the title beyond them stands clear of
    // the widest one, not only of the one drawn last.
    const double xe = st.edges.YTextRight - 0.4 * ten;
    const TextFont exponent = numberFont(surface, st, size.w / 2);
    std::optional<double> rightmost;
    for (const DivisionMark &m : marks) {
        const QString text = numberText(m.value, f.YND);
        surface.text(exponent, {xe, g.PlotBottom - m.offset - size.h / 1.5}, text);
        const double end = xe + surface.textWidth(exponent, text);
        rightmost = std::max(end, rightmost.value_or(end));
    }
    if (rightmost)
        st.edges.YTextRight = float(*rightmost);
}

} // namespace nikra
