#pragma once
// The numbers along the axes: linear axes write each division's value with the decimals
// key's pattern; log axes write "10" with the value as a raised half-size exponent. Each
// step moves the running text edges outward so the axis titles stack outside the numbers.

#include "plot/pass_state.h"
#include "plot/surface.h"
#include "plot/text_size.h"

namespace nikra {

void drawLinearXNumbers(Surface &surface, PassState &state, const TextSize &size);
void drawLinearYNumbers(Surface &surface, PassState &state, const TextSize &size);
void drawLogXNumbers(Surface &surface, PassState &state, const TextSize &size);
void drawLogYNumbersLeft(Surface &surface, PassState &state, const TextSize &size);  // left of the frame
void drawLogYNumbersRight(Surface &surface, PassState &state, const TextSize &size);  // right of the frame

} // namespace nikra
