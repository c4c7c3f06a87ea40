#include "plot/metafile_surface.h"

#include <QIODevice>

#include <algorithm>

namespace nikra {

MetafileSurface::MetafileSurface(QIODevice *output, const MetaWindow &window)
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

void MetafileSurface::paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill)
{
    if (!active_)
        return;
    svg_.styled("fill=\"" + SvgWriter::colour(fill) + "\" fill-rule=\"evenodd\" " + strokeStyle(pen),
                "<polygon points=\"" + SvgWriter::points(path) + "\"/>\n");
}

void MetafileSurface::paintText(QPoint at, const TextFont &f, const QString &text)
{
    if (!active_)
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
