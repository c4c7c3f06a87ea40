#include "plot/curves/curve_fit.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace nikra {

namespace {

// The Chebyshev nodes have always been placed with this value for pi / 2.
constexpr double kHalfPi = 1.570796326;

// The abscissae of the curve: each data x followed by m evenly spaced ones before the next,
// (x_i (m + 1 - j) + x_(i+1) j) / (m + 1), and the last data x.
void subdivide(const DataBlock &b, int m, CurvePoints &out)
{
    const std::size_t n = b.x.size();
    out.x.clear();
    out.x.reserve((std::size_t(m) + 1) * (n - 1) + 1);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        out.x.push_back(b.x[i]);
        for (int j = 1; j <= m; ++j)
            out.x.push_back(float((double(b.x[i]) * (m + 1 - j) + double(b.x[i + 1]) * j) / (m + 1)));
    }
    out.x.push_back(b.x[n - 1]);
}

// The cubic spline through every point, with end slopes from the first and last two secants
// (not a natural spline): the slopes s_i solve
//   h_(i+1) s_(i-1) + 2 (h_i + h_(i+1)) s_i + h_i s_(i+1) = 3 (h_(i+1) d_i + h_i d_(i+1))
// at the inner points. Arithmetic in double, every stored value in single precision.
void spline(const DataBlock &b, int m, CurvePoints &out)
{
    const int n = b.count();
    // 1-based working arrays, as the equations are written.
    std::vector<float> x(std::size_t(n) + 2), y(std::size_t(n) + 2);
    for (int i = 1; i <= n; ++i) {
        x[std::size_t(i)] = b.x[std::size_t(i - 1)];
        y[std::size_t(i)] = b.y[std::size_t(i - 1)];
    }
    std::vector<float> H(std::size_t(n) + 2), D(std::size_t(n) + 2), P(std::size_t(n) + 2), S(std::size_t(n) + 2);
    H[1] = 0;
    P[1] = 1;
    for (int i = 2; i <= n; ++i) {
        H[i] = float(double(x[i]) - double(x[i - 1]));
        D[i] = float((double(y[i]) - double(y[i - 1])) / double(H[i]));
    }
    if (n < 3) {
        S[1] = D[2];
        S[n] = D[2];
    } else {
        S[1] = float((3.0 * D[2] - D[3]) / 2);
        S[n] = float((3.0 * D[n] - D[n - 1]) / 2);
    }
    for (int i = 2; i <= n - 1; ++i) {
        S[i] = float(3.0 * (double(D[i]) * H[i + 1] + double(D[i + 1]) * H[i]));
        P[i] = float(2.0 * (double(H[i]) + H[i + 1]));
    }
    for (int i = 2; i <= n - 1; ++i) {  // row 1 is s_1 itself: row 2 loses its s_1 term
        const float t = float(double(H[i + 1]) / P[i - 1]);
        P[i] = float(double(P[i]) - double(t) * H[i - 1]);
        S[i] = float(double(S[i]) - double(t) * S[i - 1]);
    }
    for (int i = n - 1; i >= 2; --i)
        S[i] = float((double(S[i]) - double(H[i]) * S[i + 1]) / P[i]);

    subdivide(b, m, out);
    out.y.clear();
    out.y.reserve(out.x.size());
    for (int i = 1; i <= n - 1; ++i) {
        const double h = H[i + 1];
        const double d = D[i + 1];
        const float e = float(double(S[i]) + S[i + 1] - 2 * d);
        const float c2 = float(((d - S[i]) - e) / h);
        const float c3 = float(e / (h * h));
        out.y.push_back(y[i]);
        for (int j = 1; j <= m; ++j) {
            const float delta = float(double(out.x[std::size_t((i - 1) * (m + 1) + j)]) - x[i]);
            out.y.push_back(float(((double(c3) * delta + c2) * delta + S[i]) * delta + y[i]));
        }
    }
    out.y.push_back(y[n]);
}

// The value at t of the polynomial through all points (u_i, y_i), the products taken in
// the order the terms are written. Such a polynomial of high degree overshoots wildly on
// real data: where its value is not finite, or lies farther outside the data's y range
// than that range is wide, the caller takes the straight line between the bracketing
// points instead. A product that has overflowed makes the value non-finite, so the sum
// stops there; one that has underflowed to zero adds nothing more.
//
// Each product term spends one unit of budget; a sum that would overspend it gives up and
// is taken as not finite (the straight line), so resampling ends in bounded time whatever
// the data. On real data the products overflow or vanish long before that.
double lagrange(const std::vector<float> &u, const std::vector<float> &y, double t, bool &finite, long long &budget)
{
    const std::size_t n = u.size();
    double sum = 0;
    for (std::size_t k = 0; k < n; ++k) {
        double product = 1;
        for (std::size_t i = 0; i < n && product != 0; ++i) {
            if (i == k)
                continue;
            if (--budget < 0) {
                finite = false;
                return 0;
            }
            product = product * (t - u[i]) / (double(u[k]) - u[i]);
            if (!std::isfinite(product)) {
                finite = false;
                return 0;
            }
        }
        sum += y[k] * product;
    }
    finite = std::isfinite(sum);
    return sum;
}

// The Chebyshev approximation of degree m through values resampled at the m + 1 nodes,
// evaluated as the series sum c_k T_k(u), u = (x - mid) / half, by Clenshaw's recurrence
// in double precision. Expanding the series into powers of x instead would need
// coefficients growing like (mid / half)^k that cancel one another: on calendar years the
// curve fell apart from degree 7 on.
void chebyshev(const DataBlock &b, int m, CurvePoints &out)
{
    const std::size_t n = b.x.size();
    const double xa = b.x.front();
    const double xb = b.x.back();
    std::vector<float> U(n);
    for (std::size_t i = 0; i < n; ++i)
        U[i] = float((2.0 * b.x[i] - xa - xb) / (xb - xa));

    // Nodes in ascending order: T[m - k] = t_k = cos(theta_k).
    std::vector<float> theta(std::size_t(m) + 1), T(std::size_t(m) + 1), F(std::size_t(m) + 1);
    for (int k = 0; k <= m; ++k) {
        theta[std::size_t(k)] = float((2 * k + 1) * kHalfPi / (m + 1));
        T[std::size_t(m - k)] = float(std::cos(double(theta[std::size_t(k)])));
    }

    // Equal mapped abscissae make a division by zero in every Lagrange product.
    const bool distinct = std::adjacent_find(U.begin(), U.end()) == U.end();
    const auto [yLow, yHigh] = std::minmax_element(b.y.begin(), b.y.end());
    const double spread = double(*yHigh) - double(*yLow);
    auto linear = [&](std::size_t a, double t) {  // between points a and a + 1 (0-based)
        return (t - U[a]) / (double(U[a + 1]) - U[a]) * (double(b.y[a + 1]) - b.y[a]) + b.y[a];
    };

    // Resample at the nodes in ascending order with a cursor that only moves forward:
    // linear at the two ends, the Lagrange polynomial in between.
    std::size_t s = 1;  // 1-based: the first point with U_s > t, or N
    long long lagrangeBudget = kMaxResampleProducts;
    for (int j = 0; j <= m; ++j) {
        const double t = T[std::size_t(j)];
        while (s < n && !(t < U[s - 1]))
            ++s;
        double value;
        if (s >= n) {
            s = n;
            value = linear(n - 2, t);
        } else if (s <= 2) {
            s = 2;
            value = linear(0, t);
        } else {
            bool finite = distinct;
            value = finite ? lagrange(U, b.y, t, finite, lagrangeBudget) : 0;
            if (!finite || value < *yLow - spread || value > *yHigh + spread)
                value = linear(s - 2, t);
        }
        F[std::size_t(m - j)] = float(value);  // F[k] belongs to t_k
    }

    // Chebyshev coefficients.
    std::vector<double> c(std::size_t(m) + 1);
    for (int k = 0; k <= m; ++k) {
        double sum = 0;
        for (int i = 0; i <= m; ++i)
            sum += k == 0 ? F[std::size_t(i)] : F[std::size_t(i)] * std::cos(k * double(theta[std::size_t(i)]));
        c[std::size_t(k)] = float(2 * sum / (m + 1));
    }
    c[0] = float(c[0] / 2);

    // The polynomials of the series are those of the recurrence T_k = 2u T_(k-1) - T_(k-2)
    // with one change the approximation has always made: the constant term of T_k (k >= 2)
    // is cos(k * 1.570796326) in single precision, not 1, 0 or -1. The difference D_k
    // follows D_k = 2u D_(k-1) - D_(k-2) + e_k with D_0 = D_1 = 0, where e_k makes up the
    // constant term; written in Chebyshev polynomials itself (2u T_j = T_(j+1) + T_|j-1|),
    // it folds into the coefficients, and the sum is the plain series of the folded ones.
    // Its weight is a few parts in 10^9 of the curve.
    auto constantTerm = [](int k) { return k == 0 ? 1.0 : k == 1 ? 0.0 : double(float(std::cos(k * kHalfPi))); };
    std::vector<double> folded = c;
    std::vector<double> older(std::size_t(m) + 1, 0.0), old(std::size_t(m) + 1, 0.0), next(std::size_t(m) + 1);
    for (int k = 2; k <= m; ++k) {
        std::fill(next.begin(), next.end(), 0.0);
        for (int j = 0; j < k - 1; ++j) {  // D_(k-1) has degree k - 3 at most
            const double a = old[std::size_t(j)];
            next[std::size_t(j + 1)] += j == 0 ? 2 * a : a;
            if (j > 0)
                next[std::size_t(j - 1)] += a;
        }
        for (int j = 0; j <= m; ++j)
            next[std::size_t(j)] -= older[std::size_t(j)];
        next[0] += constantTerm(k) + constantTerm(k - 2);
        for (int j = 0; j <= k - 2; ++j)
            folded[std::size_t(j)] += c[std::size_t(k)] * next[std::size_t(j)];
        older.swap(old);
        old.swap(next);
    }

    const double mid = (xa + xb) / 2;
    const double perHalf = 2 / (xb - xa);  // u = (x - mid) / half, a product per point
    subdivide(b, m, out);
    out.y.resize(out.x.size());
    const double *const coef = folded.data();
    // Clenshaw: b_k = c_k + 2u b_(k+1) - b_(k+2) from k = m down to 1; the sum is then
    // c_0 + u b_1 - b_2. Four points at a time, side by side, so the processor works on
    // four independent recurrences (each point's value is the same as alone).
    constexpr std::size_t kLanes = 4;
    auto sumAt = [&](std::size_t first, std::size_t count) {
        double u[kLanes] = {}, twoU[kLanes] = {}, b1[kLanes] = {}, b2[kLanes] = {};
        for (std::size_t l = 0; l < count; ++l) {
            u[l] = (double(out.x[first + l]) - mid) * perHalf;
            twoU[l] = 2 * u[l];
        }
        for (int k = m; k >= 1; --k) {
            for (std::size_t l = 0; l < kLanes; ++l) {
                const double bk = twoU[l] * b1[l] + (coef[k] - b2[l]);
                b2[l] = b1[l];
                b1[l] = bk;
            }
        }
        for (std::size_t l = 0; l < count; ++l)
            out.y[first + l] = float(coef[0] + u[l] * b1[l] - b2[l]);
    };
    const std::size_t points = out.x.size();
    std::size_t i = 0;
    for (; i + kLanes <= points; i += kLanes)
        sumAt(i, kLanes);
    if (i < points)
        sumAt(i, points - i);
}

} // namespace

long long curvePointCount(long long n, int IPL)
{
    return (std::llabs(IPL) + 1) * (n - 1) + 1;
}

long long curveFitWork(long long n, int IPL)
{
    if (IPL >= 0)
        return 0;
    // A cosine of a large angle costs about as much as fifty multiply-adds.
    constexpr long long kTranscendental = 50;
    const long long m = -(long long)IPL;
    const long long coefficients = (m + 1) * (m + 1) * kTranscendental;
    const long long folding = m * m;
    const long long evaluation = curvePointCount(n, IPL) * m;
    return coefficients + folding + evaluation;
}

CurveFitLimit curveFitLimit(long long n, int IPL)
{
    // Without a fit the block's own points are drawn, however many the file holds.
    if (IPL == 0)
        return CurveFitLimit::Within;
    if (curvePointCount(n, IPL) > kMaxCurvePoints)
        return CurveFitLimit::TooManyPoints;
    if (curveFitWork(n, IPL) > kMaxCurveWork)
        return CurveFitLimit::TooMuchWork;
    return CurveFitLimit::Within;
}

void fitCurve(const DataBlock &block, int IPL, CurvePoints &out)
{
    if (IPL == 0 || block.count() < 2) {
        out.x = block.x;
        out.y = block.y;
    } else if (IPL > 0) {
        spline(block, IPL, out);
    } else {
        chebyshev(block, -IPL, out);
    }
}

} // namespace nikra
