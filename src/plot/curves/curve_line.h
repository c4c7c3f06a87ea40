#pragma once

#include "plot/curves/curve_fit.h"
#include "plot/pass_state.h"
#include "plot/surface.h"

namespace nikra {

// drawCurveLine: the curve of one block, mapped onto the page, clipped to the frame and drawn as
// polylines (or filled polygons for LTP = 5) with the curve's pen.
void drawCurveLine(Surface &surface, const PassState &state, const CurvePoints &curve);

} // namespace nikra
