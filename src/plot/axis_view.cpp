#include "plot/axis_view.h"

#include <cmath>
#include <limits>

namespace nikra {

AxisViewOutcome applyAxisView(AxisKeys a, float pan, std::int16_t &zoom, float &step)
{
    step = float((double(a.MX) - double(a.MN)) / std::fabs(double(a.DV)));
    a.MN = float(double(a.MN) + double(step) * pan);

    const float sign = a.DV > 0 ? 1.0f : -1.0f;
    float divisions = std::fabs(a.DV) + float(zoom);
    if (divisions <= 0) {
        const double lift = std::ceil(1.0 - double(divisions));
        const double raised = std::fmin(double(zoom) + lift, std::numeric_limits<std::int16_t>::max());
        zoom = std::int16_t(raised);
        divisions = std::fabs(a.DV) + float(zoom);
    }
    a.DV = sign * divisions;
    if (divisions > float(kMaxDivisions))
        return AxisViewOutcome::TooManyDivisions;

    a.MX = float(double(a.MX) + double(step) * pan + double(zoom) * double(step));
    if (!(a.MX > a.MN) || !std::isfinite(a.MX - a.MN))
        return AxisViewOutcome::EmptyRange;

    const double turns = std::floor(double(divisions) * double(a.DS) / (double(a.MX) - double(a.MN)));
    a.DS = float(double(a.DS) - turns * double(step));
    return AxisViewOutcome::Applied;
}

} // namespace nikra
