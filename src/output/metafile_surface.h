#pragma once
// The metafile: a scalable drawing of the page (SVG) in twips, one user unit per twip,
// whose size is the covered window's extent and whose viewBox is that window in page
// twips, so a 130 x 80 mm selection becomes a 130 x 80 mm drawing. Its texts are centred by
// their widths on the reference (96-dpi) screen, as the program always measured them for
// the metafile, so the drawing does not change with the screen it was made on.
//
// Markers are written compactly: the outline of each marker shape and size once, as a
// definition computed around a whole-twip centre, and every marker as a <use> of it at its
// rounded centre, so a page of 10^5 circles is a few megabytes instead of hundreds.
//
// The document is written as it is drawn (QSvgGenerator would hold all of it in memory
// until the end, twice over as UTF-16: a page of 10^5 circle markers would take gigabytes).

#include "plot/device_surface.h"
#include "output/metafile_extent.h"
#include "output/svg_writer.h"

#include <QImage>

class QIODevice;

namespace nikra {

class MetafileSurface : public DeviceSurface {
public:
    MetafileSurface(QIODevice *output, const MetafileExtent &window);

    bool isActive() const { return active_; }
    bool finish();

    void circle(PagePoint centre, double radiusMm, const Pen &pen, const QColor &fill) override;
    void markerPolygon(PagePoint centre, std::span<const PagePoint> offsets, const Pen &pen,
                       const QColor &fill) override;

protected:
    const QPaintDevice &fontDevice() const override { return twips_; }
    bool measuresOnScreen() const override { return true; }
    void paintPolyline(const std::vector<QPoint> &path, const Pen &pen) override;
    void paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill) override;
    void paintText(QPoint at, const TextFont &font, const QString &text) override;

private:
    // A marker outline written once: what it was made from (the radius of a circle, or a
    // polygon's offsets, in twips) and its name in the document.
    struct Outline {
        bool circle = false;
        std::vector<double> from;
        QByteArray id;  // empty: the outline has no area and no length, nothing is drawn
    };
    const Outline *findOutline(bool circle, const std::vector<double> &from) const;
    const Outline &addOutline(bool circle, std::vector<double> from, const std::vector<QPoint> &path);
    void place(PagePoint centre, const Outline &outline, const Pen &pen, const QColor &fill);
    QByteArray strokeStyle(const Pen &pen) const;
    const QByteArray &fillStyle(const Pen &pen, const QColor &fill);

    SvgWriter svg_;
    QImage twips_;  // a device at 1440 dots per inch: fonts are sized and measured in twips
    bool active_ = false;
    std::vector<Outline> outlines_;
    mutable std::size_t lastOutline_ = 0;
    std::vector<double> key_;
    std::vector<QPoint> offsetPath_;
    // The style of the last filled shape, which the next marker most likely shares.
    Pen stylePen_;
    QColor styleFill_;
    QByteArray style_;
};

} // namespace nikra
