#pragma once
// Text sizes from size keys. A size key S stands for a character width of 2 S screen
// pixels (the legend's RSZ for 1.5 RSZ): w in the surface's device units, and the text
// height h = 1.5 w in page millimetres, which the layout of every text step uses.

#include "plot/device_profile.h"

namespace nikra {

enum class KeyAxis { X, Y };

struct TextSize {
    double w = 0;  // average character width, device units (nominal on the printer)
    double h = 0;  // text height, mm
};

inline TextSize textSizeOf(const DeviceProfile &p, double key, KeyAxis axis = KeyAxis::X,
                           double pixelsPerUnit = 2.0)
{
    const double w = pixelsPerUnit * key * (axis == KeyAxis::X ? p.devPerScreenPxX : p.devPerScreenPxY);
    return {w, 1.5 * w / p.devPerMmY};
}

} // namespace nikra
