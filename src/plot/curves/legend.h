#pragma once
// A curve's legend entry inside its frame: a 10 mm sample of its line ending at the entry's
// point, a sample marker at that point and the label RLB after it. The line sample comes
// from drawCurveLine, the marker sample from drawMarkers, the label from drawMarkers when the curve has
// markers and from drawCurveLine otherwise.

#include "plot/pass_state.h"
#include "plot/surface.h"

#include <optional>

namespace nikra {

// The right end of the line sample, when the curve has an entry (RSZ > 0, RPS 1 or 2):
// RDS + 10 mm right of the frame's left edge, LegendY(RPS) above the bottom edge (RPS 1)
// or below the top edge (RPS 2).
std::optional<PagePoint> legendPoint(const PassState &state);

void legendLine(Surface &surface, PagePoint at, const Pen &pen);
// The label starts PSZ + 1 mm right of the point, centred on it vertically.
void legendLabel(Surface &surface, const PassState &state, PagePoint at);

} // namespace nikra
