#pragma once
// The target of one plot pass. Every drawing step hands it page millimetres; the surface
// turns them into its own device units through toDevice(), the one rounding door, and
// draws with its own pens and font rules. Canvas, printer and metafile are surfaces; so
// is the recording surface the tests use.

#include "plot/device_profile.h"
#include "plot/page_units.h"

#include <QColor>

#include <span>

namespace nikra {

class Surface {
public:
    explicit Surface(const DeviceProfile &profile) : profile_(profile) {}
    virtual ~Surface() = default;
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;

    const DeviceProfile &profile() const { return profile_; }

    // rnd of each coordinate times the surface's units per millimetre.
    DevicePoint toDevice(PagePoint p) const
    {
        return {rnd(p.x * profile_.devPerMmX), rnd(p.y * profile_.devPerMmY)};
    }

    virtual void line(PagePoint a, PagePoint b, const Pen &pen) = 0;
    // The outline of a rectangle, drawn as one path: down the left side, along the bottom,
    // up the right side and back along the top.
    virtual void rectangle(const PageRect &rect, const Pen &pen) = 0;
    virtual void polyline(std::span<const PagePoint> points, const Pen &pen) = 0;
    // A closed polygon filled with a solid colour (even-odd rule); a pen of style None
    // draws no outline.
    virtual void polygon(std::span<const PagePoint> points, const Pen &pen, const QColor &fill) = 0;

private:
    DeviceProfile profile_;
};

} // namespace nikra
