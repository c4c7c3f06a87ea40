#pragma once
// The per-slot view the canvas buttons change: the shift of each axis in whole divisions
// and the divisions added to both axes. It lives as long as the program; index 0 is unused.

#include <array>
#include <cstdint>

namespace nikra {

struct ViewState {
    std::array<float, 7> PanX{};
    std::array<float, 7> PanY{};
    std::array<std::int16_t, 7> ZoomSteps{};

    void resetPans()
    {
        PanX.fill(0);
        PanY.fill(0);
    }
};

} // namespace nikra
