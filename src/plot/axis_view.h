#pragma once
// Applying a slot's view to one axis: shift the range by whole divisions, add divisions,
// and bring the division-line shift into one division.

#include <cstdint>

namespace nikra {

// More divisions than this on one axis stop the slot: a file asking for a billion would
// otherwise keep the pass drawing for minutes.
inline constexpr int kMaxDivisions = 1000;

enum class AxisViewOutcome { Applied, EmptyRange, TooManyDivisions };

struct AxisKeys {
    float &MN;
    float &MX;
    float &DV;  // signed division count
    float &DS;  // division-line shift
};

// step receives the division before the view, (MX - MN) / |DV|. The division count never
// drops below one: when the added divisions would take it to zero or beyond, zoom is
// raised just enough to leave one, and keeps that raise for later passes.
AxisViewOutcome applyAxisView(AxisKeys axis, float pan, std::int16_t &zoom, float &step);

} // namespace nikra
