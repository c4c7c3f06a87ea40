// "nikra render" end to end: real pages written by the program, checked for what the page
// must show (pixels of the PNG, elements of the SVG, the printed PDF page), and the
// command line's messages and exit status.

#include "formats/path_memory.h"
#include "output/page_output.h"
#include "plot/printer_surface.h"
#include "platform/program_folder.h"
#include "support/nikra_run.h"
#include "support/pdf_checks.h"
#include "support/recording_messenger.h"
#include "support/small_disk.h"
#include "support/test_files.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <QtTest>

using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

// One slot: frame 100 x 80 mm at (25, 10), x and y from 0 to 10, and a blue horizontal
// line at y = 5 across the frame and beyond it.
struct OneSlot {
    TestDir dir;
    QString format;
    QString graph;
    OneSlot()
    {
        FormatFile f;
        f.curves = QStringList{QStringLiteral("0, 0, 4, 0, 0, 0, 0, line")};
        format = dir.write(QStringLiteral("f.dat"), f);
        graph = dir.write(QStringLiteral("g.dat"), QByteArrayLiteral("2\r\n-5, 5\r\n15, 5\r\n"));
    }
    Run render(const QString &page, const QStringList &more = {},
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment()) const
    {
        return runNikra(QStringList{u"render"_s, u"-o"_s, page} + more + QStringList{u"--slot"_s, u"1"_s, format, graph}, env);
    }
};

} // namespace

class TestRender : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pngSvgAndPdfPages();
    void pdfPageLooksAsThePainterDrawsIt();
    void severalSetsMakeOnePdfPageEach();
    void messagesAndExitStatus();
    void pageNotWrittenSaysWhy();
};

void TestRender::pngSvgAndPdfPages()
{
    // On a screen of twice the resolution the vector pages are the same bytes (the numbers
    // and titles are measured) and the PNG is the same page, twice as large. The PDF is dated
    // by the newest file drawn, not by the clock.
    OneSlot s;
    QFile graph(s.graph);
    QVERIFY(graph.open(QIODevice::ReadWrite));
    QVERIFY(graph.setFileTime(QDateTime::fromSecsSinceEpoch(1893456000, Qt::UTC), QFileDevice::FileModificationTime));
    graph.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"SOURCE_DATE_EPOCH"_s);
    for (const QString &ending : {u"png"_s, u"svg"_s, u"pdf"_s}) {
        const Run r = s.render(s.dir.path(u"page."_s + ending), {}, env);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        const QString other = s.dir.path(u"other."_s + ending);
        QCOMPARE(s.render(other, {u"--dpi"_s, u"192"_s}, env).exitCode, 0);
        QVERIFY(ending == u"png"_s || fileContents(other) == fileContents(s.dir.path(u"page."_s + ending)));
    }
    QVERIFY(fileContents(s.dir.path(u"page.pdf"_s)).contains("/CreationDate (D:20300101000000Z)"));
    env.insert(u"SOURCE_DATE_EPOCH"_s, u"1700000000"_s);
    QCOMPARE(s.render(s.dir.path(u"dated.pdf"_s), {}, env).exitCode, 0);
    QVERIFY(fileContents(s.dir.path(u"dated.pdf"_s)).contains("/CreationDate (D:20231114221320Z)"));

    // PNG: 11907 x 16840 twips at 15 twips per pixel; the curve at pixel row 189, blue inside
    // the frame only (its right edge is at pixel 472). Where the canvas puts lines: tst_pass.
    const QImage img(s.dir.path(u"page.png"_s));
    QCOMPARE(img.size(), QSize(794, 1123));
    QCOMPARE(qRound(img.dotsPerMeterX() * 0.0254), 96);
    QCOMPARE(img.pixel(300, 189), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(480, 189), qRgb(255, 255, 255));
    // Halved, the 192-dpi page has its ink (texts, pens) within two pixels of this one's.
    const QImage large(s.dir.path(u"other.png"_s));
    QCOMPARE(large.size(), QSize(1588, 2245));
    QCOMPARE(qRound(large.dotsPerMeterX() * 0.0254), 192);
    const QImage screen = img.convertToFormat(QImage::Format_Grayscale8);
    const QImage halved = large.scaled(img.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_Grayscale8);
    QCOMPARE(inkAwayFrom(screen, halved, 2), 0);
    QCOMPARE(inkAwayFrom(halved, screen, 2), 0);

    // SVG, in twips: 25 mm is rnd(25 * 56.692909) = 1417, 10 mm 567, 90 mm 5102, 125 mm 7087.
    const QString svg = s.dir.path(u"page.svg"_s);
    // An attribute of the svg element, and the point lists of the polylines in file order.
    const auto svgAttribute = [&svg](const QString &name) {
        const QRegularExpression attribute(u"<svg\\b[^>]*\\s%1=\"([^\"]*)\""_s.arg(name));
        return attribute.match(QString::fromUtf8(fileContents(svg))).captured(1);
    };
    QStringList polylines;
    const QRegularExpression points(u"<polyline\\b[^>]*\\spoints=\"\\s*([^\"]*?)\\s*\""_s);
    for (auto m = points.globalMatch(QString::fromUtf8(fileContents(svg))); m.hasNext();)
        polylines << m.next().captured(1);
    QCOMPARE(svgAttribute(u"viewBox"_s), u"0 0 11907 16840"_s);
    QCOMPARE(polylines.first(), QStringLiteral("1417,567 1417,5102 7087,5102 7087,567 1417,567"));
    QVERIFY(polylines.contains(QStringLiteral("1417,2835 7087,2835")));
    QVERIFY(QSvgRenderer(svg).isValid());  // an SVG reader takes only well-formed files

    // A 130 x 80 mm selection, dragged up and to the left, is a 130 x 80 mm drawing.
    QCOMPARE(s.render(svg, {u"--select"_s, u"150,120,20,40"_s}).exitCode, 0);
    QCOMPARE(svgAttribute(u"viewBox"_s), u"1134 2268 7370 4535"_s);
    const QString width = svgAttribute(u"width"_s);
    QVERIFY2(width.endsWith(u"mm"_s) && qAbs(width.chopped(2).toDouble() - 130.0) < 0.01, qPrintable(width));
}

void TestRender::pdfPageLooksAsThePainterDrawsIt()
{
    // The samples (markers, comments) in slots 1 to 4; in slot 6 line styles in several
    // widths and a fill that the frame cuts. The program's own PDF, and the same page drawn
    // by the painter on Qt's PDF writer, rasterised at 150 dpi: no ink more than two pixels
    // from where the other has it.
    TestDir dir;
    nikra::SlotSet slots = nikra::sampleSlots(QStringLiteral(NIKRA_SAMPLES));
    nikra::ViewState view;
    RecordingMessenger messages;
    nikra::PageJob job{slots, view, messages, {}, 96};
    const auto sample = nikra::pdfPage(job);
    QVERIFY(sample && sample->size() <= 58 * 1024);  // the fonts subset to the glyphs used

    FormatFile lines;
    lines.curves = QStringList{u"0, 0, 3, 5, 0, 0, 0, fill"_s};
    QByteArray graph = "5\r\n-2, 2\r\n5, 14\r\n12, 2\r\n5, -3\r\n-2, 2\r\n";
    for (int i = 0; i < 20; i += 3) {
        lines.curves << u"0, 0, %1, %2, 0, 0, 0, l"_s.arg(i % 15 + 1).arg(i / 5 * 10 + i % 5);
        const QByteArray y = QByteArray::number(0.4 + i * 0.48);
        graph += "2\r\n0.5, " + y + "\r\n9.5, " + y + "\r\n";
    }
    slots[6] = {dir.write(u"lines.dat"_s, lines), dir.write(u"lines_g.dat"_s, graph), {}};
    const QString own = dir.path(u"own.pdf"_s);
    QCOMPARE(nikra::writePageBytes(own, nikra::pdfPage(job)).written, true);
    const QString painted = dir.path(u"painted.pdf"_s);
    {
        QPdfWriter writer(painted);
        writer.setResolution(600);
        nikra::PrinterSurface::preparePage(writer);
        QVERIFY(nikra::printPage(job, writer));
    }
    const QImage a = pdfPageImage(own, 1, 150);
    const QImage b = pdfPageImage(painted, 1, 150);
    QVERIFY(!a.isNull() && !b.isNull());
    QCOMPARE(inkAwayFrom(a, b, 2), 0);
    QCOMPARE(inkAwayFrom(b, a, 2), 0);

    QCOMPARE(pdfProblems(own), QString());
}

void TestRender::severalSetsMakeOnePdfPageEach()
{
    // Two saved sets, A (slot 1) and B (slot 2), told apart by their y titles, drawn as a PDF of A, B and
    // A again: three pages, each its set's page. Several sets for a PNG or SVG page (or a
    // check, read the same way) are bad arguments.
    OneSlot a;
    FormatFile other;
    other.line16 = u"4.5, 1, 気温 (℃)"_s;
    nikra::PathMemory::Contents setA;
    setA.slots[1] = {a.dir.write(u"a.dat"_s, other), a.graph, {}};
    other.line16 = u"4.5, 1, 降水量 (mm)"_s;
    other.curves = QStringList{u"-3, 2, 4, 0, 0, 0, 0, curve"_s};
    nikra::PathMemory::Contents setB;
    setB.slots[2] = {a.dir.write(u"b.dat"_s, other), a.graph, {}};
    const QString pthA = a.dir.path(u"A.pth"_s);
    const QString pthB = a.dir.path(u"B.pth"_s);
    QVERIFY(nikra::PathMemory::write(pthA, setA) && nikra::PathMemory::write(pthB, setB));
    const auto render = [&](const QString &page, const QStringList &sets) {
        QStringList args{u"render"_s, u"-o"_s, page};
        for (const QString &set : sets)
            args << u"--pth"_s << set;
        return runNikra(args);
    };
    const QString book = a.dir.path(u"book.pdf"_s);
    QCOMPARE(render(book, {pthA, pthB, pthA}).exitCode, 0);
    QCOMPARE(toolOutput(u"pdftotext"_s, {book, u"-"_s}).split(u'\f'),
             (QStringList{u"気温 (℃)\n\n"_s, u"降水量 (mm)\n\n"_s, u"気温 (℃)\n\n"_s, QString()}));

    const QString oneSetOnly = nikra::messageText(nikra::Msg::OneSetOnly);
    const Run r = render(a.dir.path(u"two.svg"_s), {pthA, pthB});
    QVERIFY2(r.exitCode == 2 && r.err.contains(oneSetOnly), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(a.dir.path(u"two.svg"_s)));
}

void TestRender::messagesAndExitStatus()
{
    // Without a runtime folder (as root, in a container or in CI) Qt says so, but standard
    // error is for the program's message lines.
    OneSlot s;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    const QString missing = s.dir.path(QStringLiteral("nothing.dat"));
    const QStringList slots{u"--slot"_s, u"2"_s, s.format, missing, u"--slot"_s, u"5"_s, missing};
    const QString told(u" 2nd Graph Data Error: ファイルが存在しません。ご確認ください。 \n"
                       " 5th Format Data Error: ファイルが存在しません。ご確認ください。 \n"_s);
    // The canvas pass runs first for every format, so a problem is told once, exactly.
    for (const QString &ending : {QStringLiteral("png"), QStringLiteral("pdf"), QStringLiteral("svg")}) {
        const Run r = runNikra(QStringList{u"render"_s, u"-o"_s, s.dir.path(u"p."_s + ending)} + slots, env);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, told);
    }

    // Bad arguments: exit 2 and what is wrong.
    const std::pair<QStringList, QString> bad[] = {{{u"-o"_s, s.dir.path(u"p.jpg"_s)}, u".png, .pdf or .svg"_s},
                                                   {{u"--slot"_s, u"7"_s, s.format}, u"1 to 6"_s}};
    for (const auto &[args, why] : bad) {
        const Run r = runNikra(QStringList{u"render"_s} + args);
        QVERIFY2(r.exitCode == 2 && r.err.contains(why), qPrintable(r.err));
    }
}

void TestRender::pageNotWrittenSaysWhy()
{
    // Each kind of page onto a folder that does not exist; onto a link to a device that is
    // always full (written in place, refused, and the device is still a device); onto a full
    // disk (the old page stays whole and no half-written file is left beside it).
    OneSlot s;
    const QString full = fullDevice(s.dir);
    TestDir outer;
    const SmallDisk disk(outer.path(u"disk"_s));
    const QByteArray old("the old page");
    const auto refused = [&s](const QString &page, const QString &why) {
        const Run r = s.render(page);
        QCOMPARE(r.exitCode, 1);
        // One line, the file and the system's reason, and nothing else (no library warnings).
        QCOMPARE(r.err, u"Nikra: %1 に保存できませんでした（%2）。\n"_s.arg(page, why));
    };
    refused(u"/no/such/folder/p.svg"_s, u"No such file or directory"_s);
    for (const QString &ending : {u"pdf"_s, u"png"_s, u"svg"_s}) {
        if (!full.isEmpty()) {
            const QString link = s.dir.path(u"page."_s + ending);
            QVERIFY(QFile::link(full, link));
            refused(link, u"No space left on device"_s);
            QVERIFY(QFileInfo(link).isSymLink() && !QFileInfo(full).isFile());
        }
        if (!disk.root.isEmpty()) {
            const QString page = disk.root + u"/page."_s + ending;
            QVERIFY(writeFile(page, old) && disk.fillLeaving(0));
            refused(page, u"No space left on device"_s);
            QCOMPARE(fileContents(page), old);
            QCOMPARE(entryNames(disk.root), (QStringList{u"filler"_s, QFileInfo(page).fileName()}));
            QVERIFY(QFile::remove(page) && QFile::remove(disk.filler()));
        }
    }
    if (disk.root.isEmpty())
        QSKIP("no file system of our own may be mounted here: the full disk was not tried");
}

int runRenderTests(int argc, char **argv)
{
    TestRender tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_render.moc"
