#pragma once
// The canvas: the whole page as an image at the screen's resolution, what the user sees.

#include "plot/painter_surface.h"

#include <QImage>

namespace nikra {

class CanvasSurface : public PainterSurface {
public:
    explicit CanvasSurface(double screenDpi = kReferenceDpi);
    ~CanvasSurface() override;

    // Ends painting and hands over the page.
    QImage finish();
    // The page as drawn so far, while painting goes on (share it only as a deep copy).
    const QImage &pageSoFar() const { return image_; }

    // The page in pixels: 11907 x 16840 twips at the screen's twips per pixel.
    static QSize pagePixels(double screenDpi);
    // A white image that carries the screen's resolution, not the machine's default: fonts
    // made for it measure as on that screen.
    static QImage imageAt(QSize size, double screenDpi);

protected:
    bool dropsStraightCorners() const override { return false; }
    // Solid one-pixel lines go straight into the image (thin_lines.h), polygon outlines of
    // that pen too (over the painter's fill); everything else goes to the painter.
    void paintPolyline(const std::vector<QPoint> &path, const Pen &pen) override;
    void paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill) override;

private:
    QImage image_;
    std::vector<QPoint> outline_;
};

} // namespace nikra
