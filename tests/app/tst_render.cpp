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

bool isDark(QRgb c) { return qGray(c) < 96; }

// The one line the program writes when a page is not written: the file and the system's
// reason, and nothing else (no warnings of the libraries).
QString notWritten(const QString &path, const QString &why)
{
    return QStringLiteral("Nikra: %1 に保存できませんでした（%2）。\n").arg(path, why);
}

// The content of each page of a PDF file the program wrote: its content streams' bytes
// as they stand in the file, in page order.
QList<QByteArray> pageContents(const QByteArray &pdf)
{
    QList<QByteArray> pages;
    const QRegularExpression contents(u"/Contents \\[([^\\]]*)\\]"_s);
    for (auto page = contents.globalMatch(QString::fromLatin1(pdf)); page.hasNext();) {
        QByteArray bytes;
        for (const QString &ref : page.next().captured(1).split(u" 0 R"_s, Qt::SkipEmptyParts)) {
            const QByteArray head = '\n' + ref.trimmed().toLatin1() + " 0 obj\n<< /Length ";
            const qsizetype at = pdf.indexOf(head);
            if (ref.trimmed().isEmpty() || at < 0)
                continue;
            const qsizetype lengthAt = at + head.size();
            const qsizetype length = pdf.mid(lengthAt, pdf.indexOf(' ', lengthAt) - lengthAt).toLongLong();
            bytes += pdf.mid(pdf.indexOf("stream\n", lengthAt) + 7, length);
        }
        pages << bytes;
    }
    return pages;
}

} // namespace

class TestRender : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pngSvgAndPdfPages();
    void pdfPageLooksAsThePainterDrawsIt();
    void severalSetsMakeOnePdfPageEach();
    void messagesAndExitStatus();
    void pageNotWrittenSaysWhy();
    void highResolutionPageIsTheScreenPageEnlarged();
};

void TestRender::pngSvgAndPdfPages()
{
    // The vector pages are the same bytes on a screen of another resolution (the numbers and
    // titles are measured), and the PDF is dated by the newest file drawn, not by the clock.
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
        QCOMPARE(s.render(other, {u"--dpi"_s, u"144"_s}, env).exitCode, 0);
        QVERIFY(ending == u"png"_s || fileContents(other) == fileContents(s.dir.path(u"page."_s + ending)));
    }
    QVERIFY(fileContents(s.dir.path(u"page.pdf"_s)).contains("/CreationDate (D:20300101000000Z)"));
    env.insert(u"SOURCE_DATE_EPOCH"_s, u"1700000000"_s);
    QCOMPARE(s.render(s.dir.path(u"dated.pdf"_s), {}, env).exitCode, 0);
    QVERIFY(fileContents(s.dir.path(u"dated.pdf"_s)).contains("/CreationDate (D:20231114221320Z)"));

    // PNG: 11907 x 16840 twips at 15 twips per pixel. Left edge at rnd(25 mm * 56.69291 / 15)
    // = 94, bottom at rnd(90 mm ...) = 340; the curve at pixel row rnd(188.98) = 189, blue
    // inside the frame only (its right edge is at pixel 472).
    const QImage img(s.dir.path(u"page.png"_s));
    QCOMPARE(img.size(), QSize(794, 1123));
    QCOMPARE(qRound(img.dotsPerMeterX() * 0.0254), 96);
    QVERIFY(isDark(img.pixel(94, 200)) && !isDark(img.pixel(90, 200)) && !isDark(img.pixel(98, 200)));
    QVERIFY(isDark(img.pixel(300, 340)));
    QCOMPARE(img.pixel(300, 189), qRgb(0, 0, 255));
    QCOMPARE(img.pixel(480, 189), qRgb(255, 255, 255));

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
    QVERIFY(width.endsWith(u"mm"_s));
    QVERIFY(qAbs(width.chopped(2).toDouble() - 130.0) < 0.01);
}

void TestRender::pdfPageLooksAsThePainterDrawsIt()
{
    // The samples in slots 1 to 4; in slot 5 markers (filled and hollow, thin and thick
    // outlines) with a comment of Japanese and Latin text; in slot 6 line styles in several
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

    FormatFile markers;
    markers.line4 = u"100, 0, 10, 0, 10, 3.5, 3.5, 0"_s;
    markers.line14 = u"4.5, 1, \"時間 t (s)\""_s;
    markers.curves.clear();
    QByteArray points;
    for (int i = 0; i < 18; i += 3) {
        const int shape = (i % 9 + 1) + 10 * ((i / 9) * 2 + i % 2);
        markers.curves << u"%1, 4, %2, 6, 0, 0, 0, m"_s.arg(i < 9 ? shape : -shape).arg(i % 16);
        points += "1\r\n" + QByteArray::number(1 + (i % 6) * 1.6) + ", " + QByteArray::number(2 + (i / 6) * 3) + "\r\n";
    }
    slots[5] = {dir.write(u"markers.dat"_s, markers), dir.write(u"markers_g.dat"_s, points),
                dir.write(u"notes.txt"_s, u"コメント Comment line\r\n第二行 ABC xyz 0123\r\n"_s)};
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
    // Two saved sets, A (slot 1) and B (slot 2, other texts and markers), drawn as a PDF of
    // A, B and A again: three pages, each exactly the content of its set's own page.
    // Several sets for a PNG or SVG page, or for a check, are bad arguments.
    OneSlot a;
    FormatFile other;
    other.line16 = u"4.5, 1, 降水量 (mm)"_s;
    other.curves = QStringList{u"-3, 2, 4, 0, 0, 0, 0, curve"_s};
    nikra::PathMemory::Contents setA;
    setA.slots[1] = {a.format, a.graph, {}};
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
    QList<QByteArray> alone;
    for (const QString &set : {pthA, pthB}) {
        const QString page = a.dir.path(QFileInfo(set).baseName() + u".pdf"_s);
        QCOMPARE(render(page, {set}).exitCode, 0);
        alone += pageContents(fileContents(page));
    }
    const QString book = a.dir.path(u"book.pdf"_s);
    QCOMPARE(render(book, {pthA, pthB, pthA}).exitCode, 0);
    QVERIFY(alone[0] != alone[1]);
    QCOMPARE(pageContents(fileContents(book)), (QList<QByteArray>{alone[0], alone[1], alone[0]}));

    const QString oneSetOnly = nikra::messageText(nikra::Msg::OneSetOnly);
    const Run r = render(a.dir.path(u"two.svg"_s), {pthA, pthB});
    QVERIFY2(r.exitCode == 2 && r.err.contains(oneSetOnly), qPrintable(r.err));
    QVERIFY(!QFileInfo::exists(a.dir.path(u"two.svg"_s)));
    const Run check = runNikra({u"check"_s, u"--pth"_s, pthA, u"--pth"_s, pthB});
    QVERIFY2(check.exitCode == 2 && check.err.contains(oneSetOnly), qPrintable(check.err));
}

void TestRender::messagesAndExitStatus()
{
    // Without a runtime folder (as root, in a container or in CI) Qt says so, but standard
    // error is for the program's message lines; --verbose shows Qt's diagnostics again.
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
    Run r = runNikra(QStringList{u"render"_s, u"-o"_s, s.dir.path(u"p.png"_s), u"--verbose"_s} + slots, env);
    QCOMPARE(r.exitCode, 0);
    QVERIFY2(r.err.contains(QStringLiteral("XDG_RUNTIME_DIR")) && r.err.contains(told), qPrintable(r.err));

    // Bad arguments: exit 2 and what is wrong.
    const std::pair<QStringList, QString> bad[] = {{{u"-o"_s, s.dir.path(u"p.jpg"_s)}, u".png, .pdf or .svg"_s},
                                                   {{u"--slot"_s, u"7"_s, s.format}, u"1 to 6"_s}};
    for (const auto &[args, why] : bad) {
        r = runNikra(QStringList{u"render"_s} + args);
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
        QCOMPARE(r.err, notWritten(page, why));
    };
    for (const QString &ending : {u"pdf"_s, u"png"_s, u"svg"_s}) {
        refused(u"/no/such/folder/p."_s + ending, u"No such file or directory"_s);
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

void TestRender::highResolutionPageIsTheScreenPageEnlarged()
{
    // The sample set's page at 192 dpi, halved, is the 96-dpi page: texts, markers and dashes
    // all twice as large. Only edges may differ (a line of the finer grid can fall between
    // two coarse pixels): ink may lie a pixel or two from the other page's marks.
    TestDir out;
    QList<QImage> pages;
    for (const QString &dpi : {u"96"_s, u"192"_s}) {
        const QString page = out.path(u"page%1.png"_s.arg(dpi));
        const Run r = runNikra({u"render"_s, u"--home"_s, QStringLiteral(NIKRA_SAMPLES), u"--dpi"_s, dpi, u"-o"_s, page});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        pages.append(QImage(page).convertToFormat(QImage::Format_Grayscale8));
    }
    const QImage &screen = pages[0];
    QCOMPARE(pages[1].size(), QSize(1588, 2245));
    QCOMPARE(qRound(pages[1].dotsPerMeterX() * 0.0254), 192);
    const QImage halved = pages[1].scaled(screen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                              .convertToFormat(QImage::Format_Grayscale8);
    QImage blank(screen.size(), QImage::Format_Grayscale8);
    blank.fill(255);
    const qsizetype ink = inkAwayFrom(screen, blank, 0);
    const qsizetype lost = inkAwayFrom(screen, halved, 2), added = inkAwayFrom(halved, screen, 2);
    QVERIFY2(ink > 10000 && lost < ink / 100 && added < ink / 100,
             qPrintable(u"%1 lost, %2 added of %3"_s.arg(lost).arg(added).arg(ink)));
}

int runRenderTests(int argc, char **argv)
{
    TestRender tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_render.moc"
