#pragma once
// The part of the page a metafile copy covers: the selection dragged on the canvas, or the
// whole page when the selection has no area. Page twips, the metafile's own units.

#include "plot/device_profile.h"
#include "plot/page_units.h"

#include <cstdint>

namespace nikra {

// The two corners of the selection in page millimetres (single precision, as dragged).
struct Selection {
    float x1 = 0, y1 = 0;  // where the drag began
    float x2 = 0, y2 = 0;  // where it ended
};

struct MetafileExtent {
    int originX = 0;
    int originY = 0;
    int extentX = kPageWidthTwips;
    int extentY = kPageHeightTwips;
};

inline MetafileExtent metafileExtent(const Selection &s)
{
    auto origin = [](float a, float b) {
        if (a < b)
            return rnd(a * kMetaTwipsPerMm);
        if (a > b)
            return rnd(b * kMetaTwipsPerMm);
        return 0;
    };
    MetafileExtent w;
    w.originX = origin(s.x1, s.x2);
    w.originY = origin(s.y1, s.y2);
    w.extentX = rnd(std::fabs(double(s.x2) - double(s.x1)) * kMetaTwipsPerMm);
    w.extentY = rnd(std::fabs(double(s.y2) - double(s.y1)) * kMetaTwipsPerMm);
    if (std::int64_t(w.extentX) * w.extentY == 0) {
        // No area: the whole page, the origin staying where the selection put it.
        w.extentX = kPageWidthTwips;
        w.extentY = kPageHeightTwips;
    }
    return w;
}

} // namespace nikra
