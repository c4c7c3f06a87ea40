#pragma once

#include "plot/pass_state.h"
#include "plot/surface.h"

namespace nikra {

// drawFrame: the slot's frame, its ticks or dotted division lines, and the axis texts around
// it, moving the running text edges and LowestY.
void drawFrame(Surface &surface, PassState &state);

} // namespace nikra
