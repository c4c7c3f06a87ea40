#include "output/metafile_surface.h"

#include "plot/device_path.h"

#include <QIODevice>

#include <algorithm>

namespace nikra {

MetafileSurface::MetafileSurface(QIODevice *output, const MetafileExtent &window)
    : DeviceSurface(DeviceProfile::metafile()), svg_(output), twips_(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMetre = rnd(1440 / 0.0254);
    twips_.setDotsPerMeterX(dotsPerMetre);
    twips_.setDotsPerMeterY(dotsPerMetre);
    active_ = output && output->isWritable();
    if (active_) {
        const double mmPerTwip = 25.4 / 1440;
        svg_.begin(window.extentX * mmPerTwip, window.extentY * mmPerTwip,
                   QRect(window.originX, window.originY, window.extentX, window.extentY), QStringLiteral("Nikra"));
    }
}

bool MetafileSurface::finish()
{
    const bool ok = active_ && svg_.end();
    active_ = false;
    return ok;
}

QByteArray MetafileSurface::strokeStyle(const Pen &pen) const
{
    if (pen.style == LineStyle::None)
        return "stroke=\"none\"";
    const int width = std::max(1, pen.width);  // the thinnest line is one twip
    QByteArray style = "stroke=\"" + SvgWriter::colour(pen.color) + "\" stroke-width=\"" + QByteArray::number(width)
        + '"';
    const std::vector<double> lengths = dashLengths(pen.style);
    if (lengths.empty()) {
        style += " stroke-linecap=\"round\" stroke-linejoin=\"round\"";
    } else {
        style += " stroke-linecap=\"butt\" stroke-linejoin=\"round\" stroke-dasharray=\"";
        for (std::size_t i = 0; i < lengths.size(); ++i)
            style += (i ? "," : "") + SvgWriter::number(lengths[i] * profile().devPerScreenPxX);
        style += '"';
    }
    return style;
}

void MetafileSurface::paintPolyline(const std::vector<QPoint> &path, const Pen &pen)
{
    if (!active_)
        return;
    svg_.styled("fill=\"none\" " + strokeStyle(pen), "<polyline points=\"" + SvgWriter::points(path) + "\"/>\n");
}

const QByteArray &MetafileSurface::fillStyle(const Pen &pen, const QColor &fill)
{
    if (style_.isEmpty() || !(pen == stylePen_) || fill != styleFill_) {
        style_ = "fill=\"" + SvgWriter::colour(fill) + "\" fill-rule=\"evenodd\" " + strokeStyle(pen);
        stylePen_ = pen;
        styleFill_ = fill;
    }
    return style_;
}

void MetafileSurface::paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill)
{
    if (!active_)
        return;
    svg_.styled(fillStyle(pen, fill), "<polygon points=\"" + SvgWriter::points(path) + "\"/>\n");
}

const MetafileSurface::Outline *MetafileSurface::findOutline(bool circle, const std::vector<double> &from) const
{
    // A page has a handful of marker shapes, and runs of markers share one.
    for (std::size_t k = 0; k < outlines_.size(); ++k) {
        const std::size_t i = (lastOutline_ + k) % outlines_.size();
        if (outlines_[i].circle == circle && outlines_[i].from == from) {
            lastOutline_ = i;
            return &outlines_[i];
        }
    }
    return nullptr;
}

const MetafileSurface::Outline &MetafileSurface::addOutline(bool circle, std::vector<double> from,
                                                            const std::vector<QPoint> &path)
{
    Outline outline{circle, std::move(from), {}};
    if (path.size() >= 2) {
        outline.id = 'm' + QByteArray::number(qsizetype(outlines_.size()));
        svg_.definition("<path id=\"" + outline.id + "\" d=\"" + SvgWriter::closedPath(path) + "\"/>");
    }
    outlines_.push_back(std::move(outline));
    lastOutline_ = outlines_.size() - 1;
    return outlines_.back();
}

void MetafileSurface::place(PagePoint centre, const Outline &outline, const Pen &pen, const QColor &fill)
{
    if (outline.id.isEmpty())
        return;
    const DevicePoint at = toDevice(centre);
    svg_.styled(fillStyle(pen, fill), "<use xlink:href=\"#" + outline.id + "\" x=\"" + QByteArray::number(at.x)
                                          + "\" y=\"" + QByteArray::number(at.y) + "\"/>\n");
}

void MetafileSurface::circle(PagePoint centre, double radiusMm, const Pen &pen, const QColor &fill)
{
    if (!active_)
        return;
    const double r = radiusMm * profile().devPerMmX;
    key_.assign(1, r);
    const Outline *outline = findOutline(true, key_);
    if (!outline)
        outline = &addOutline(true, key_, circlePath(0, 0, r));
    place(centre, *outline, pen, fill);
}

void MetafileSurface::markerPolygon(PagePoint centre, std::span<const PagePoint> offsets, const Pen &pen,
                                    const QColor &fill)
{
    if (!active_)
        return;
    key_.clear();
    for (const PagePoint &d : offsets) {
        key_.push_back(d.x * profile().devPerMmX);
        key_.push_back(d.y * profile().devPerMmY);
    }
    const Outline *outline = findOutline(false, key_);
    if (!outline) {
        offsetPath_.clear();
        for (std::size_t i = 0; i + 1 < key_.size(); i += 2)
            offsetPath_.emplace_back(rnd(key_[i]), rnd(key_[i + 1]));
        dropRepeats(offsetPath_);
        reducePolygon(offsetPath_);
        outline = &addOutline(false, key_, offsetPath_);
    }
    place(centre, *outline, pen, fill);
}

void MetafileSurface::paintText(QPoint at, const TextFont &f, const QString &text)
{
    // A text that starts below the page cannot show, as on the printed page: a comment
    // file of a million lines would otherwise make a drawing of hundreds of megabytes
    // that shows a hundred of them.
    if (!active_ || (!f.request.upward && at.y() >= kPageHeightTwips))
        return;
    // translate, then the quarter turn, then the width adjustment along the baseline.
    const double sx = f.drawn.xScale;
    const QByteArray matrix = f.request.upward
        ? "0," + SvgWriter::number(-sx) + ",1,0"
        : SvgWriter::number(sx) + ",0,0,1";
    const double emTwips = f.drawn.font.pointSizeF() * 1440 / 72;
    svg_.element("<text transform=\"matrix(" + matrix + ',' + QByteArray::number(at.x()) + ','
                 + QByteArray::number(at.y()) + ")\" x=\"0\" y=\"" + SvgWriter::number(f.drawn.ascent)
                 + "\" font-family=\"" + SvgWriter::escaped(f.drawn.font.family()) + "\" font-size=\""
                 + SvgWriter::number(emTwips) + "\" font-weight=\"500\" fill=\"#000000\" xml:space=\"preserve\">"
                 + SvgWriter::escaped(text) + "</text>\n");
}

} // namespace nikra
