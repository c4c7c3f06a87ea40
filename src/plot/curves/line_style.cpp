#include "plot/curves/line_style.h"

#include "plot/curves/colour_table.h"

namespace nikra {

Pen curvePen(int LTP, int PCL, const DeviceProfile &profile)
{
    static constexpr LineStyle kPatterns[] = {LineStyle::Solid, LineStyle::Dash, LineStyle::Dot,
                                              LineStyle::DashDot, LineStyle::DashDotDot};
    Pen pen;
    pen.color = pclColour(PCL);
    pen.width = rnd((LTP / 10 + 1) * profile.curvePenScale);
    const int digit = LTP % 10;
    pen.style = (LTP >= 0 && LTP <= 34 && digit <= 4) ? kPatterns[digit] : LineStyle::None;
    return pen;
}

} // namespace nikra
