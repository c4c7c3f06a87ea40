#include "plot/curves/curve_fit.h"

#include <cstdlib>

namespace nikra {

long long curvePointCount(long long n, int IPL)
{
    return (std::llabs(IPL) + 1) * (n - 1) + 1;
}

void fitCurve(const DataBlock &block, int IPL, CurvePoints &out)
{
    (void)IPL;
    out.x = block.x;
    out.y = block.y;
}

} // namespace nikra
