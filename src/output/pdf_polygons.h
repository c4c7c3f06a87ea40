#pragma once
// The filled polygons of a printed PDF page, markers above all, written as PDF path
// operators by this program rather than through the painter's PDF writer. A page of a
// hundred thousand circle markers carries some hundred megabytes of corners; the painter's
// writer compresses them at a slow, thorough level that takes seconds, this text is
// compressed at the fastest. The corners are the same either way, and so is the page.
//
// The painter keeps the order of everything else: where a run of polygons begins, the
// surface draws a small mark through the painter, and once the document is finished each
// run takes the place of its mark in the page's content.

#include "plot/device_profile.h"

#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QPointF>

#include <optional>
#include <span>
#include <vector>

namespace nikra {

class PdfPolygons {
public:
    // Whether a polygon with this outline and fill is written here exactly as the painter
    // would draw it: a solid outline or none, opaque colours of eight-bit red, green and blue.
    static bool writes(const Pen &pen, const QColor &fill);

    // The mark drawn through the painter where a run begins, and the pen to draw it with:
    // a line at fractional coordinates, which no path of the page ever has.
    static std::span<const QPointF> runMark();
    static Pen runMarkPen();

    // A new run; its mark has just been drawn.
    void beginRun();
    // A closed polygon filled (even-odd) and outlined with a pen at least one unit wide, or
    // filled only; device units, at least two corners.
    void add(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill);
    bool isEmpty() const { return runStarts_.empty(); }

    // The page's content (uncompressed) with every run in place of its mark, in order;
    // nothing when the content does not hold exactly one mark per run. The polygons are
    // given up either way.
    std::optional<QByteArray> takeSplicedInto(const QByteArray &content);

private:
    void setFill(const QColor &fill);
    void setPen(const Pen &pen);

    QByteArray text_;
    std::vector<qsizetype> runStarts_;
    std::optional<QRgb> fill_;
    std::optional<QRgb> stroke_;
    std::optional<int> width_;
};

} // namespace nikra
