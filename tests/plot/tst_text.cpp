// Axis numbers, log numbers, axis titles and the header: their texts and positions through
// the recording surface (one unit per mm: a size key S writes characters 2 S mm wide and
// 3 S mm high), and the fonts of the real surfaces.

#include "plot/canvas_surface.h"
#include "output/metafile_surface.h"
#include "formats/number_text.h"
#include "plot/printer_surface.h"
#include "plot_test_helpers.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QtTest>

using namespace nikra;
using namespace Qt::StringLiterals;
using namespace nikra::test;

namespace {

// The texts drawn, in order, with where each stands (mm[0]) and its font.
std::vector<Primitive> textsOf(const PassRun &run) { return run.surface->of(PrimitiveKind::Text); }

// A surface that notes the texts it paints and where, in its device units.
template <class Base>
class PaintedRuns : public Base {
public:
    using Base::Base;
    std::vector<std::pair<QPoint, QString>> runs;

protected:
    void paintText(QPoint at, const TextFont &font, const QString &text) override
    {
        runs.emplace_back(at, text);
        Base::paintText(at, font, text);
    }
};

// The running edges are single precision, like the keys they come from.
bool near(double a, double b) { return std::fabs(a - b) < 1e-4; }

} // namespace

class TestText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbers();
    void linearNumbers();
    void logNumbers();
    void header();
    void printedTextStandsAsOnTheCanvas();
};

void TestText::numbers()
{
    QCOMPARE(numberText(0.15, 1), QStringLiteral("0.2"));  // the decimal half, not the binary value below it
    QCOMPARE(numberText(-0.004, 2), QStringLiteral("0.00"));
    QCOMPARE(numberText(9.9999999, 2), QStringLiteral("10.00"));
}

void TestText::linearNumbers()
{
    FormatFile f;
    f.line4 = QStringLiteral("100, 0, 100, 0, 0, 0, 0, 0");
    f.line9 = QStringLiteral("1, 1, 5, 0");  // XNS 1: w 2 mm a character, h 3 mm
    PassRun run = drawSlot(f);
    QCOMPARE(run.surface->texts(), (QStringList{u"0.0"_s, u"20.0"_s, u"40.0"_s, u"60.0"_s, u"80.0"_s, u"100.0"_s}));
    // Centred on the division, a third of a line below the frame.
    const PagePoint first = textsOf(run)[0].mm[0];
    QVERIFY(near(first.x, 22) && near(first.y, 91));
    QCOMPARE(run.state.page.LowestY, 94.0f);  // no title: the numbers' edge, PlotBottom + 4h/3
    // Above the frame (moved down to 11 mm) the numbers' top edge is 4h/3 above it.
    f.line9 = QStringLiteral("1, 0, 2, 0");
    f.line14 = QStringLiteral("0, 2, x");
    QCOMPARE(drawSlot(f).state.edges.XTextTop, 7.0f);

    f = FormatFile{};
    f.line11 = QStringLiteral("1, 0, 2, 0");  // "0", "5", "10"
    f.line14 = QStringLiteral("1, 1, xyz");
    f.line16 = QStringLiteral("1, 1, ab");
    run = drawSlot(f);
    const std::vector<Primitive> t = textsOf(run);
    QCOMPARE(run.surface->texts(), (QStringList{u"xyz"_s, u"0"_s, u"5"_s, u"10"_s, u"ab"_s}));
    // Right-aligned half a digit left of the frame, centred on the division.
    QVERIFY(near(t[3].mm[0].x, 20) && near(t[3].mm[0].y, 8.5));
    // The x title 0.3 h below the frame's edge; the y title reads upward from its bottom
    // end, 1.2 h left of the widest number.
    QVERIFY(near(t[0].mm[0].x, 72) && near(t[0].mm[0].y, 90.9));
    QVERIFY(t[4].font.upward && near(t[4].mm[0].x, 20 - 3.6) && near(t[4].mm[0].y, 52));
}

void TestText::logNumbers()
{
    FormatFile f;
    f.line4 = QStringLiteral("99, 0, 3, 1, 0, 0, 0, 0");
    f.line9 = QStringLiteral("1, 0, 3, 0");
    PassRun run = drawSlot(f);
    std::vector<Primitive> t = textsOf(run);
    // All "10"s first, then all exponents in half-size.
    QCOMPARE(run.surface->texts(), (QStringList{u"10"_s, u"10"_s, u"10"_s, u"10"_s, u"0"_s, u"1"_s, u"2"_s, u"3"_s}));
    // "10" (4 mm wide) centred on the last division, its exponent in half-size after it.
    QVERIFY(near(t[3].mm[0].x, 124 - 2) && near(t[3].mm[0].y, 91.5));
    QVERIFY(near(t[7].mm[0].x, 124 + 2) && near(t[7].mm[0].y, 90 + 3 / 2.5) && t[7].font.width == 1.0);
    QCOMPARE(run.state.edges.XTextBottom, 94.5f);
    // Above the frame: the "10"s 1.3 h above it, the exponents raised to 1.5 h, and the
    // top edge of the texts (where the title stands) is the exponents'.
    f.line14 = QStringLiteral("0, 2, x");
    run = drawSlot(f);
    const double top = run.state.geo.FrameTop;
    QVERIFY(near(textsOf(run)[3].mm[0].y, top - 1.3 * 3));
    QCOMPARE(run.state.edges.XTextTop, float(top - 1.5 * 3));

    // 10^-4 .. 10^1: four two-character exponents below two one-character ones. Exponents
    // right-aligned 0.7 of a "1" from the frame; the "10"s end where the widest exponents
    // begin, though a narrow one is drawn last, and the title stands left of them.
    f = FormatFile{};
    f.line6 = QStringLiteral("80, -4, 1, 1, 0");
    f.line11 = QStringLiteral("1, 0, 5, 0");
    f.line16 = QStringLiteral("1, 1, gain");
    run = drawSlot(f);
    t = textsOf(run);
    QCOMPARE(run.surface->texts(), (QStringList{u"-4"_s, u"-3"_s, u"-2"_s, u"-1"_s, u"0"_s, u"1"_s, u"10"_s, u"10"_s,
                                                u"10"_s, u"10"_s, u"10"_s, u"10"_s, u"gain"_s}));
    QVERIFY(near(t[5].mm[0].x, 25 - 0.7 - 1) && near(t[5].mm[0].y, 8));
    QVERIFY(near(t[11].mm[0].x, 18.3) && near(t[11].mm[0].y, 8.5));
    QVERIFY(near(t.back().mm[0].x, 18.3 - 3.6));
    // On the right each exponent starts after its own "10", raised as on the left; the edge
    // passes the widest. No place for the texts: none drawn.
    f.line6 = QStringLiteral("80, -1, 1, 1, 0");
    f.line11 = QStringLiteral("1, 0, 2, 0");
    f.line16 = QStringLiteral("0, 2, y");
    run = drawSlot(f);
    QVERIFY(near(textsOf(run)[3].mm[0].x, 129.8) && near(textsOf(run)[3].mm[0].y, 88));
    QCOMPARE(run.state.edges.YTextRight, float(129.8 + 2));
    f.line16 = QStringLiteral("0, 0, y");
    QVERIFY(drawSlot(f).surface->texts().isEmpty());
}

void TestText::header()
{
    auto place = [](HeaderAlign align, const QString &size) {
        const PassRun run = drawSlot({}, {}, {}, unitProfile(), {QStringLiteral("abcde"), QStringLiteral("Arial"), size, align});
        const std::vector<Primitive> t = textsOf(run);
        return t.empty() ? PagePoint{-1, -1} : t.back().mm[0];
    };
    QCOMPARE(place(HeaderAlign::Right, QStringLiteral("5")), (PagePoint{150, 10}));  // 50 mm wide
    QCOMPARE(place(HeaderAlign::Centre, QStringLiteral("5")), (PagePoint{80, 10}));
    QCOMPARE(place(HeaderAlign::None, QStringLiteral(" 5 ")), (PagePoint{10, 10}));
    QCOMPARE(place(HeaderAlign::Left, QStringLiteral("大")), (PagePoint{-1, -1}));  // not a size
}

void TestText::printedTextStandsAsOnTheCanvas()
{
    // The printer makes its font at another resolution than the canvas, yet fits it on the
    // whole text laid out: a printed text is as wide in mm as on the canvas, to within one
    // step of the font's whole-unit width. A Japanese line, a single character, a long line,
    // and texts that must be laid out whole (a combining accent, characters the face
    // lacks). The metafile measures on the screen: its texts are the canvas's. The widths
    // alone do not see a fit a step off: the point sizes were taken once from a fitting
    // that made every candidate font afresh.
    struct Sample {
        QString face;
        double key;
        QString text;
        double points;
    };
    const Sample samples[] = {{u"ＭＳ Ｐ明朝"_s, 4.5, u"降水量 (mm)"_s, 9.4732476739034119},
                              {u"Times New Roman"_s, 9, u"x"_s, 17.987724867724868},
                              {u"Arial"_s, 1.5, u"e\u0301te\u0301"_s, 3.3297902097902092},
                              {u"Arial"_s, 4.5, QString(3000, u'm') + u"i"_s, 9.4523076923076914},
                              {u"No Such Face"_s, 9, u"😀 x"_s, 17.318657718120804}};
    QBuffer document, svg;  // a 600-dpi PDF page and a metafile
    QVERIFY(document.open(QIODevice::WriteOnly) && svg.open(QIODevice::WriteOnly));
    QPdfWriter writer(&document);
    writer.setResolution(600);
    PrinterSurface::preparePage(writer);
    PaintedRuns<PrinterSurface> printer(writer);
    PaintedRuns<MetafileSurface> meta(&svg, MetafileExtent{});
    PaintedRuns<CanvasSurface> canvas(96);
    for (const Sample &s : samples) {
        const TextFont got = printer.font({s.face, 2 * s.key * 6.25, false, s.text});
        const double onPaper = printer.textWidth(got, s.text);
        const double onCanvas = canvas.textWidth(canvas.font({s.face, 2 * s.key, false, s.text}), s.text);
        QVERIFY2(std::fabs(onPaper - onCanvas) < onCanvas / 50 && qFuzzyCompare(got.drawn.font.pointSizeF(), s.points),
                 qPrintable(u"%1 %2 '%3': %4 pt, %5 mm on paper, %6 mm on the canvas"_s.arg(s.face).arg(s.key)
                                .arg(s.text.left(20)).arg(got.drawn.font.pointSizeF()).arg(onPaper).arg(onCanvas)));
        QCOMPARE(meta.textWidth(meta.font({s.face, 2 * s.key * 15.0, false, s.text}), s.text), onCanvas);
    }

    // A tab is the gap the 96-dpi canvas has always shown: the run starts and the width
    // below are Qt's own layout of the whole text in the canvas font, taken once. The printer
    // and the metafile draw the runs between the tabs at the same places in mm, and every
    // surface measures the text as it draws it.
    const QString face = u"Times New Roman"_s, text = u"ab\tc\t\td"_s;
    const double want[] = {0, 38.98173192612682, 116.94519577838047}, wantWidth = 119.62518984830169;
    auto check = [&](auto &surface, double width) {
        const TextFont font = surface.font({face, width, false, text});
        surface.text(font, {30, 40}, text);
        const double perMm = surface.profile().devPerMmX;
        const QString what = u"width %1: runs %2, %3 mm wide"_s.arg(width).arg(surface.runs.size()).arg(surface.textWidth(font, text));
        QVERIFY2(surface.runs.size() == 3 && std::fabs(surface.textWidth(font, text) - wantWidth) < 0.05, qPrintable(what));
        for (std::size_t i = 0; i < 3; ++i) {
            const double at = surface.runs[i].first.x() / perMm - 30;
            QVERIFY2(std::fabs(at - want[i]) <= 1 / perMm, qPrintable(u"%1: run %2 at %3 mm, want %4"_s.arg(what).arg(i).arg(at).arg(want[i])));
        }
    };
    check(canvas, 8);
    check(printer, 8 * 6.25);
    check(meta, 8 * 15.0);
    QVERIFY(printer.finish() && meta.finish());
}

int runTextTests(int argc, char **argv)
{
    TestText tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_text.moc"
