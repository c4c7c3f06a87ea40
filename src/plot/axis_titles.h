#pragma once
// The axis titles: XLB centred under (or over) the frame outside the x numbers, YLB turned
// a quarter turn to read upward, centred on the frame's height outside the y numbers.

#include "plot/pass_state.h"
#include "plot/surface.h"
#include "plot/text_size.h"

namespace nikra {

void drawXTitle(Surface &surface, PassState &state, const TextSize &size);
void drawYTitle(Surface &surface, PassState &state, const TextSize &size);

} // namespace nikra
