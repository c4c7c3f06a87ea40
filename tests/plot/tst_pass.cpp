// The plot pass through the recording surface: slot layout, the view state, frame marks,
// curves on the page, and where the surfaces differ.

#include "plot/axis_view.h"
#include "plot/curves/curve_fit.h"
#include "output/page_output.h"
#include "plot_test_helpers.h"

#include <QBuffer>
#include <QPainter>
#include <QStringEncoder>
#include <QtTest>

using namespace nikra;
using namespace nikra::test;

class TestPass : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void slotRows();
    void axisView_data();
    void axisView();
    void frameMarks();
    void curvesOnThePage();
    void surfaceRules();
    void missingFiles();
    void curveLineLoop();
    void oversizedFitIsDrawnStraight();
    void pngKeepsEveryPixel();
    void readInWindows_data();
    void readInWindows();
    void progressWithinABlock();
};

void TestPass::slotRows()
{
    TestDir dir;
    FormatFile f;
    const QString plain = dir.write(QStringLiteral("plain.dat"), f);
    f.line4 = QStringLiteral("60, 0, 10, 0, 5, 0, 0, 0");  // XSF 5
    f.line6 = QStringLiteral("50, 0, 10, 0, 7");           // YSP 7
    const QString shifted = dir.write(QStringLiteral("shifted.dat"), f);

    // Slots 1 and 3, slot 2 empty: slot 3 starts where slot 1 ends.
    SlotSet a;
    a[1].format = plain;
    a[3].format = plain;
    PassRun run = runPass(a);
    QCOMPARE(frames(*run.surface), (std::vector<PageRect>{{25, 10, 100, 80}, {25, 90, 100, 80}}));

    // Slots 1 and 2 side by side, then 4 alone in the second row at the right.
    SlotSet b;
    b[1].format = plain;
    b[2].format = shifted;
    b[4].format = shifted;
    run = runPass(b);
    QCOMPARE(frames(*run.surface),
             (std::vector<PageRect>{{25, 10, 100, 80}, {125, 17, 60, 50}, {125, 97, 60, 50}}));
}

void TestPass::axisView_data()
{
    QTest::addColumn<float>("dv");
    QTest::addColumn<float>("ds");
    QTest::addColumn<float>("pan");
    QTest::addColumn<int>("zoom");
    QTest::addColumn<float>("mn");
    QTest::addColumn<float>("mx");
    QTest::addColumn<float>("dvAfter");
    QTest::addColumn<float>("dsAfter");
    QTest::addColumn<int>("zoomAfter");

    // Range 0..4 unless a pan or zoom moves it.
    QTest::newRow("pan left twice") << 4.f << 0.f << -2.f << 0 << -2.f << 2.f << 4.f << 0.f << 0;
    QTest::newRow("ticks, two more") << -4.f << 0.f << 0.f << 2 << 0.f << 6.f << -6.f << 0.f << 2;
    QTest::newRow("lift from zero") << 4.f << 0.f << 0.f << -4 << 0.f << 1.f << 1.f << 0.f << -3;
    QTest::newRow("lift from below zero") << 4.f << 0.f << 0.f << -7 << 0.f << 1.f << 1.f << 0.f << -3;
    QTest::newRow("shift -0.3") << 4.f << -0.3f << 0.f << 0 << 0.f << 4.f << 4.f << 0.7f << 0;
}

void TestPass::axisView()
{
    QFETCH(float, dv);
    QFETCH(float, ds);
    QFETCH(float, pan);
    QFETCH(int, zoom);
    float MN = 0, MX = 4, DV = dv, DS = ds, step = 0;
    std::int16_t z = std::int16_t(zoom);
    QCOMPARE(applyAxisView({MN, MX, DV, DS}, pan, z, step), AxisViewOutcome::Applied);
    QCOMPARE(step, 1.0f);
    QTEST(MN, "mn");
    QTEST(MX, "mx");
    QTEST(DV, "dvAfter");
    QFETCH(float, dsAfter);
    QVERIFY2(qAbs(DS - dsAfter) < 1e-6f, qPrintable(QString::number(DS)));
    QTEST(int(z), "zoomAfter");
}

void TestPass::frameMarks()
{
    FormatFile f;
    f.line9 = QStringLiteral("0, 0, -5, 0");       // five divisions, ticks
    f.line11 = QStringLiteral("0, 0, 4, 1.25");    // four dotted lines shifted half a step
    f.line16 = QStringLiteral("0, 2, y");          // y texts on the right
    const DeviceProfile canvas = DeviceProfile::canvas(96);
    const PassRun run = drawSlot(f, {}, {}, canvas);
    std::vector<std::vector<PagePoint>> ticks, dotted;
    for (const Primitive &p : run.surface->of(PrimitiveKind::Line))
        (p.pen == canvas.framePen ? ticks : dotted).push_back(p.mm);
    // Six ticks on the bottom edge at 0, 1/5, .. 5/5 of the width, 1 mm long, upward.
    QCOMPARE(ticks.size(), std::size_t(6));
    QCOMPARE(ticks[1], (std::vector<PagePoint>{{45, 90}, {45, 89}}));
    // y: positions 1.25, 3.75, 6.25, 8.75; the one at 11.25 is beyond YMX and dropped.
    QCOMPARE(dotted.size(), std::size_t(4));
    QCOMPARE(dotted[0], (std::vector<PagePoint>{{25, 80}, {125, 80}}));

    // No x texts: no x ticks.
    f.line14 = QStringLiteral("0, 0, x");
    QCOMPARE(drawSlot(f).surface->of(PrimitiveKind::Line).size(), std::size_t(4));

    // x texts above (XLP 2): the frame moves down by XNS + XLS, its ticks on the top edge
    // pointing down into it.
    f.line9 = QStringLiteral("5, 0, -5, 0");
    f.line14 = QStringLiteral("6, 2, title");
    const PassRun above = drawSlot(f);
    QCOMPARE(frames(*above.surface), (std::vector<PageRect>{{25, 21, 100, 80}}));
    QCOMPARE(above.surface->of(PrimitiveKind::Line).at(0).mm, (std::vector<PagePoint>{{25, 21}, {25, 22}}));
}

void TestPass::curvesOnThePage()
{
    // A line cut at the frame, then a filled block: the fill has no outline.
    FormatFile f;
    f.curves = QStringList{QStringLiteral("0, 0, 4, 0, 0, 0, 0, line"), QStringLiteral("0, 0, 2, 5, 0, 0, 0, fill")};
    const PassRun run = drawSlot(f, "3\n0,0\n10,10\n12,10\n3\n0,0\n5,10\n10,0\n", {}, DeviceProfile::canvas(96));
    const auto lines = run.surface->of(PrimitiveKind::Polyline);
    QVERIFY(lines.size() == 1 && lines[0].mm == (std::vector<PagePoint>{{25, 90}, {125, 10}}));
    const auto fills = run.surface->of(PrimitiveKind::Polygon);
    QCOMPARE(fills.size(), std::size_t(1));
    QCOMPARE(fills[0].mm, (std::vector<PagePoint>{{25, 90}, {75, 10}, {125, 90}}));
    QCOMPARE(fills[0].pen.style, LineStyle::None);
    QCOMPARE(fills[0].fill, QColor(124, 252, 0));
}

void TestPass::surfaceRules()
{
    // Slots stopped by their view (an empty range, a billion divisions) or by a key (XMX 10
    // with XND 6), and one drawn after a correction (XLG 2): the canvas says why, the printer
    // and the metafile stop and correct the same slots silently.
    TestDir dir;
    FormatFile f;
    f.line4 = QStringLiteral("100, 3, 3, 0, 0, 0, 0, 0");
    SlotSet slots;
    slots[1].format = dir.write(QStringLiteral("empty.dat"), f);
    f = FormatFile{};
    f.line11 = QStringLiteral("0, 0, 1e9, 0");
    slots[2].format = dir.write(QStringLiteral("many.dat"), f);
    f = FormatFile{};
    f.line4 = QStringLiteral("100, 0, 10, 2, 0, 0, 0, 0");
    slots[3].format = dir.write(QStringLiteral("a.dat"), f);
    f = FormatFile{};
    f.line9 = QStringLiteral("0, 6, 5, 0");
    slots[4].format = dir.write(QStringLiteral("b.dat"), f);

    SlotSet onCanvas = slots;
    PassRun canvas = runPass(onCanvas);
    QCOMPARE(canvas.messages, (QStringList{formatMessage(1, Msg::XRangeEmpty),
                                           formatMessage(2, Msg::YTooManyDivisions, {QStringLiteral("1000")}),
                                           formatMessage(3, Msg::XlgChoice), formatMessage(4, Msg::XmxIntegerPart)}));
    QCOMPARE(frames(*canvas.surface).size(), std::size_t(1));

    for (const DeviceProfile &profile : {DeviceProfile::printer(600, 600), DeviceProfile::metafile()}) {
        SlotSet copy = slots;
        const PassRun run = runPass(copy, profile);
        QVERIFY(run.messages.isEmpty());
        QCOMPARE(frames(*run.surface).size(), std::size_t(1));
    }
}

void TestPass::missingFiles()
{
    TestDir dir;
    FormatFile f;
    f.line4 = QStringLiteral("100, 0, 10, 0, 0, 0, 5, 0");  // CSZ 5
    const QString format = dir.write(QStringLiteral("f.dat"), f);
    const QString nowhere = dir.path(QStringLiteral("missing.txt"));
    SlotSet slots;
    slots[1] = {dir.path(QStringLiteral("missing.dat")), nowhere, nowhere};
    slots[3] = {format, nowhere, QString()};
    slots[5] = {format, QString(), nowhere};
    f.line4 = QStringLiteral("100, 0, 10, 0, 0, 0, 0, 0");  // CSZ 0: the comment file is not looked at
    slots[6] = {dir.write(QStringLiteral("q.dat"), f), QString(), nowhere};

    SlotSet onPrinter = slots;
    const PassRun printer = runPass(onPrinter, DeviceProfile::printer(600, 600));
    QVERIFY(printer.messages.isEmpty());
    QCOMPARE(onPrinter[1].format, slots[1].format);  // only the canvas clears names

    const PassRun canvas = runPass(slots);
    // Slot 1 has no Format Data file, so it has no comment step either.
    QCOMPARE(canvas.messages, (QStringList{formatMessage(1, Msg::FileMissing),
                                           slotMessage(FileKind::GraphData, 3, Msg::FileMissing),
                                           slotMessage(FileKind::CommentData, 5, Msg::FileMissing)}));
    QVERIFY(canvas.messages.last().startsWith(QStringLiteral(" 5rd Comment Data Error: ")));
    QVERIFY(slots[1].format.isEmpty());
    QVERIFY(slots[1].comment == nowhere && slots[6].comment == nowhere);
    QVERIFY(slots[3].graph.isEmpty());
    QVERIFY(slots[5].comment.isEmpty());
    QCOMPARE(frames(*canvas.surface).size(), std::size_t(3));
}

void TestPass::curveLineLoop()
{
    FormatFile f;
    f.line4 = QStringLiteral("100, 0, 10, 0, 0, 4, 0, 0");  // RSZ 4
    f.curves = QStringList{QStringLiteral("1, 1, 1, 0, 0, 1, 0, a"), QStringLiteral("1, 6, 4, 0, 0, 1, 0, b")};
    const QByteArray threeBlocks = "2\n1,1\n2,2\n2\n1,2\n2,3\n2\n1,3\n2,4\n";
    PassRun run = drawSlot(f, threeBlocks, {}, DeviceProfile::canvas(96));
    // Each block draws its curve, then its legend line sample.
    const auto lines = run.surface->of(PrimitiveKind::Polyline);
    QCOMPARE(lines.size(), std::size_t(6));
    QCOMPARE(lines[4].pen.color, QColor(0, 0, 255));  // the third block keeps line 2's style
    QCOMPARE(lines[5].mm, lines[3].mm);                // and its legend entry does not move
    // Legend: with text height T = 2.25 RSZ / px per mm = 9 / 3.7795 = 2.38125 mm, the first
    // entry (marker 1.2 mm) sits at T, the second (marker 7.2 mm) half of T plus 0.6 PSZ
    // further: 3.571875 + 3.6 mm.
    QCOMPARE(run.state.legend.LegendY[1], 7.171875f);

    // A logarithm of zero stops the slot; the blocks before it stay.
    f.line4 = QStringLiteral("100, 0, 2, 1, 0, 0, 0, 0");
    f.curves = QStringList{QStringLiteral("0, 0, 0, 0, 0, 0, 0, a")};
    run = drawSlot(f, "2\n1,1\n10,2\n2\n1,1\n0,1\n2\n1,1\n10,2\n");
    QCOMPARE(run.messages, QStringList{slotMessage(FileKind::GraphData, 1, Msg::LogOfNonPositive)});
    QCOMPARE(run.surface->of(PrimitiveKind::Polyline).size(), std::size_t(1));
}

void TestPass::oversizedFitIsDrawnStraight()
{
    FormatFile f;
    f.curves = QStringList{QStringLiteral("0, 0, 0, 0, 30000, 0, 0, a")};
    QByteArray data("200\n");
    for (int i = 0; i < 200; ++i)
        data += QByteArray::number(i * 0.05) + ",5\n";
    const PassRun run = drawSlot(f, data);
    QCOMPARE(run.messages, QStringList{formatMessage(1, Msg::CurveTooLarge, {QStringLiteral("5000000")})});
    QCOMPARE(run.surface->of(PrimitiveKind::Polyline).at(0).mm.size(), std::size_t(200));

    // A Chebyshev degree whose fitting alone would take many seconds on two points: the
    // points are joined straight, with one message; as with the point bound, the curve line
    // keeps IPL = 0 for the blocks that reuse it.
    f.curves = QStringList{QStringLiteral("0, 0, 0, 0, -32767, 0, 0, a")};
    const PassRun costly = drawSlot(f, "2\n0 1\n10 9\n2\n0 9\n10 1\n");
    QCOMPARE(costly.messages, QStringList{formatMessage(1, Msg::CurveTooMuchWork)});
    const auto lines = costly.surface->of(PrimitiveKind::Polyline);
    QVERIFY(lines.size() == 2 && lines.at(0).mm.size() == 2 && lines.at(1).mm.size() == 2);

    // The bounds in numbers: degree 1000 on two points fits, 2000 does not; a block drawn as
    // it is may hold any number of points.
    QCOMPARE(curveFitLimit(2, -1000), CurveFitLimit::Within);
    QCOMPARE(curveFitLimit(2, -2000), CurveFitLimit::TooMuchWork);
    QCOMPARE(curveFitLimit(6'000'000, 0), CurveFitLimit::Within);
}

void TestPass::pngKeepsEveryPixel()
{
    // A page of few colours with smoothed text, and one of more colours than a palette
    // holds: both come back from the PNG pixel for pixel (the resolution: tst_render).
    QImage few(300, 200, QImage::Format_RGB32);
    few.fill(Qt::white);
    QPainter p(&few);
    p.setPen(QPen(Qt::blue, 3));
    p.drawLine(10, 10, 290, 150);
    p.setPen(Qt::black);
    p.setFont(QFont(QStringLiteral("Liberation Serif"), 14));
    p.drawText(20, 180, QStringLiteral("10\u207b\u00b3 x y"));
    p.end();
    QImage many = few.copy();
    for (int x = 0; x < 300; ++x)
        many.setPixel(x, 0, qRgb(x % 256, x / 256, 7));
    for (const QImage &page : {few, many}) {
        QBuffer out;
        QImage back;
        QVERIFY(out.open(QIODevice::WriteOnly) && writePng(page, &out) && back.loadFromData(out.data(), "PNG"));
        QCOMPARE(back.convertToFormat(QImage::Format_RGB32), page);
    }
}

namespace {

// What a pass drew and said, in page millimetres, one line a primitive.
QStringList drawing(const PassRun &run)
{
    QStringList out = run.messages;
    for (const Primitive &p : run.surface->primitives) {
        QString line = QString::number(int(p.kind)) + QLatin1Char(' ') + p.pen.color.name() + QLatin1Char(' ')
            + QString::number(int(p.pen.style)) + QLatin1Char(' ') + p.fill.name() + QLatin1Char(' ') + p.text;
        for (const PagePoint &q : p.mm)
            line += QStringLiteral(" %1,%2").arg(q.x, 0, 'g', 17).arg(q.y, 0, 'g', 17);
        out << line;
    }
    return out;
}

QByteArray shiftJis(const QString &text)
{
    QStringEncoder encoder("windows-31j");
    return encoder.encode(text);
}

} // namespace

void TestPass::readInWindows_data()
{
    QTest::addColumn<QStringList>("curves");
    QTest::addColumn<QByteArray>("graph");

    const QStringList line{QStringLiteral("0, 0, 1, 0, 0, 1, 0, a")};
    // In and out of the 0..10 frame, blanks, an empty field (0) and line ends of every kind.
    const QByteArray acrossTheFrame = "12\r\n0, 5\r\n1,12\r\n2 , -3\r\n3,4\r\n4,\r\n"
                                      "5,  11\n6,6\r7,-1\r\n8,15\r\n9,9\r\n10,1\r\n11,2\r\n"
                                      "3\r\n1,1\r\n2,9\r\n3,1\r\n";
    QTest::newRow("line over the frame's edges") << line << acrossTheFrame;
    QTest::newRow("cut short") << line << QByteArray("2\n1,1\n2,2\n5\n1,1\n2,2\n3,3\n");
    QTest::newRow("fitted, marked and filled") << QStringList{QStringLiteral("0, 0, 1, 0, 2, 1, 0, s"),
                                                              QStringLiteral("1, 1, 4, 0, 0, 1, 0, m"),
                                                              QStringLiteral("0, 0, 4, 5, 0, 1, 0, f"),
                                                              QStringLiteral("0, 0, 1, 0, 2, 1, 0, t")}
                                               << QByteArray("4\n1,1\n2,5\n3,2\n4,8\n3\n1,2\n5,5\n9,2\n"
                                                             "4\n1,1\n2,9\n8,9\n9,1\n4\n1,1\n2,2\n2,3\n3,3\n");
    // Shift_JIS text where a value should be, its two-byte characters cut by some piece
    // boundary; bytes of no encoding; a byte-order mark read twice.
    QTest::newRow("Shift_JIS in a value")
        << line << QByteArray("2\r\n1,1\r\n5,5\r\n2\r\n1,") + shiftJis(QStringLiteral("ソ表")) + "\r\n5,5\r\n";
    QTest::newRow("not decodable") << line << QByteArray("2\n1,1\n5,5\n2\n1,1\n5,\xff\n");
    QTest::newRow("marked twice") << line << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF" "2\n1,1\n5,5\n");
}

void TestPass::readInWindows()
{
    // Whatever the pieces a file is read in and the windows a block is drawn in, the page
    // and the messages are those of the whole file read at once.
    QFETCH(QStringList, curves);
    QFETCH(QByteArray, graph);
    FormatFile f;
    f.curves = curves;
    const QStringList whole = drawing(drawSlot(f, graph, {}, unitProfile(), {}, ReadWindow{1 << 20, 1 << 30}));
    for (qsizetype bytes = 1; bytes <= 9; ++bytes) {
        for (std::int32_t points : {1, 2, 5}) {
            const QStringList pieces = drawing(drawSlot(f, graph, {}, unitProfile(), {}, ReadWindow{bytes, points}));
            QVERIFY2(pieces == whole, qPrintable(QStringLiteral("%1 bytes, %2 points:\n%3\n----\n%4")
                                                     .arg(bytes).arg(points)
                                                     .arg(pieces.join(QLatin1Char('\n')), whole.join(QLatin1Char('\n')))));
        }
    }
}

void TestPass::progressWithinABlock()
{
    // One block of 400 points read 50 at a time: the bar moves on with every window, not
    // only when the block is done.
    QByteArray graph = "400\n";
    for (int i = 0; i < 400; ++i)
        graph += QByteArray::number(i / 40.0) + ", 5\n";
    TestDir dir;
    SlotSet slots;
    slots[1].format = dir.write(QStringLiteral("f.dat"), FormatFile{});
    slots[1].graph = dir.write(QStringLiteral("g.dat"), graph);
    ViewState view;
    RecordingSurface surface(unitProfile());
    RecordingMessenger messenger;
    PlotPass pass(surface, slots, view, messenger);
    pass.setReadWindow(ReadWindow{64, 50});
    std::vector<qint64> points;
    pass.setProgressHook([&](const PassProgress &p) {
        if (p.slotsDone == 0 && p.slotShare > 0)
            points.push_back(p.points);
    });
    pass.run({});
    QCOMPARE(points, (std::vector<qint64>{50, 100, 150, 200, 250, 300, 350, 400}));
}

int runPassTests(int argc, char **argv)
{
    TestPass tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_pass.moc"
