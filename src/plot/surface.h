#pragma once
// The target of one plot pass. Every drawing step hands it page millimetres; the surface
// turns them into its own device units through toDevice(), the one rounding door, and
// draws with its own pens and font rules. Canvas, printer and metafile are surfaces; so
// is the recording surface the tests use.

#include "plot/device_profile.h"
#include "plot/font_factory.h"
#include "plot/page_units.h"

#include <QColor>

#include <memory>
#include <span>
#include <vector>

namespace nikra {

// One polyline handed over in parts, for a curve too long to hold as page points: the
// points are added as they are read and finish() draws them, exactly as polyline() draws
// them all at once. A line that is never finished draws nothing.
class PolylineParts {
public:
    virtual ~PolylineParts() = default;
    virtual void add(std::span<const PagePoint> points) = 0;
    virtual void finish() = 0;
};

// A text font as a drawing step asks for it.
struct FontRequest {
    QString face;         // as named in the file (or typed in the header box)
    double width = 0;     // average character width in device units; nominal on the printer
    bool upward = false;  // turned a quarter turn counter-clockwise, reading upward
    QString fitText;      // the text the printer fits the width on
};

// The font a surface made for a request: how its text is drawn and how it is measured.
struct TextFont {
    FontRequest request;
    MadeFont drawn;
    MadeFont measured;
    bool measuredOnScreen = false;  // the metafile measures on the screen
    double tabStopMm = 0;           // between tab stops (tab_stops.h); 0: a tab adds nothing
};

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
    // The same polyline in parts. Here the parts are gathered and drawn with polyline();
    // the device surfaces keep only the reduced device path.
    virtual std::unique_ptr<PolylineParts> polylineInParts(const Pen &pen);
    // A closed polygon filled with a solid colour (even-odd rule); a pen of style None
    // draws no outline.
    virtual void polygon(std::span<const PagePoint> points, const Pen &pen, const QColor &fill) = 0;
    // A circle drawn as a polygon of 360 corners at 1, 2, .. 360 degrees, computed in device
    // units from the unrounded centre with the radius in x units on both axes. The metafile
    // draws it as one outline per radius, computed around a whole-twip centre and placed at
    // the rounded centre: every corner lies within one twip of its place.
    virtual void circle(PagePoint centre, double radiusMm, const Pen &pen, const QColor &fill) = 0;
    // A marker polygon: its corners as offsets from its centre, in mm. Drawn as the polygon
    // through centre + offset; the metafile places one outline per shape, as for circles.
    virtual void markerPolygon(PagePoint centre, std::span<const PagePoint> offsets, const Pen &pen,
                               const QColor &fill)
    {
        std::vector<PagePoint> corners;
        corners.reserve(offsets.size());
        for (const PagePoint &d : offsets)
            corners.push_back(centre + d);
        polygon(corners, pen, fill);
    }

    // Text: the font for one text item (or a sweep of items that share it), the width of a
    // text in mm along its baseline, and the text drawn with its cell's top-left corner
    // (in the text's own direction) at a page point.
    virtual TextFont font(const FontRequest &request) = 0;
    virtual double textWidth(const TextFont &font, const QString &text) = 0;
    virtual void text(const TextFont &font, PagePoint topLeft, const QString &text) = 0;

private:
    DeviceProfile profile_;
};

inline std::unique_ptr<PolylineParts> Surface::polylineInParts(const Pen &pen)
{
    class Gathered : public PolylineParts {
    public:
        Gathered(Surface &surface, const Pen &pen) : surface_(surface), pen_(pen) {}
        void add(std::span<const PagePoint> points) override { points_.insert(points_.end(), points.begin(), points.end()); }
        void finish() override { surface_.polyline(points_, pen_); }

    private:
        Surface &surface_;
        Pen pen_;
        std::vector<PagePoint> points_;
    };
    return std::make_unique<Gathered>(*this, pen);
}

} // namespace nikra
