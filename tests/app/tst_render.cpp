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
#include <QPainter>
#include <QPdfWriter>
#include <QSvgRenderer>
#include <QThread>
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

// A printed or rasterised A4 page at ten pixels a millimetre: the frame's left edge, 25 mm
// from the paper's edge, is at column 250; the blue curve 50 mm down at row 500.
void checkPageAtTenPixelsAMillimetre(const QImage &img)
{
    QVERIFY(qAbs(img.width() - 2100) <= 1 && qAbs(img.height() - 2970) <= 1);
    QVERIFY(isDark(img.pixel(250, 400)));
    QVERIFY(!isDark(img.pixel(246, 400)));
    QVERIFY(!isDark(img.pixel(254, 400)));
    auto blue = [&img](int y) { return qBlue(img.pixel(700, y)) > qRed(img.pixel(700, y)) + 40; };
    QVERIFY(blue(499) || blue(500) || blue(501));  // a 4-twip line, smoothed by the SVG reader
    QVERIFY(!blue(490) && !blue(505) && !blue(510) && !isDark(img.pixel(700, 505)));
}

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
    void pngSvgAndPdfShowTheFrameAndCurve();
    void pdfPageLooksAsThePainterDrawsIt();
    void vectorPagesAreTheSameOnEveryRun();
    void severalSetsMakeOnePdfPageEach();
    void messagesAndExitStatus();
    void pageNotWrittenSaysWhy();
    void highResolutionPageIsTheScreenPageEnlarged();
};

void TestRender::pngSvgAndPdfShowTheFrameAndCurve()
{
    OneSlot s;
    for (const QString &ending : {u"png"_s, u"svg"_s, u"pdf"_s}) {
        const Run r = s.render(s.dir.path(u"page."_s + ending));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
    }

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
    QCOMPARE(img.pixel(80, 189), qRgb(255, 255, 255));

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
    // Drawn back by an SVG reader (which takes only well-formed files), it is the page the
    // printer prints.
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QImage drawn(2100, 2970, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        QPainter painter(&drawn);
        renderer.render(&painter);
    }
    checkPageAtTenPixelsAMillimetre(drawn);

    // PDF: a sound A4 page (its size at 254 dpi), in colour.
    const QString pdf = s.dir.path(u"page.pdf"_s);
    QCOMPARE(pdfProblems(pdf), QString());
    QCOMPARE(toolOutput(u"pdftoppm"_s, {u"-r"_s, u"254"_s, u"-png"_s, u"-singlefile"_s, pdf, s.dir.path(u"printed"_s)}),
             QString());
    checkPageAtTenPixelsAMillimetre(QImage(s.dir.path(u"printed.png"_s)));

    // A 130 x 80 mm selection, dragged up and to the left, is a 130 x 80 mm drawing.
    QCOMPARE(s.render(svg, {u"--select"_s, u"150,120,20,40"_s}).exitCode, 0);
    QCOMPARE(svgAttribute(u"viewBox"_s), u"1134 2268 7370 4535"_s);
    const QString width = svgAttribute(u"width"_s);
    QVERIFY(width.endsWith(u"mm"_s));
    QVERIFY(qAbs(width.chopped(2).toDouble() - 130.0) < 0.01);
}

void TestRender::pdfPageLooksAsThePainterDrawsIt()
{
    // The samples in slots 1 to 4; in slot 5 all eighteen marker shapes (filled and hollow,
    // thin to thick outlines) with a comment of Japanese and Latin text; in slot 6 every
    // line style in every width and a fill that the frame cuts. The program's own PDF, and
    // the same page drawn by the painter on Qt's PDF writer, rasterised at 150 dpi: no ink
    // more than two pixels from where the other has it. Every reader takes the file
    // without a word, every font is embedded as a subset with its characters, and the
    // texts can be found.
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
    for (int i = 0; i < 18; ++i) {
        const int shape = (i % 9 + 1) + 10 * ((i / 9) * 2 + i % 2);
        markers.curves << u"%1, 4, %2, 6, 0, 0, 0, m"_s.arg(i < 9 ? shape : -shape).arg(i % 16);
        points += "1\r\n" + QByteArray::number(1 + (i % 6) * 1.6) + ", " + QByteArray::number(2 + (i / 6) * 3) + "\r\n";
    }
    slots[5] = {dir.write(u"markers.dat"_s, markers), dir.write(u"markers_g.dat"_s, points),
                dir.write(u"notes.txt"_s, u"コメント Comment line\r\n第二行 ABC xyz 0123\r\n"_s)};
    FormatFile lines;
    lines.curves = QStringList{u"0, 0, 3, 5, 0, 0, 0, fill"_s};
    QByteArray graph = "5\r\n-2, 2\r\n5, 14\r\n12, 2\r\n5, -3\r\n-2, 2\r\n";
    for (int i = 0; i < 20; ++i) {
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
    QCOMPARE(toolOutput(u"mutool"_s, {u"draw"_s, u"-q"_s, u"-o"_s, dir.path(u"m.png"_s), own})
                 .remove(u"warning: ICC support is not available\n"_s),  // the tool's own build
             QString());
    QCOMPARE(toolOutput(u"gs"_s, {u"-q"_s, u"-o"_s, u"/dev/null"_s, u"-sDEVICE=nullpage"_s, own}), QString());
    QCOMPARE(toolOutput(u"pdftoppm"_s, {u"-r"_s, u"20"_s, own, dir.path(u"p"_s)}), QString());
    const QStringList fonts = toolOutput(u"pdffonts"_s, {own}).split(u'\n', Qt::SkipEmptyParts).mid(2);
    QVERIFY(fonts.size() >= 4);
    for (const QString &font : fonts)
        QVERIFY2(font.contains(QRegularExpression(u"^[A-Z]{6}\\+\\S+ +CID TrueType +Identity-H +yes yes yes "_s)),
                 qPrintable(font));
    const QString text = toolOutput(u"pdftotext"_s, {own, u"-"_s});
    for (const QString &shown : {u"変位 x (mm)"_s, u"Frequency f (Hz)"_s, u"気温 (℃)"_s, u"第二行 ABC xyz 0123"_s})
        QVERIFY2(text.contains(shown), qPrintable(shown));
}

void TestRender::vectorPagesAreTheSameOnEveryRun()
{
    // The same files give the same bytes a second later and on a screen of another
    // resolution; the PDF is dated by the newest file drawn.
    OneSlot s;
    FormatFile f;  // numbers, titles and a log axis: texts measured and drawn; markers
    f.line6 = QStringLiteral("80, -4, 1, 1, 0");
    f.curves = QStringList{QStringLiteral("-3, 2, 4, 0, 0, 0, 0, curve")};
    f.line9 = QStringLiteral("4, 1, 5, 0");
    f.line11 = QStringLiteral("4, 0, 5, 0");
    f.line14 = QStringLiteral("4.5, 1, Frequency f (Hz)");
    f.line16 = QStringLiteral("4.5, 1, 降水量 (mm)");
    s.format = s.dir.write(QStringLiteral("f.dat"), f);
    s.graph = s.dir.write(QStringLiteral("g.dat"), QByteArrayLiteral("3\r\n2, 5\r\n5, 0.1\r\n8, 0.5\r\n"));
    QFile graph(s.graph);
    QVERIFY(graph.open(QIODevice::ReadWrite));
    QVERIFY(graph.setFileTime(QDateTime::fromSecsSinceEpoch(1893456000, Qt::UTC),  // 2030-01-01
                              QFileDevice::FileModificationTime));
    graph.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("SOURCE_DATE_EPOCH"));
    for (const QString &ending : {QStringLiteral(".pdf"), QStringLiteral(".svg")}) {
        const QString first = s.dir.path(QStringLiteral("first") + ending);
        const QString second = s.dir.path(QStringLiteral("second") + ending);
        QCOMPARE(s.render(first, {}, env).exitCode, 0);
        QThread::msleep(1100);
        QCOMPARE(s.render(second, {u"--dpi"_s, u"144"_s}, env).exitCode, 0);
        QVERIFY(!fileContents(first).isEmpty());
        QVERIFY2(fileContents(first) == fileContents(second), qPrintable(ending));
    }
    QVERIFY(fileContents(s.dir.path(QStringLiteral("first.pdf"))).contains("/CreationDate (D:20300101000000Z)"));

    env.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1700000000"));
    const QString dated = s.dir.path(QStringLiteral("dated.pdf"));
    QCOMPARE(s.render(dated, {}, env).exitCode, 0);
    QVERIFY(fileContents(dated).contains("/CreationDate (D:20231114221320Z)"));
    QCOMPARE(pdfProblems(dated), QString());
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
    QCOMPARE(alone.size(), 2);
    QVERIFY(alone[0] != alone[1]);
    QCOMPARE(pageContents(fileContents(book)), (QList<QByteArray>{alone[0], alone[1], alone[0]}));
    QCOMPARE(pdfProblems(book), QString());

    const QString oneSetOnly = nikra::messageText(nikra::Msg::OneSetOnly);
    for (const QString &page : {a.dir.path(u"two.png"_s), a.dir.path(u"two.svg"_s)}) {
        const Run r = render(page, {pthA, pthB});
        QVERIFY2(r.exitCode == 2 && r.err.contains(oneSetOnly), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(page));
    }
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
    r = runNikra({QStringLiteral("render"), QStringLiteral("--help")});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.out.contains(QStringLiteral("--slot N FORMAT")));
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
    // The sample set beside the program draws without a single message, and its page at
    // 192 dpi, halved, is the 96-dpi page: texts, pens, markers and dashes all twice as
    // large. Only edges may differ (a line of the finer grid can fall between two coarse
    // pixels, small text is smoothed differently): ink may lie a pixel or two from the other
    // page's marks, and the pages are as dark as each other.
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
    qint64 ink = 0, screenDark = 0, halvedDark = 0;
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            ink += screen.constScanLine(y)[x] < 128;
            screenDark += 255 - screen.constScanLine(y)[x];
            halvedDark += 255 - halved.constScanLine(y)[x];
        }
    }
    QVERIFY(ink > 10000);
    const qsizetype lost = inkAwayFrom(screen, halved, 2), added = inkAwayFrom(halved, screen, 2);
    QVERIFY2(lost < ink / 100 && added < ink / 100, qPrintable(u"%1 lost, %2 added of %3"_s.arg(lost).arg(added).arg(ink)));
    QVERIFY2(std::abs(halvedDark - screenDark) < screenDark / 10,
             qPrintable(QStringLiteral("darkness %1 against %2").arg(halvedDark).arg(screenDark)));
}

int runRenderTests(int argc, char **argv)
{
    TestRender tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_render.moc"
