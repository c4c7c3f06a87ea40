#include "plot/header.h"

#include "plot/text_size.h"

namespace nikra {

void drawHeader(Surface &surface, const HeaderSettings &header)
{
    if (header.text.isEmpty())
        return;
    bool isNumber = false;
    const double key = header.sizeText.trimmed().toDouble(&isNumber);
    if (!isNumber)
        return;
    const TextSize size = textSizeOf(surface.profile(), key);
    // The printer fits the header in the header's own face.
    const TextFont font = surface.font({header.face, size.w, false, header.text});
    const double tw = surface.textWidth(font, header.text);
    double x = 10.0;  // left, also when no alignment is chosen
    if (header.align == HeaderAlign::Centre)
        x = 105.0 - tw / 2;
    else if (header.align == HeaderAlign::Right)
        x = 200.0 - tw;
    surface.text(font, {x, 10.0}, header.text);
}

} // namespace nikra
