#pragma once
// Solid one-pixel lines drawn straight into the canvas image. Every segment is drawn with
// both its end points, so a polyline covers exactly the union of its segments' pixels and
// the drawing does not depend on where a line is cut: the reduced device paths then give
// the very same pixels (Qt's own thin-line stroker leaves out a joint's pixel here and
// there, depending on the neighbouring segments).

#include <QImage>
#include <QPoint>

#include <vector>

namespace nikra {

// image: 32-bit RGB. Pixels outside the image are left out.
void drawThinPolyline(QImage &image, const std::vector<QPoint> &path, QRgb colour);

} // namespace nikra
