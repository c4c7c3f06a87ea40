#include "output/pdf_surface.h"

#include <QGlyphRun>
#include <QPageSize>
#include <QPainterPath>
#include <QTextLayout>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace nikra {

namespace {

// How far a glyph may stand from its place in the layout, device units: a twelfth of a
// dot at 600 dpi.
constexpr double kTrace = 1.0 / 12;

// The longest corner: two numbers of at most 11 characters, spaces and the operator.
constexpr std::size_t kLongestCorner = 2 * 11 + 5;

char *putCorner(char *out, QPoint p, char op)
{
    out = std::to_chars(out, out + 11, p.x()).ptr;
    *out++ = ' ';
    out = std::to_chars(out, out + 11, p.y()).ptr;
    *out++ = ' ';
    *out++ = op;
    *out++ = '\n';
    return out;
}

void appendColour(QByteArray &out, const QColor &c, const char *op)
{
    appendNumber(out, c.redF());
    out.append(' ');
    appendNumber(out, c.greenF());
    out.append(' ');
    appendNumber(out, c.blueF());
    out.append(' ');
    out.append(op);
    out.append('\n');
}

// A transformation matrix and its operator.
void appendMatrix(QByteArray &out, const QTransform &m, const char *op)
{
    for (const double v : {m.m11(), m.m12(), m.m21(), m.m22(), m.dx(), m.dy()}) {
        appendNumber(out, v, 8);
        out.append(' ');
    }
    out.append(op);
    out.append('\n');
}

} // namespace

PdfSurface::PdfSurface(PdfDocument &document, int dpi)
    : DeviceSurface(DeviceProfile::printer(dpi, dpi)), document_(document), fontDevice_(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMetre = rnd(dpi / 0.0254);
    fontDevice_.setDotsPerMeterX(dotsPerMetre);
    fontDevice_.setDotsPerMeterY(dotsPerMetre);
    // A4 in whole points, as printers take it, in device units.
    const QSize points = QPageSize(QPageSize::A4).sizePoints();
    pageUnits_ = QSize(rnd(points.width() * dpi / 72.0), rnd(points.height() * dpi / 72.0));
}

void PdfSurface::beginPage()
{
    const QSize points = QPageSize(QPageSize::A4).sizePoints();
    document_.beginPage(points.width(), points.height(), fontDevice_.logicalDpiX() / 72.0);
    stroke_.reset();
    fill_.reset();
    width_.reset();
    dashes_.reset();
}

void PdfSurface::endPage() { document_.endPage(); }

double PdfSurface::fittedWidth(const FontRequest &request)
{
    return fitting_.fittedWidth(request, fonts(), profile(), fontDevice(),
                                [this](const QString &face, double width) { return makeFont(face, width); });
}

void PdfSurface::setStroke(const Pen &pen)
{
    QByteArray &out = document_.content();
    const QRgb rgb = pen.color.rgba();
    if (stroke_ != rgb) {
        appendColour(out, pen.color, "RG");
        stroke_ = rgb;
    }
    const int width = std::max(1, pen.width);
    if (width_ != width) {
        out.append(QByteArray::number(width) + " w\n");
        width_ = width;
    }
    // Solid lines with round caps and joins; dashes with flat ends, their lengths the
    // screen's pixels in device units.
    if (dashes_ != pen.style) {
        const std::vector<double> lengths = dashLengths(pen.style);
        if (lengths.empty()) {
            out.append("1 J 1 j [] 0 d\n");
        } else {
            out.append("0 J 1 j [");
            for (std::size_t i = 0; i < lengths.size(); ++i) {
                if (i > 0)
                    out.append(' ');
                appendNumber(out, lengths[i] * profile().devPerScreenPxX);
            }
            out.append("] 0 d\n");
        }
        dashes_ = pen.style;
    }
}

void PdfSurface::setFill(const QColor &colour)
{
    const QRgb rgb = colour.rgba();
    if (fill_ != rgb) {
        appendColour(document_.content(), colour, "rg");
        fill_ = rgb;
    }
}

void PdfSurface::appendPath(const std::vector<QPoint> &path)
{
    QByteArray &out = document_.content();
    const qsizetype at = out.size();
    out.resize(at + qsizetype(path.size() * kLongestCorner));
    char *end = out.data() + at;
    for (std::size_t i = 0; i < path.size(); ++i)
        end = putCorner(end, path[i], i == 0 ? 'm' : 'l');
    out.truncate(end - out.constData());
}

void PdfSurface::paintPolyline(const std::vector<QPoint> &path, const Pen &pen)
{
    setStroke(pen);
    appendPath(path);
    document_.content().append("S\n");
    document_.contentAdded();
}

void PdfSurface::paintPolygon(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill)
{
    const bool outlined = pen.style != LineStyle::None;
    setFill(fill);
    if (outlined)
        setStroke(pen);
    appendPath(path);
    document_.content().append(outlined ? "h\nB*\n" : "h\nf*\n");
    document_.contentAdded();
}

void PdfSurface::paintText(QPoint at, const TextFont &f, const QString &text)
{
    // A text that starts below the page cannot show; comment files of many lines run far
    // past it, and the document would otherwise carry every one of them unseen.
    if (!f.request.upward && at.y() >= pageUnits_.height())
        return;
    // Laid out as a painter lays out one line of text on a device of this resolution.
    QTextLayout layout(text, f.drawn.font, &fontDevice_);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return;
    }
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    // The painter puts the baseline at the font's own ascent below the given point,
    // whichever face the layout falls back on.
    const double baselineShift = f.drawn.ascent - line.ascent();

    QTransform m;
    m.translate(at.x(), at.y());
    if (f.request.upward)
        m.rotate(-90);
    const double scale = profile().textScale;
    m.scale(f.drawn.xScale * scale, scale);

    setFill(Qt::black);
    QByteArray &out = document_.content();
    out.append("q\n");
    appendMatrix(out, m, "cm");
    // The layout gathers the glyphs of each face into one run, in an order of its own
    // that changes from one call to the next; the page takes them in the order they stand.
    QList<QGlyphRun> runs = layout.glyphRuns();
    const auto firstPlace = [](const QGlyphRun &run) {
        const QList<QPointF> p = run.positions();
        return p.isEmpty() ? std::pair<double, double>() : std::pair<double, double>(p.front().x(), p.front().y());
    };
    std::stable_sort(runs.begin(), runs.end(),
                     [&](const QGlyphRun &a, const QGlyphRun &b) { return firstPlace(a) < firstPlace(b); });
    for (const QGlyphRun &run : runs)
        appendGlyphs(run, baselineShift, text);
    document_.content().append("Q\n");
    document_.contentAdded();
}

void PdfSurface::appendGlyphs(const QGlyphRun &run, double baselineShift, const QString &text)
{
    const QRawFont raw = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    if (glyphs.isEmpty() || glyphs.size() != positions.size())
        return;
    const std::optional<int> font = document_.fonts().fontFor(raw);
    if (!font) {
        appendOutlines(run, baselineShift);
        return;
    }
    // Which character each glyph shows, for readers that search and copy: the face's own
    // glyph for each character of the text.
    QHash<quint32, char32_t> shows;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        const QList<quint32> own = raw.glyphIndexesForString(one);
        if (own.size() == 1 && own.front() != 0)
            shows.insert(own.front(), c);
    }

    PdfFonts &fonts = document_.fonts();
    const double size = raw.pixelSize();
    QByteArray &out = document_.content();
    out.append("BT /" + document_.fontName(*font) + ' ');
    appendNumber(out, size);
    out.append(" Tf\n");
    // The glyphs of one baseline are shown together: each glyph's width moves the reader
    // on, and where that leaves it more than a trace away from the layout's place, the
    // difference is given. A change of baseline starts again.
    double reached = 0;  // where the reader stands along the baseline, device units
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const quint32 glyph = glyphs[i];
        fonts.use(*font, glyph, shows.value(glyph, 0));
        const QPointF p = positions[i] + QPointF(0, baselineShift);
        if (i == 0 || positions[i].y() != positions[i - 1].y()) {
            if (i > 0)
                out.append("] TJ\n");
            out.append("1 0 0 -1 ");
            appendNumber(out, p.x());
            out.append(' ');
            appendNumber(out, p.y());
            out.append(" Tm [");
            reached = p.x();
        } else if (size > 0) {
            reached += fonts.width(*font, glyphs[i - 1]) * size / 1000;
            if (std::abs(reached - p.x()) > kTrace) {
                QByteArray moved;
                appendNumber(moved, (reached - p.x()) * 1000 / size, 3);
                out.append(' ' + moved + ' ');
                reached -= moved.toDouble() * size / 1000;
            }
        }
        out.append('<');
        appendHex4(out, glyph);
        out.append('>');
    }
    out.append("] TJ\nET\n");
}

void PdfSurface::appendOutlines(const QGlyphRun &run, double baselineShift)
{
    const QRawFont raw = run.rawFont();
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    QByteArray &out = document_.content();
    for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
        const QPainterPath path = raw.pathForGlyph(glyphs[i]).translated(positions[i] + QPointF(0, baselineShift));
        if (path.isEmpty())
            continue;
        for (int e = 0; e < path.elementCount(); ++e) {
            const QPainterPath::Element el = path.elementAt(e);
            const auto point = [&out](const QPainterPath::Element &p) {
                appendNumber(out, p.x, 3);
                out.append(' ');
                appendNumber(out, p.y, 3);
                out.append(' ');
            };
            if (el.isMoveTo()) {
                point(el);
                out.append("m\n");
            } else if (el.isLineTo()) {
                point(el);
                out.append("l\n");
            } else if (el.isCurveTo() && e + 2 < path.elementCount()) {
                point(el);
                point(path.elementAt(e + 1));
                point(path.elementAt(e + 2));
                out.append("c\n");
                e += 2;
            }
        }
        out.append(path.fillRule() == Qt::WindingFill ? "f\n" : "f*\n");
    }
}

} // namespace nikra
