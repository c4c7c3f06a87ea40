#pragma once
// Page millimetres and device units. The page is one A4 sheet in portrait, 210 x 297 mm,
// origin at its top-left corner, y growing downward. Every drawing step works in page
// millimetres (double); a surface turns them into its own integer device units through
// one door, rnd(), which rounds halves to the even neighbour as the devices always did
// (Qt's qRound and QPointF::toPoint round halves away from zero, so they are not used).

#include <QDebug>

#include <cmath>

namespace nikra {

inline constexpr double kPageWidthMm = 210.0;
inline constexpr double kPageHeightMm = 297.0;
inline constexpr int kPageWidthTwips = 11907;
inline constexpr int kPageHeightTwips = 16840;

struct PagePoint {
    double x = 0;  // mm from the page's left edge
    double y = 0;  // mm from the page's top edge

    friend PagePoint operator+(PagePoint a, PagePoint b) { return {a.x + b.x, a.y + b.y}; }
    friend PagePoint operator-(PagePoint a, PagePoint b) { return {a.x - b.x, a.y - b.y}; }
    friend bool operator==(PagePoint a, PagePoint b) = default;
};

struct PageRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    // Edges belong to the rectangle.
    bool contains(PagePoint p) const
    {
        return p.x >= left && p.x <= right() && p.y >= top && p.y <= bottom();
    }
    friend bool operator==(const PageRect &, const PageRect &) = default;
};

struct DevicePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(DevicePoint a, DevicePoint b) = default;
};

// Device coordinates are kept well inside what every paint engine handles (Qt's raster
// engine works in 26.6 fixed point), whatever a file's lengths are.
inline constexpr double kDeviceLimit = double(1 << 24);

// The nearest integer, halves to even. Adding and taking away 1.5 * 2^52 leaves a double
// rounded to a whole number in the default rounding mode (to nearest, ties to even); it is
// what std::nearbyint does, without a library call on every coordinate of a marker
// (floating-point addition is not reassociated without -ffast-math, which is never used).
// rnd for a value already known to lie within the device limit.
inline int rndWithinLimit(double v)
{
    constexpr double kShifter = 6755399441055744.0;  // 1.5 * 2^52
    return int((v + kShifter) - kShifter);
}

inline int rnd(double v)
{
    if (!(v == v))
        return 0;
    if (v > kDeviceLimit)
        return int(kDeviceLimit);
    if (v < -kDeviceLimit)
        return -int(kDeviceLimit);
    return rndWithinLimit(v);
}

inline QDebug operator<<(QDebug d, PagePoint p)
{
    QDebugStateSaver saver(d);
    d.nospace() << "PagePoint(" << p.x << " mm, " << p.y << " mm)";
    return d;
}

inline QDebug operator<<(QDebug d, const PageRect &r)
{
    QDebugStateSaver saver(d);
    d.nospace() << "PageRect(" << r.left << ", " << r.top << ", " << r.width << " x " << r.height << " mm)";
    return d;
}

inline QDebug operator<<(QDebug d, DevicePoint p)
{
    QDebugStateSaver saver(d);
    d.nospace() << "DevicePoint(" << p.x << ", " << p.y << ")";
    return d;
}

} // namespace nikra
