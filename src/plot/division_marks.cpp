#include "plot/division_marks.h"

#include <cmath>

namespace nikra {

std::vector<DivisionMark> divisionMarks(float MN, float MX, float DV, float DS, float WD)
{
    std::vector<DivisionMark> marks;
    const double count = std::fabs(double(DV));
    const double range = double(MX) - double(MN);
    for (int i = 0; i <= count; ++i) {
        const double value = MN + i * range / count + DS;
        if (MN - 0.000001 <= value && value <= MX + 0.000001)
            marks.push_back({value, i * double(WD) / count + double(DS) * WD / range});
    }
    return marks;
}

} // namespace nikra
