#pragma once

#include "plot/curves/curve_clip.h"
#include "plot/curves/curve_fit.h"
#include "plot/curves/held_pieces.h"
#include "plot/pass_state.h"
#include "plot/surface.h"

#include <memory>
#include <vector>

namespace nikra {

// drawCurveLine: the curve of one block, mapped onto the page, clipped to the frame and drawn as
// polylines (or filled polygons for LTP = 5) with the curve's pen.
void drawCurveLine(Surface &surface, const PassState &state, const CurvePoints &curve);

// The same line for a block drawn as it is (IPL = 0, no fill), its points handed over as they
// are read: they are clipped as they come and the pieces held (held_pieces.h), so a block of
// any length holds only what its drawing needs. finish() draws the
// pieces and the legend entry, as drawCurveLine does; a line never finished draws nothing,
// which is what a block cut short by the end of its file draws.
class CurveLineInParts {
public:
    CurveLineInParts(Surface &surface, const PassState &state);
    void add(const DataBlock &points);
    void finish();

private:
    // The pieces the clipping makes. A piece goes to the surface in parts once it grows
    // long; a short one is held as its points.
    struct Pieces {
        Surface &surface;
        Pen pen;
        HeldPieces held;
        std::unique_ptr<PolylineParts> current;  // the current piece, once it is long
        std::vector<PagePoint> pending;  // points gathered for the current piece's next part
        std::size_t count = 0;           // points of the current piece
        void push(PagePoint p);
        void end();
    };

    Surface &surface_;
    const PassState &st_;
    Pieces pieces_;
    CurveClipper clipper_;
};

} // namespace nikra
