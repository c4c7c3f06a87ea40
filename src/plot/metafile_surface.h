#pragma once
// The metafile: a scalable drawing of the page (SVG) in twips, one user unit per twip,
// whose size is the covered window's extent and whose viewBox is that window in page
// twips, so a 130 x 80 mm selection becomes a 130 x 80 mm drawing. Its texts are centred by
// their widths on the reference (96-dpi) screen, as the program always measured them for
// the metafile, so the drawing does not change with the screen it was made on.
//
// The document is written as it is drawn (QSvgGenerator would hold all of it in memory
// until the end, twice over as UTF-16: a page of 10^5 circle markers would take gigabytes).

#include "plot/device_surface.h"
#include "plot/meta_window.h"
#include "plot/svg_writer.h"

#include <QImage>

class QIODevice;

namespace nikra {

class MetafileSurface : public DeviceSurface {
public:
    MetafileSurface(QIODevice *output, const MetaWindow &window);

    bool isActive() const { return active_; }
    bool finish();

protected:
    const QPaintDevice &fontDevice() const override { return twips_; }
    bool measuresOnScreen() const override { return true; }
    void paintPolyline(const std::vector<QPoint> &path, const Pen &pen) override;
    void paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill) override;
    void paintText(QPoint at, const TextFont &font, const QString &text) override;

private:
    QByteArray strokeStyle(const Pen &pen) const;

    SvgWriter svg_;
    QImage twips_;  // a device at 1440 dots per inch: fonts are sized and measured in twips
    bool active_ = false;
};

} // namespace nikra
