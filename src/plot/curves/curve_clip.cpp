#include "plot/curves/curve_clip.h"

namespace nikra {

Crossings frameCrossings(PagePoint p, PagePoint c, const ClipEdges &e)
{
    Crossings out;
    auto take = [&out](PagePoint q) { out.points[std::size_t(out.count++)] = q; };

    // Heights where the segment meets the vertical edge lines, abscissae where it meets
    // the horizontal ones.
    auto heightAt = [&](double edge) {
        return c.x == p.x ? (c.y + p.y) / 2 : c.y + (edge - c.x) * (c.y - p.y) / (c.x - p.x);
    };
    auto abscissaAt = [&](double edge) {
        return c.y == p.y ? (c.x + p.x) / 2 : c.x + (edge - c.y) * (c.x - p.x) / (c.y - p.y);
    };
    auto verticalEdge = [&](double edge, double skipAt) {
        const double y = heightAt(edge);
        if ((c.x - edge) * (p.x - edge) <= 0 && (c.y - y) * (p.y - y) <= 0 && (y - e.T) * (y - e.B) <= 0
            && y != skipAt)
            take({edge, y});
    };
    auto horizontalEdge = [&](double edge, double skipAt) {
        const double x = abscissaAt(edge);
        if ((c.y - edge) * (p.y - edge) <= 0 && (c.x - x) * (p.x - x) <= 0 && (x - e.L) * (x - e.R) <= 0
            && x != skipAt)
            take({x, edge});
    };
    verticalEdge(e.L, e.B);    // left, its bottom corner left to the bottom edge
    horizontalEdge(e.B, e.R);  // bottom, its right corner left to the right edge
    verticalEdge(e.R, e.T);    // right, its top corner left to the top edge
    horizontalEdge(e.T, e.L);  // top, its left corner left to the left edge
    return out;
}

namespace {

// One pass of the polygon clipping: the part of the closed polygon on the kept side of one
// edge line. inside(p) says whether p is kept; cross(a, b) is where segment a-b meets the
// line (called only when exactly one of them is kept).
template <class Inside, class Cross>
void clipByEdge(const std::vector<PagePoint> &in, std::vector<PagePoint> &out, Inside inside, Cross cross)
{
    out.clear();
    if (in.empty())
        return;
    // A crossing at a corner that lies on the line itself would repeat it.
    auto keep = [&out](PagePoint p) {
        if (out.empty() || !(out.back() == p))
            out.push_back(p);
    };
    PagePoint prev = in.back();
    bool prevIn = inside(prev);
    for (const PagePoint &cur : in) {
        const bool curIn = inside(cur);
        if (curIn != prevIn)
            keep(cross(prev, cur));
        if (curIn)
            keep(cur);
        prev = cur;
        prevIn = curIn;
    }
    if (out.size() > 1 && out.back() == out.front())
        out.pop_back();
}

} // namespace

std::vector<PagePoint> clipPolygon(std::vector<PagePoint> polygon, const ClipEdges &e)
{
    // The crossing with a vertical line x = edge, and with a horizontal line y = edge. The
    // point exactly on the line is the edge's own value, so pieces meet the frame exactly.
    auto atX = [](double edge) {
        return [edge](PagePoint a, PagePoint b) {
            return PagePoint{edge, a.y + (edge - a.x) * (b.y - a.y) / (b.x - a.x)};
        };
    };
    auto atY = [](double edge) {
        return [edge](PagePoint a, PagePoint b) {
            return PagePoint{a.x + (edge - a.y) * (b.x - a.x) / (b.y - a.y), edge};
        };
    };
    std::vector<PagePoint> other;
    other.reserve(polygon.size() + 8);
    clipByEdge(polygon, other, [&](PagePoint p) { return p.x >= e.L; }, atX(e.L));
    clipByEdge(other, polygon, [&](PagePoint p) { return p.y <= e.B; }, atY(e.B));
    clipByEdge(polygon, other, [&](PagePoint p) { return p.x <= e.R; }, atX(e.R));
    clipByEdge(other, polygon, [&](PagePoint p) { return p.y >= e.T; }, atY(e.T));
    return polygon;
}

} // namespace nikra
