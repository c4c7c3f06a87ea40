#pragma once
// Clipping a curve to its frame, in page millimetres, before any surface sees it, so all
// three surfaces get the same pieces.
//
// The curve is walked point by point and gathered into pieces. A segment with an end
// outside the frame is tested against the edges in the order left, bottom, right, top; a
// crossing counts when the edge's line separates or touches the two ends, the crossing lies
// between them and on the edge itself. A crossing at an edge's end corner is left to the
// next edge in that order (left skips yL = B, bottom skips xB = R, right skips yR = T, top
// skips xT = L), so a corner is taken once. Crossing heights on a vertical edge are
// yc + (edge - xc)(yc - yp) / (xc - xp) (the mean of the two heights for a vertical
// segment); crossing abscissae on a horizontal edge likewise.
//
//  - leaving the frame: the piece ends at the exit crossing and is drawn;
//  - entering: the piece starts at the entry crossing;
//  - passing through with both ends outside: a piece of the two crossings;
//  - only touching the frame at one point (through a corner): nothing.
// When a curve point lies exactly on an edge, the "crossing" at that point itself is not
// taken for the exit or entry: the exit is the crossing farthest from the inside end, the
// entry the one farthest from the inside end, so a segment starting on the left edge and
// leaving through the top is drawn up to the top edge, not dropped.

#include "plot/page_units.h"

#include <array>
#include <cstddef>
#include <vector>

namespace nikra {

struct ClipEdges {
    double L, R, B, T;  // left, right, bottom (larger y), top (smaller y)
    static ClipEdges of(const PageRect &r) { return {r.left, r.right(), r.bottom(), r.top}; }
    bool outside(PagePoint p) const { return p.x < L || p.x > R || p.y > B || p.y < T; }
    bool inside(PagePoint p) const
    {
        return (p.x - L) * (p.x - R) <= 0 && (p.y - T) * (p.y - B) <= 0;
    }
};

// The crossings of segment p-c with the frame, in edge order, corner rule applied.
struct Crossings {
    std::array<PagePoint, 4> points;
    int count = 0;
};
Crossings frameCrossings(PagePoint p, PagePoint c, const ClipEdges &e);

// The polygon cut by the four edge lines in turn (each keeps the side the frame is on).
std::vector<PagePoint> clipPolygon(std::vector<PagePoint> polygon, const ClipEdges &e);

// A filled curve: the polygon of all count points, closed by the chord from the last point
// back to the first, cut to the frame (the part of it that lies inside the rectangle). One
// fixed shape whatever the view shows of it, so panning only moves the window over it;
// where the whole curve lies inside, the polygon is returned unchanged. Edges along the
// frame may run twice where the shape leaves and re-enters; they enclose no area.
template <class PointAt>
std::vector<PagePoint> clipFilledCurve(std::size_t count, PointAt pointAt, const PageRect &frame)
{
    std::vector<PagePoint> polygon;
    polygon.reserve(count);
    for (std::size_t k = 0; k < count; ++k)
        polygon.push_back(pointAt(k));
    return clipPolygon(std::move(polygon), ClipEdges::of(frame));
}

// Walks count curve points (pointAt(k) gives point k in page mm) and calls
// emit(const std::vector<PagePoint> &piece) for every piece of two points or more.
template <class PointAt, class Emit>
void clipCurve(std::size_t count, PointAt pointAt, const PageRect &frame, Emit emit)
{
    const ClipEdges e = ClipEdges::of(frame);
    std::vector<PagePoint> piece;
    PagePoint prev{};
    std::size_t k = 0;
    while (k < count) {
        piece.clear();
        bool stopped = false;
        for (; k < count; ++k) {
            const PagePoint cur = pointAt(k);
            if (k >= 1 && (e.outside(prev) || e.outside(cur))) {
                const Crossings x = frameCrossings(prev, cur, e);
                const bool prevInside = e.inside(prev);
                const bool curInside = e.inside(cur);
                auto farthestFrom = [&x](PagePoint from) {
                    PagePoint best = x.points[0];
                    double bestD = -1;
                    for (int i = 0; i < x.count; ++i) {
                        const PagePoint d = x.points[std::size_t(i)] - from;
                        const double dist = d.x * d.x + d.y * d.y;
                        if (dist > bestD) {
                            bestD = dist;
                            best = x.points[std::size_t(i)];
                        }
                    }
                    return best;
                };
                if (prevInside) {  // leaving: end the piece at the exit
                    if (x.count > 0)
                        piece.push_back(farthestFrom(prev));
                    stopped = true;
                } else if (curInside) {  // entering
                    if (x.count > 0)
                        piece.push_back(farthestFrom(cur));
                } else {  // both outside: through the frame, or only touching it
                    int taken = 0;
                    for (int i = 0; i < x.count && taken < 2; ++i) {
                        const PagePoint q = x.points[std::size_t(i)];
                        if (taken == 0 || !(q == piece.back())) {
                            piece.push_back(q);
                            ++taken;
                        }
                    }
                    if (taken == 2)
                        stopped = true;
                    else if (taken == 1)
                        piece.pop_back();
                }
                if (stopped) {
                    prev = cur;
                    break;
                }
            }
            if (e.inside(cur))
                piece.push_back(cur);
            prev = cur;
        }
        if (piece.size() >= 2)
            emit(piece);
        if (stopped)
            ++k;
    }
}

} // namespace nikra
