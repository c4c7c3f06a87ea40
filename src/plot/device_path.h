#pragma once
// Device paths drawn exactly as given but with fewer points. Both reductions leave the
// drawn result unchanged:
//  - a point equal to the one before it adds nothing;
//  - a run of points on one device column (or row) covers the span between its lowest
//    and highest point, however often it goes up and down: for a solid line the run's
//    first point, its extremes and its last point cover exactly the same pixels, and a
//    polygon's outline and even-odd fill stay the same (a run going back and forth along
//    one line encloses nothing).
// A million data points across a few hundred columns collapse to a few points per
// column, which is what makes such curves quick on every surface.
//  - a polygon corner that lies on the straight line between its neighbours, strictly
//    between them, is no corner: the outline runs through it either way. A 360-corner
//    circle marker keeps only the corners where its outline turns.

#include <QPoint>

#include <array>
#include <vector>

namespace nikra {

// dropRepeats and, where asked for, mergeStraightRuns on a path that comes a point at a
// time: the same points in the end, while only the reduced path and the run being walked
// are held.
class ReducedPath {
public:
    explicit ReducedPath(bool mergeRuns);
    void add(QPoint p);
    // The reduced path; adding ends here.
    std::vector<QPoint> &finish();

private:
    // One pass of mergeStraightRuns: the run on one column (or row) being walked, handed on
    // as mergeStraightRuns would leave it once a point leaves the column.
    struct RunMerge {
        explicit RunMerge(bool x) : alongX(x) {}
        bool alongX;
        QPoint first, last, low, high;
        int lo = 0, hi = 0;
        std::size_t length = 0;
        std::array<QPoint, 3> opening{};  // a run of three points or fewer is kept as it is
        bool haveOut = false;
        QPoint lastOut;
    };
    template <class Out>
    void push(RunMerge &m, QPoint p, Out out);
    template <class Out>
    void flush(RunMerge &m, Out out);
    void toRows(QPoint p);

    bool mergeRuns_;
    bool haveLast_ = false;
    QPoint last_;
    RunMerge columns_{true};
    RunMerge rows_{false};
    std::vector<QPoint> path_;
};

// Drops points equal to their predecessor.
void dropRepeats(std::vector<QPoint> &path);

// Reduces runs on one column or row; for polygons and solid lines only (a dash pattern
// follows the path's length, which the reduction changes).
void mergeStraightRuns(std::vector<QPoint> &path);

// Drops repeated corners and corners on the straight line between their neighbours from a
// closed polygon (the last corner joins the first). The vector outputs (PDF, SVG) use it;
// the canvas keeps its paths as they are, so its pixels never move.
void dropStraightCorners(std::vector<QPoint> &polygon);

} // namespace nikra
