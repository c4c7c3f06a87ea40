#pragma once
// Everything one plot pass carries from step to step: the current slot's Format Data values
// and curve style, the frame geometry derived from them, the running text edges, the legend
// stacking and the page layout. One value per pass; the next slot overwrites the slot parts.

#include "formats/plot_format.h"
#include "plot/page_units.h"

#include <array>

namespace nikra {

// Page millimetres, single precision like the keys they come from.
struct FrameGeometry {
    float FrameLeft = 0;
    float FrameTop = 0;
    float PlotLeft = 0;    // equal to FrameLeft
    float PlotBottom = 0;  // the frame's lower edge
    float XStep = 0;       // one division in x data units, before the view is applied
    float YStep = 0;
};

// The edges of the text stacked around the frame, moved outward by each text step.
struct TextEdges {
    float XTextBottom = 0;
    float XTextTop = 0;
    float YTextLeft = 0;
    float YTextRight = 0;
};

// The running legend offsets by RPS (0..2), advanced as each curve line is read.
struct LegendState {
    std::array<float, 3> LegendY{};
    float LegendHalf = 0;
};

struct PageLayout {
    float RowTop = 10.0f;  // top of the current row of slots
    float LowestY = 0;     // lowest point of the frames, axis texts and comments so far
};

struct PassState {
    PlotFormat fmt;
    CurveStyle style;
    FontFaces faces;
    FrameGeometry geo;
    TextEdges edges;
    LegendState legend;
    PageLayout page;
};

// Where an axis-unit point lies on the page, and the frame the curves are clipped to: the
// one mapping the curve lines and the markers share.
inline PagePoint pageOf(const PassState &st, double x, double y)
{
    const PlotFormat &f = st.fmt;
    return {st.geo.PlotLeft + double(f.XWD) * (x - f.XMN) / (double(f.XMX) - double(f.XMN)),
            st.geo.PlotBottom - double(f.YWD) * (y - f.YMN) / (double(f.YMX) - double(f.YMN))};
}

inline PageRect plotFrame(const PassState &st)
{
    return {st.geo.PlotLeft, double(st.geo.PlotBottom) - st.fmt.YWD, st.fmt.XWD, st.fmt.YWD};
}

} // namespace nikra
