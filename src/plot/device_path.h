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

#include <QPoint>

#include <vector>

namespace nikra {

// Drops points equal to their predecessor.
void dropRepeats(std::vector<QPoint> &path);

// Reduces runs on one column or row; for polygons and solid lines only (a dash pattern
// follows the path's length, which the reduction changes).
void mergeStraightRuns(std::vector<QPoint> &path);

} // namespace nikra
