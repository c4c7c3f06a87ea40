// Curve fitting against values worked out by hand, marker shapes, legend entries and the
// breaking of comment lines.

#include "plot/curves/comments.h"
#include "plot/curves/curve_fit.h"
#include "plot/curves/markers.h"
#include "output/metafile_surface.h"
#include "output/page_output.h"
#include "plot_test_helpers.h"

#include <QBuffer>
#include <QPainter>
#include <QRandomGenerator>
#include <QSvgRenderer>
#include <QtTest>

#include <cmath>

using namespace nikra;
using namespace Qt::StringLiterals;
using namespace nikra::test;

namespace {

DataBlock block(std::vector<float> x, std::vector<float> y) { return DataBlock{std::move(x), std::move(y)}; }

CurvePoints fit(const DataBlock &b, int ipl)
{
    CurvePoints c;
    fitCurve(b, ipl, c);
    return c;
}

bool close(double a, double b, double tolerance = 1e-5) { return std::fabs(a - b) <= tolerance; }

} // namespace

class TestCurves : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void spline();
    void markerShapes();
    void markersOnThePage();
    void placedMarkersDrawAsPolygons();
    void legendEntries();
    void commentLines();
    void commentsBelowThePage();
};

void TestCurves::spline()
{
    // Through y = x^2 at evenly spaced x the end slopes (3 d2 - d3) / 2 and every inner slope
    // are exact, so the spline is the parabola itself, through every data point.
    std::vector<float> x, y;
    for (float v = 1; v <= 8; ++v) {
        x.push_back(v);
        y.push_back(v * v);
    }
    const CurvePoints c = fit(block(x, y), 4);
    QCOMPARE(c.size(), std::size_t(36));
    for (std::size_t i = 0; i < c.size(); ++i) {
        const double want = 1 + double(i) / 5;
        QVERIFY2(close(c.x[i], want) && close(c.y[i], want * want, 1e-4), qPrintable(QString::number(c.y[i])));
    }

    // On a log axis the fit is made in log10: y = 10^(x^2) draws the parabola in decades.
    FormatFile f;
    f.line6 = QStringLiteral("80, 0, 4, 1, 0");
    f.curves = QStringList{QStringLiteral("0, 0, 0, 0, 3, 0, 0, a")};
    const PassRun run = drawSlot(f, "5\n0,1\n0.5,1.77827941\n1,10\n1.5,177.827941\n2,10000\n");
    const auto lines = run.surface->of(PrimitiveKind::Polyline);
    QVERIFY(lines.size() == 1 && lines[0].mm.size() == 17);
    for (const PagePoint &p : lines[0].mm)
        QVERIFY2(close(p.y, 90 - 20 * std::pow((p.x - 25) / 10, 2), 1e-4), qPrintable(QStringLiteral("%1, %2").arg(p.x).arg(p.y)));

    // Two points: both end slopes are the secant, the curve is the straight line.
    const CurvePoints line = fit(block({0, 4}, {1, 3}), 3);
    QCOMPARE(line.y, (std::vector<float>{1, 1.5f, 2, 2.5f, 3}));
}

void TestCurves::markerShapes()
{
    // Each shape's size rule through one corner, to the four places of the corner table (the
    // angles are taken with 3.1415 for pi, so the last place may differ by one).
    struct Corner {
        int ptp;
        std::size_t count, index;
        PagePoint at;
    };
    const Corner corners[] = {{4, 4, 0, {-0.4564, -0.4564}}, {2, 3, 0, {0, -0.6351}},         {5, 3, 0, {0, 0.6351}},
                              {-25, 3, 1, {0.5500, -0.3175}}, {3, 4, 3, {0.6325, 0}},         {6, 6, 1, {-0.5, -0.2887}},
                              {7, 10, 0, {0, -0.6770}},       {7, 10, 1, {-0.1520, -0.2092}}, {38, 8, 0, {-0.4787, -0.4787}},
                              {38, 8, 1, {-0.2586, 0}},       {9, 12, 0, {-0.2257, -0.5078}}};
    for (const Corner &c : corners) {
        const std::vector<PagePoint> got = markerShape(c.ptp, 3).corners;
        QVERIFY2(got.size() == c.count && close(got[c.index].x, 3 * c.at.x, 6e-4) && close(got[c.index].y, 3 * c.at.y, 6e-4),
                 qPrintable(QStringLiteral("PTP %1 corner %2").arg(c.ptp).arg(c.index)));
    }
    QCOMPARE(markerShape(1, 2).kind, MarkerKind::Circle);
    QVERIFY(close(markerShape(-31, 2).radius, 2 * 0.5345, 1e-4));
    for (int none : {10, 40, -40})
        QCOMPARE(markerShape(none, 1).kind, MarkerKind::None);
    // Outline widths from the tens digit; negative values ask for the thinnest line.
    QCOMPARE(markerPen(34).width, 4);
    QVERIFY(markerPen(-1).width <= 0 && markerPen(-13).width <= 0 && markerPen(-39).width <= 0);
}

void TestCurves::markersOnThePage()
{
    FormatFile f;
    // The first asks for a legend entry, which RSZ 0 hides: no sample marker.
    f.curves = QStringList{QStringLiteral("-1, 2, 7, 7, 0, 1, 0, hollow"), QStringLiteral("-20, 2, 7, 7, 0, 0, 0, disc")};
    // On the edges of the frame, and a hair outside it.
    const PassRun run = drawSlot(f, "3\n0,0\n10,10\n10.0001,5\n1\n5,5\n");
    const auto circles = run.surface->of(PrimitiveKind::Circle);
    // Two hollow circles (filled, then a white disc), then the white disc alone.
    QCOMPARE(circles.size(), std::size_t(5));
    QCOMPARE(circles[0].mm[0], (PagePoint{25, 90}));
    QVERIFY(circles[1].fill == QColor(255, 255, 255) && close(circles[1].radius, 2 / std::sqrt(18.0)));
    QVERIFY(circles[4].mm[0] == (PagePoint{75, 50}) && circles[4].fill == QColor(255, 255, 255));
}

namespace {

// The metafile as it wrote markers before: every marker a polygon through its own exact
// corners, from its unrounded centre.
class PolygonMetafile : public MetafileSurface {
public:
    using MetafileSurface::MetafileSurface;
    void circle(PagePoint centre, double radiusMm, const Pen &pen, const QColor &fill) override
    {
        DeviceSurface::circle(centre, radiusMm, pen, fill);
    }
    void markerPolygon(PagePoint centre, std::span<const PagePoint> offsets, const Pen &pen, const QColor &fill) override
    {
        Surface::markerPolygon(centre, offsets, pen, fill);
    }
};

} // namespace

void TestCurves::placedMarkersDrawAsPolygons()
{
    // Markers of every shape, some hollow or thickly outlined, at fractional centres in a
    // 40 x 30 mm window: written as placed outlines and as a polygon per marker, and drawn
    // back at 600 dpi, the two differ only along edges, by at most a pixel.
    QRandomGenerator rng(5);
    const int shapes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, -1, 31, -27, 1, 1};
    const MetafileExtent window = metafileExtent(Selection{0, 0, 40, 30});
    const QSize size(rnd(40 / 25.4 * 600), rnd(30 / 25.4 * 600));
    QBuffer placed, polygons;
    placed.open(QIODevice::WriteOnly);
    polygons.open(QIODevice::WriteOnly);
    MetafileSurface placedSurface(&placed, window);
    PolygonMetafile polygonSurface(&polygons, window);
    for (int i = 0; i < 80; ++i) {
        CurveStyle style;
        style.PTP = std::int16_t(shapes[i % std::size(shapes)]);
        style.PSZ = i % 3 == 0 ? 3.0f : 1.5f;
        style.PCL = std::int16_t(i % 5);
        const PagePoint at{2 + rng.generateDouble() * 36, 2 + rng.generateDouble() * 26};
        drawMarker(placedSurface, style, at);
        drawMarker(polygonSurface, style, at);
    }
    QVERIFY(placedSurface.finish() && polygonSurface.finish());
    QVERIFY(placed.data().size() * 2 < polygons.data().size());  // each outline written once

    QImage want(size, QImage::Format_RGB32), got(size, QImage::Format_RGB32);
    for (auto [svg, image] : {std::pair{&polygons, &want}, std::pair{&placed, &got}}) {
        image->fill(Qt::white);
        QPainter painter(image);
        QSvgRenderer(svg->data()).render(&painter);
    }
    int differing = 0;
    for (int y = 1; y + 1 < size.height(); ++y) {
        for (int x = 1; x + 1 < size.width(); ++x) {
            if (got.pixel(x, y) == want.pixel(x, y))
                continue;
            ++differing;
            bool edge = false;  // the polygon drawing changes colour next to this pixel
            for (int d = 0; d < 9 && !edge; ++d)
                edge = want.pixel(x + d % 3 - 1, y + d / 3 - 1) != want.pixel(x, y);
            QVERIFY2(edge, qPrintable(QStringLiteral("pixel %1, %2 differs away from any edge").arg(x).arg(y)));
        }
    }
    QVERIFY(differing > 0);  // the centres were rounded: both drawings hold markers
}

void TestCurves::legendEntries()
{
    FormatFile f;
    f.line4 = QStringLiteral("100, 0, 10, 0, 0, 2, 0, 6");  // RSZ 2; FNT 6: Arial labels, Courier New comments
    f.curves = QStringList{QStringLiteral("0, 0, 1, 0, 0, 2, 5, upper")};
    PassRun run = drawSlot(f, "2\n1,1\n2,2\n");
    // The first upper entry sits LegendY = 1.125 RSZ + 2.25 RSZ / 2 = 4.5 mm below the top.
    const auto lines = run.surface->of(PrimitiveKind::Polyline);
    QCOMPARE(lines.size(), std::size_t(2));
    QCOMPARE(lines[1].mm, (std::vector<PagePoint>{{30, 14.5}, {40, 14.5}}));
    QCOMPARE(lines[1].pen, lines[0].pen);  // the curve's own pen
    const Primitive label = run.surface->of(PrimitiveKind::Text).at(0);
    QCOMPARE(label.text, QStringLiteral("upper"));
    QCOMPARE(label.mm[0], (PagePoint{41, 14.5 - 2.25}));  // PSZ + 1 right, centred on the line
    QCOMPARE(label.font.face, QStringLiteral("Courier New"));

    // Lower column, with a marker: the marker sample, centred on the line of a text (4.5 mm)
    // taller than the marker, and the label after the marker.
    f.curves = QStringList{QStringLiteral("4, 3, 1, 7, 0, 1, 0, lower")};
    run = drawSlot(f, "2\n1,1\n2,2\n");
    const auto squares = run.surface->of(PrimitiveKind::Polygon);
    const double y0 = 90 - (2.25 + 2.25);
    QVERIFY(squares.size() == 3 && close(squares[2].mm[0].y, y0 - 0.4564 * 3, 1e-4));  // two points and the sample
    const PagePoint lower = run.surface->of(PrimitiveKind::Text).at(0).mm[0];
    QVERIFY(close(lower.x, 35 + 3 + 1) && close(lower.y, y0 - 2.25));
}

void TestCurves::commentLines()
{
    FormatFile f;
    f.line4 = QStringLiteral("10, 0, 10, 0, 0, 0, 1, 0");  // XWD 10, CSZ 1: 2 mm characters, 3 mm lines
    f.curves.clear();
    // CR LF and lone CR end lines; a lone LF breaks within a line; empty lines take a line.
    const QByteArray text = "a\r\n\r\n\rx\ny\r\n" + QByteArray(60, 'z');
    const PassRun run = drawSlot(f, "", text);
    QCOMPARE(run.surface->texts(), (QStringList{u"a"_s, u""_s, u""_s, u"x"_s, u"y"_s, QString(55, u'z'), QString(5, u'z')}));
    const auto texts = run.surface->of(PrimitiveKind::Text);
    QCOMPARE(texts[0].mm[0], (PagePoint{15, 91.5}));  // 10 mm left of the frame, half a line down
    QCOMPARE(texts[6].mm[0], (PagePoint{15, 91.5 + 6 * 3}));
    QCOMPARE(run.state.page.LowestY, float(91.5 + 7 * 3));

    auto width = [](const QString &t) { return double(t.size()); };  // 1 mm a character
    // A line that just fits stays whole; a character outside the basic plane is not split.
    QCOMPARE(commentPieces(QStringLiteral("abcde"), 5, width), (QStringList{u"abcde"_s}));
    QCOMPARE(commentPieces(QString(), 5, width), QStringList{QString()});
    QCOMPARE(commentPieces(QStringLiteral("😀ab"), 2, width), (QStringList{QStringLiteral("😀"), u"ab"_s}));
    // A tab takes the piece to its next stop (4 mm apart here), from a stop to the next.
    QCOMPARE(commentPieces(u"abcd\tefgh"_s, 10, width, 4), (QStringList{u"abcd\tef"_s, u"gh"_s}));
}

void TestCurves::commentsBelowThePage()
{
    // The metafile leaves out the comment lines that start below the page, as the printed
    // page does: a file of ten times the lines makes the same drawing.
    FormatFile f;
    f.line4 = QStringLiteral("10, 0, 10, 0, 0, 0, 1, 0");  // lines of 3 screen pixels: about 260 on the page
    f.curves.clear();
    QByteArray svg[2];
    for (int i = 0; i < 2; ++i) {
        TestDir dir;
        SlotSet slots;
        slots[1].format = dir.write(QStringLiteral("f.dat"), f);
        slots[1].comment = dir.write(QStringLiteral("c.txt"), QByteArray("line\r\n").repeated(i == 0 ? 1000 : 10000));
        ViewState view;
        RecordingMessenger messenger;
        PageJob job{slots, view, messenger, {}};
        svg[i] = svgPage(job, Selection{}).value_or(QByteArray());
    }
    QVERIFY(svg[0].count("<text") > 200 && svg[0].count("<text") < 1000);
    QCOMPARE(svg[1], svg[0]);
}

int runCurvesTests(int argc, char **argv)
{
    TestCurves tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_curves.moc"
