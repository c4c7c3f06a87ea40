#pragma once
// Turning a block's points into the curve points the line drawing joins.

#include "formats/graph_data_reader.h"

#include <vector>

namespace nikra {

struct CurvePoints {
    std::vector<float> x;  // axis units, single precision
    std::vector<float> y;
    std::size_t size() const { return x.size(); }
};

// The number of curve points a fit with this IPL makes from n points:
// (|IPL| + 1)(n - 1) + 1.
long long curvePointCount(long long n, int IPL);

// IPL = 0 joins the data points as they are.
void fitCurve(const DataBlock &block, int IPL, CurvePoints &out);

} // namespace nikra
