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

// The walk of a curve through the frame, one point at a time, so that a curve of any
// length can be clipped as its points are read. A Piece takes the points of the current
// piece (push(PagePoint)) and hears where each piece ends (end()); only pieces of two points
// or more count, which the Piece judges by the points it was given.
class CurveClipper {
public:
    explicit CurveClipper(const PageRect &frame) : e_(ClipEdges::of(frame)) {}

    template <class Piece>
    void add(PagePoint cur, Piece &piece)
    {
        if (started_ && (e_.outside(prev_) || e_.outside(cur))) {
            const Crossings x = frameCrossings(prev_, cur, e_);
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
            bool stopped = false;
            if (e_.inside(prev_)) {  // leaving: end the piece at the exit
                if (x.count > 0)
                    piece.push(farthestFrom(prev_));
                stopped = true;
            } else if (e_.inside(cur)) {  // entering
                if (x.count > 0)
                    piece.push(farthestFrom(cur));
            } else if (x.count > 0) {  // both outside: through the frame, or only touching it
                const PagePoint in = x.points[0];
                for (int i = 1; i < x.count; ++i) {
                    if (!(x.points[std::size_t(i)] == in)) {
                        piece.push(in);
                        piece.push(x.points[std::size_t(i)]);
                        stopped = true;
                        break;
                    }
                }
            }
            if (stopped) {
                // The point that ends a piece starts no new one: the next piece begins
                // where the curve comes back.
                piece.end();
                prev_ = cur;
                return;
            }
        }
        if (e_.inside(cur))
            piece.push(cur);
        prev_ = cur;
        started_ = true;
    }

    template <class Piece>
    void finish(Piece &piece)
    {
        piece.end();
    }

private:
    ClipEdges e_;
    PagePoint prev_{};
    bool started_ = false;
};

// Walks count curve points (pointAt(k) gives point k in page mm) and calls
// emit(const std::vector<PagePoint> &piece) for every piece of two points or more.
template <class PointAt, class Emit>
void clipCurve(std::size_t count, PointAt pointAt, const PageRect &frame, Emit emit)
{
    struct Piece {
        Emit &emit;
        std::vector<PagePoint> points;
        void push(PagePoint p) { points.push_back(p); }
        void end()
        {
            if (points.size() >= 2)
                emit(points);
            points.clear();
        }
    } piece{emit, {}};
    CurveClipper clipper(frame);
    for (std::size_t k = 0; k < count; ++k)
        clipper.add(pointAt(k), piece);
    clipper.finish(piece);
}

} // namespace nikra
