#pragma once
// Turning a block's N points into the curve points the line drawing joins. IPL = 0 joins
// the points as they are; IPL = m > 0 inserts m points between each pair of neighbours on
// a cubic spline through all of them; IPL = -m replaces the data by one polynomial of
// degree m from a Chebyshev approximation. Both fits give (m + 1)(N - 1) + 1 points at the
// same abscissae: the data's, and m evenly spaced ones between each pair.

#include "formats/graph_data_reader.h"

#include <vector>

namespace nikra {

struct CurvePoints {
    std::vector<float> x;  // axis units, single precision
    std::vector<float> y;
    std::size_t size() const { return x.size(); }
};

long long curvePointCount(long long n, int IPL);

// block holds at least two points, with x strictly ascending or descending when IPL != 0
// (the reader's checks set IPL to 0 otherwise).
void fitCurve(const DataBlock &block, int IPL, CurvePoints &out);

} // namespace nikra
