#pragma once
// LTP, the line type of a curve: the units digit chooses the pattern (0 solid, 1 dashed,
// 2 dotted, 3 dash-dot, 4 dash-dot-dot), the tens digit the width (1 to 4 device units,
// four times that in the metafile). 5 fills the area of each curve piece instead of
// drawing a line; every other value draws nothing.

#include "plot/device_profile.h"

namespace nikra {

// The curve's pen on a surface (style None for a fill or an invisible line).
Pen curvePen(int LTP, int PCL, const DeviceProfile &profile);

inline bool fillsArea(int LTP) { return LTP == 5; }

} // namespace nikra
