#include "output/pdf_polygons.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

namespace nikra {

namespace {

constexpr std::array<QPointF, 2> kRunMark{{{-0.0625, -0.125}, {-0.1875, -0.25}}};
// The mark as the painter's PDF writer puts it into the page (a stroked two-point path).
// Should a later writer put it otherwise, no mark is found and the page is made through
// the painter alone.
constexpr char kRunMarkText[] = "-0.062500000 -0.125000000 m\n-0.187500000 -0.250000000 l\nS\n";

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

// A colour component as a fraction of full intensity, to six decimals: "0", "1", "0.501961".
void putComponent(QByteArray &out, int value)
{
    if (value <= 0 || value >= 255) {
        out.append(value <= 0 ? '0' : '1');
        return;
    }
    QByteArray digits = QByteArray::number(value / 255.0, 'f', 6);
    while (digits.endsWith('0'))
        digits.chop(1);
    out.append(digits);
}

void putColour(QByteArray &out, QRgb rgb, const char *op)
{
    putComponent(out, qRed(rgb));
    out.append(' ');
    putComponent(out, qGreen(rgb));
    out.append(' ');
    putComponent(out, qBlue(rgb));
    out.append(' ');
    out.append(op);
    out.append('\n');
}

} // namespace

bool PdfPolygons::writes(const Pen &pen, const QColor &fill)
{
    // Written as eight-bit red, green and blue: a colour those hold exactly, and opaque.
    const auto opaqueEightBit = [](const QColor &c) { return c.alpha() == 255 && c == QColor::fromRgb(c.rgb()); };
    return opaqueEightBit(fill)
           && (pen.style == LineStyle::None || (pen.style == LineStyle::Solid && opaqueEightBit(pen.color)));
}

std::span<const QPointF> PdfPolygons::runMark() { return kRunMark; }

Pen PdfPolygons::runMarkPen() { return Pen{LineStyle::Solid, 1, Qt::black}; }

void PdfPolygons::beginRun()
{
    if (!runStarts_.empty())
        text_.append("Q\n");
    runStarts_.push_back(text_.size());
    // Its own graphics state, so the painter's state around it stays as the painter left
    // it; outlines with round caps and joins, as the painter draws them.
    text_.append("q\n1 J 1 j [] 0 d\n");
    fill_.reset();
    stroke_.reset();
    width_.reset();
}

void PdfPolygons::setFill(const QColor &fill)
{
    const QRgb rgb = fill.rgb();
    if (fill_ != rgb) {
        putColour(text_, rgb, "rg");
        fill_ = rgb;
    }
}

void PdfPolygons::setPen(const Pen &pen)
{
    const QRgb rgb = pen.color.rgb();
    if (stroke_ != rgb) {
        putColour(text_, rgb, "RG");
        stroke_ = rgb;
    }
    const int width = std::max(1, pen.width);
    if (width_ != width) {
        text_.append(QByteArray::number(width) + " w\n");
        width_ = width;
    }
}

void PdfPolygons::add(const std::vector<QPoint> &path, const Pen &pen, const QColor &fill)
{
    const bool outlined = pen.style != LineStyle::None;
    setFill(fill);
    if (outlined)
        setPen(pen);
    const qsizetype at = text_.size();
    text_.resize(at + qsizetype(path.size() * kLongestCorner) + 8);
    char *out = text_.data() + at;
    for (std::size_t i = 0; i < path.size(); ++i)
        out = putCorner(out, path[i], i == 0 ? 'm' : 'l');
    std::memcpy(out, outlined ? "h\nB*\n" : "h\nf*\n", 5);
    out += 5;
    text_.truncate(out - text_.constData());
}

std::optional<QByteArray> PdfPolygons::takeSplicedInto(const QByteArray &content)
{
    QByteArray text = std::move(text_);
    std::vector<qsizetype> runStarts = std::move(runStarts_);
    text_.clear();
    runStarts_.clear();
    if (runStarts.empty())
        return std::nullopt;
    text.append("Q\n");

    // The content cut at its marks: one piece more than there are runs.
    const QByteArray mark(kRunMarkText);
    std::vector<std::pair<qsizetype, qsizetype>> pieces;  // start, length in content
    qsizetype from = 0;
    for (qsizetype at = content.indexOf(mark); at >= 0; at = content.indexOf(mark, at + mark.size())) {
        pieces.emplace_back(from, at - from);
        from = at + mark.size();
    }
    pieces.emplace_back(from, content.size() - from);
    if (pieces.size() != runStarts.size() + 1)
        return std::nullopt;

    // The runs are moved apart in place, the last first, to make room for the pieces
    // between them: the polygon text is by far the larger part and is not copied whole.
    runStarts.push_back(text.size());
    qsizetype piecesSize = 0;
    for (const auto &piece : pieces)
        piecesSize += piece.second;
    const qsizetype runsSize = text.size();
    text.resize(runsSize + piecesSize);
    char *data = text.data();
    qsizetype piecesBefore = piecesSize - pieces.back().second;  // all pieces before the last run's end
    for (std::size_t i = runStarts.size() - 1; i-- > 0;) {
        const qsizetype length = runStarts[i + 1] - runStarts[i];
        const qsizetype target = runStarts[i] + piecesBefore;
        std::memmove(data + target, data + runStarts[i], std::size_t(length));
        // Behind the run: the piece that follows it.
        const auto &after = pieces[i + 1];
        std::memcpy(data + target + length, content.constData() + after.first, std::size_t(after.second));
        piecesBefore -= pieces[i].second;
    }
    std::memcpy(data, content.constData() + pieces.front().first, std::size_t(pieces.front().second));
    return text;
}

} // namespace nikra
