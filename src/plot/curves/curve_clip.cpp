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

} // namespace nikra
