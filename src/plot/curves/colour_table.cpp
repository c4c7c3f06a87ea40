#include "plot/curves/colour_table.h"

#include <array>

namespace nikra {

QColor pclColour(int PCL)
{
    static constexpr std::array<QRgb, 16> kColours{{
        qRgb(0, 0, 0),        // 0 Black
        qRgb(255, 0, 0),      // 1 Red
        qRgb(124, 252, 0),    // 2 Lawn green
        qRgb(0, 255, 255),    // 3 Cyan
        qRgb(0, 0, 255),      // 4 Blue
        qRgb(138, 43, 226),   // 5 Blue violet
        qRgb(255, 0, 255),    // 6 Magenta
        qRgb(165, 42, 42),    // 7 Brown
        qRgb(255, 165, 0),    // 8 Orange
        qRgb(128, 0, 128),    // 9 Purple
        qRgb(0, 128, 0),      // 10 Green
        qRgb(32, 178, 170),   // 11 Light sea green
        qRgb(0, 0, 139),      // 12 Dark blue
        qRgb(128, 128, 128),  // 13 Gray
        qRgb(255, 192, 203),  // 14 Pink
        qRgb(255, 255, 0),    // 15 Yellow
    }};
    if (PCL < 0 || PCL > 15)
        return QColor(255, 255, 255);
    return QColor::fromRgb(kColours[std::size_t(PCL)]);
}

} // namespace nikra
