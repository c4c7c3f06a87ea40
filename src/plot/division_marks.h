#pragma once
// The division positions of one axis, shared by the frame (ticks, division lines) and the
// numeric labels: for i = 0 .. |DV|, the value MN + i (MX - MN) / |DV| + DS at
// i WD / |DV| + DS WD / (MX - MN) millimetres from the axis start. A position is kept only
// within the range (to a millionth), so a positive shift drops the last one instead of
// drawing beyond the frame.

#include <vector>

namespace nikra {

struct DivisionMark {
    double value;   // in axis units (log10 on a log axis)
    double offset;  // mm from PlotLeft (x) or above PlotBottom (y)
};

std::vector<DivisionMark> divisionMarks(float MN, float MX, float DV, float DS, float WD);

} // namespace nikra
