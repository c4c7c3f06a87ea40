#pragma once
// Markers at the data points: nine shapes chosen by the units digit of |PTP|, the outline
// width by the tens digit, a white centre for a negative PTP, sized by PSZ (mm), filled in
// the PCL colour and outlined in black.

#include "formats/graph_data_reader.h"
#include "plot/pass_state.h"
#include "plot/surface.h"

#include <vector>

namespace nikra {

enum class MarkerKind { None, Circle, Polygon };

struct MarkerShape {
    MarkerKind kind = MarkerKind::None;
    std::vector<PagePoint> corners;  // offsets from the centre in mm, in drawing order
    double radius = 0;               // circles, mm
};

MarkerShape markerShape(int PTP, double PSZ);

// Solid black, Int(PTP / 10) + 1 device units, rounding down: 0 or less for negative PTP,
// which asks for the thinnest line.
Pen markerPen(int PTP);

// drawMarker: one marker centred on a page point.
void drawMarker(Surface &surface, const CurveStyle &style, PagePoint centre);

// drawMarkers: a marker at every data point inside the frame (edges included), then the
// legend entry's marker and label.
void drawMarkers(Surface &surface, const PassState &state, const DataBlock &block);

} // namespace nikra
