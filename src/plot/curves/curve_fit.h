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

// Fitted curves (IPL != 0) of more points than this are drawn without fitting, so a large
// IPL on a large block never asks for gigabytes. A block drawn as it is has no such bound.
inline constexpr long long kMaxCurvePoints = 5'000'000;

// The most work one fit may take, in the units of curveFitWork (one multiply-add; about a
// tenth of a second in all): a Chebyshev degree of thousands costs its square in
// coefficients and the curve's points times the degree in evaluation, so a file of a few
// bytes could otherwise hold the program for minutes.
inline constexpr long long kMaxCurveWork = 100'000'000;

// The most Lagrange products one Chebyshev resampling may take. On real data the products
// overflow or vanish after a few terms; past this many the remaining nodes take the straight
// line between their bracketing points, as they do for a value that is not finite.
inline constexpr long long kMaxResampleProducts = 30'000'000;

// The work of fitting n points with IPL, before the data's own (resampling) part: the
// Chebyshev coefficients (weighted by the cost of their cosines) and the evaluation of the
// series at every curve point. Splines cost a few operations a point, already bounded by
// the point limit.
long long curveFitWork(long long n, int IPL);

enum class CurveFitLimit { Within, TooManyPoints, TooMuchWork };
// Whether a block of n points may be fitted with IPL; beyond a limit it is drawn with IPL 0.
CurveFitLimit curveFitLimit(long long n, int IPL);

// block holds at least two points, with x strictly ascending or descending when IPL != 0
// (the reader's checks set IPL to 0 otherwise).
void fitCurve(const DataBlock &block, int IPL, CurvePoints &out);

} // namespace nikra
