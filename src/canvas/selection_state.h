#pragma once
// The selection dragged on the canvas, in page millimetres (single precision): where the
// drag began, where it ended (both 0: no finished selection) and the opposite corner as
// last drawn during the drag. It outlives the canvas window; the metafile copy covers it.

#include "output/metafile_extent.h"

namespace nikra {

struct SelectionState {
    float SelX1 = 0, SelY1 = 0;
    float SelX2 = 0, SelY2 = 0;
    float SelLastX = 0, SelLastY = 0;
    bool SelDragging = false;

    bool finished() const { return SelX2 != 0 || SelY2 != 0; }
    bool drawnDuringDrag() const { return SelLastX != 0 || SelLastY != 0; }
    // The print, the bitmap copy and "戻る" take the box off the page.
    void erase()
    {
        SelX2 = SelY2 = 0;
        SelLastX = SelLastY = 0;
    }
    // What the metafile covers: the finished selection, or the whole page when there is
    // none (after an erase the start corner alone would otherwise make a box from the
    // page's corner to it).
    Selection metaSelection() const { return finished() ? Selection{SelX1, SelY1, SelX2, SelY2} : Selection{}; }
};

} // namespace nikra
