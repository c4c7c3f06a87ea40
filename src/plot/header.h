#pragma once
// The header line at the top of the page, once per pass, from the main window's settings.

#include "formats/slot_set.h"
#include "plot/surface.h"

namespace nikra {

// Left edge at 10 mm, centred on 105 mm, or ending at 200 mm; top at 10 mm. A size that is
// not a number draws no header. The header does not move LowestY.
void drawHeader(Surface &surface, const HeaderSettings &header);

} // namespace nikra
