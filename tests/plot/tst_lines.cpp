// Device factors and rounding, curve clipping, pens, and the lossless path reductions.

#include "plot/curves/colour_table.h"
#include "plot/curves/curve_clip.h"
#include "plot/curves/line_style.h"
#include "plot/device_path.h"
#include "output/metafile_extent.h"
#include "plot/thin_lines.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

using namespace nikra;

using Piece = std::vector<PagePoint>;
Q_DECLARE_METATYPE(Piece)
Q_DECLARE_METATYPE(std::vector<Piece>)

namespace {

std::vector<Piece> clip(const Piece &points, const PageRect &frame = {0, 0, 10, 10})
{
    std::vector<Piece> pieces;
    clipCurve(points.size(), [&](std::size_t k) { return points[k]; }, frame,
              [&](const Piece &piece) { pieces.push_back(piece); });
    return pieces;
}

} // namespace

class TestLines : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void deviceRounding();
    void clipping_data();
    void clipping();
    void filledCurveClipping();
    void curvePens();
    void reducedPathsDrawTheSame();
    void straightCornersDropped();
};

void TestLines::deviceRounding()
{
    // Halves go to the even neighbour; a value past any page, or none, still lands on one.
    QCOMPARE((std::array{rnd(1.5), rnd(2.5), rnd(-2.5), rnd(1e300), rnd(std::nan(""))}), (std::array{2, 2, -2, 1 << 24, 0}));

    // The metafile window of a selection without height is the page, from the selection's
    // left edge (a selection dragged up and to the left: the SVG page in tst_render).
    const MetafileExtent flat = metafileExtent({30, 50, 80, 50});
    QCOMPARE((std::array{flat.originX, flat.originY, flat.extentX, flat.extentY}), (std::array{1701, 0, 11907, 16840}));
}

void TestLines::clipping_data()
{
    QTest::addColumn<Piece>("points");
    QTest::addColumn<std::vector<Piece>>("pieces");
    // Frame: x 0..10, y 0..10 (y down: 0 is the top edge, 10 the bottom edge).
    QTest::newRow("through, left first") << Piece{{15, 5}, {-5, 5}} << std::vector<Piece>{{{0, 5}, {10, 5}}};
    QTest::newRow("out and back")
        << Piece{{5, 5}, {15, 5}, {15, 6}, {5, 6}} << std::vector<Piece>{{{5, 5}, {10, 5}}, {{10, 6}, {5, 6}}};
    QTest::newRow("out by the bottom-left corner, once")
        << Piece{{5, 5}, {-5, 15}} << std::vector<Piece>{{{5, 5}, {0, 10}}};
    QTest::newRow("points on the edges belong inside")
        << Piece{{0, 5}, {5, 10}, {10, 0}} << std::vector<Piece>{{{0, 5}, {5, 10}, {10, 0}}};
    QTest::newRow("only touching a corner draws nothing")
        << Piece{{-5, 5}, {5, 15}, {5, 5}} << std::vector<Piece>{{{5, 10}, {5, 5}}};
    QTest::newRow("into a point on the left edge from above")
        << Piece{{5, -5}, {0, 5}, {5, 5}} << std::vector<Piece>{{{2.5, 0}, {0, 5}, {5, 5}}};
    QTest::newRow("vertical segment on the edge line")
        << Piece{{0, 12}, {0, 8}} << std::vector<Piece>{{{0, 10}, {0, 8}}};
}

void TestLines::clipping()
{
    QFETCH(Piece, points);
    QFETCH(std::vector<Piece>, pieces);
    QCOMPARE(clip(points), pieces);
}

void TestLines::filledCurveClipping()
{
    auto fill = [](const Piece &points) {
        return clipFilledCurve(points.size(), [&](std::size_t k) { return points[k]; }, PageRect{0, 0, 10, 10});
    };
    // The chord from (5, 15) back to (-5, 5) leaves the frame: the fill is the part of the
    // closed triangle inside the frame, the rectangle x 0..5, y 5..10 (worked by hand); each
    // clipped piece closed by its own chord would have been the triangle (0,5) (5,5) (5,10).
    QCOMPARE(fill({{-5, 5}, {5, 5}, {5, 15}}), (Piece{{0, 10}, {0, 5}, {5, 5}, {5, 10}}));
    // Wholly outside: nothing to fill.
    QVERIFY(fill({{-5, -5}, {-1, -5}, {-3, -1}}).empty());
}

void TestLines::curvePens()
{
    const DeviceProfile canvas = DeviceProfile::canvas(96);
    const DeviceProfile meta = DeviceProfile::metafile();
    QCOMPARE(curvePen(21, 0, canvas), (Pen{LineStyle::Dash, 3, Qt::black}));
    QCOMPARE(curvePen(30, 0, meta), (Pen{LineStyle::Solid, 16, Qt::black}));
    QVERIFY(curvePen(15, 0, canvas).style == LineStyle::None && curvePen(40, 0, canvas).style == LineStyle::None);
    QVERIFY(fillsArea(5) && !fillsArea(15));
    QVERIFY(pclColour(16) == QColor(255, 255, 255) && pclColour(-1) == QColor(255, 255, 255));  // past the table
}

void TestLines::reducedPathsDrawTheSame()
{
    // A dense noisy curve and a random walk, drawn from all their points and from the
    // reduced path, as lines and as filled polygons, with a thin and a wide solid pen:
    // the pixels must be the same.
    QRandomGenerator rng(7);
    std::vector<QPoint> dense, walk;
    for (int i = 0; i < 40000; ++i)
        dense.push_back({20 + i / 100, 100 + int(rng.bounded(60)) - (i / 800)});
    for (QPoint p(150, 150); walk.size() < 10000; walk.push_back(p))
        p += QPoint(int(rng.bounded(3)) - 1, int(rng.bounded(3)) - 1);
    // As the canvas draws them: thin solid lines by itself, the rest with Qt.
    auto draw = [](const std::vector<QPoint> &path, int width, bool polygon) {
        QImage img(500, 300, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter painter(&img);
        painter.setPen(width == 1 ? QPen(Qt::NoPen) : QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(Qt::red);
        if (polygon)
            painter.drawPolygon(path.data(), int(path.size()), Qt::OddEvenFill);
        else if (width > 1)
            painter.drawPolyline(path.data(), int(path.size()));
        painter.end();
        std::vector<QPoint> line = path;
        if (polygon)
            line.push_back(path.front());
        if (width == 1)
            drawThinPolyline(img, line, qRgb(0, 0, 0));
        return img;
    };
    for (const std::vector<QPoint> &original : {dense, walk}) {
        std::vector<QPoint> reduced = original;
        dropRepeats(reduced);
        // The same reductions on the path as it comes, a point at a time.
        ReducedPath repeatsDropped(false);
        ReducedPath runsMerged(true);
        for (const QPoint &p : original) {
            repeatsDropped.add(p);
            runsMerged.add(p);
        }
        QCOMPARE(repeatsDropped.finish(), reduced);
        mergeStraightRuns(reduced);
        QCOMPARE(runsMerged.finish(), reduced);
        QVERIFY(reduced.size() < original.size());
        for (int width : {1, 3}) {
            for (bool polygon : {false, true})
                QVERIFY2(draw(reduced, width, polygon) == draw(original, width, polygon),
                         qPrintable(QStringLiteral("width %1 polygon %2 points %3").arg(width).arg(polygon).arg(original.size())));
        }
    }
}

void TestLines::straightCornersDropped()
{
    // A square with a repeated corner, corners halfway along its sides and the start in the
    // middle of one: its four corners are left, in order.
    std::vector<QPoint> square{{5, 0}, {10, 0}, {10, 0}, {10, 5}, {10, 10}, {0, 10}, {0, 3}, {0, 0}, {2, 0}};
    dropStraightCorners(square);
    QCOMPARE(square, (std::vector<QPoint>{{10, 0}, {10, 10}, {0, 10}, {0, 0}}));

    // A corner on the line but past a neighbour turns the outline back: it stays.
    std::vector<QPoint> spike{{0, 0}, {8, 0}, {4, 0}, {4, 4}};
    dropStraightCorners(spike);
    QCOMPARE(spike, (std::vector<QPoint>{{0, 0}, {8, 0}, {4, 0}, {4, 4}}));
    // A polygon flat as a line keeps its two ends.
    std::vector<QPoint> flat{{0, 0}, {3, 3}, {6, 6}};
    dropStraightCorners(flat);
    QCOMPARE(flat, (std::vector<QPoint>{{0, 0}, {6, 6}}));
}

int runLinesTests(int argc, char **argv)
{
    TestLines tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_lines.moc"
