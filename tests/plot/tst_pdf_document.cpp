// The PDF writer on its own: a page too large for one content piece, texts in embedded faces
// and in a face that can only be drawn as outlines, read back by the readers. (The whole
// printed page against the painter's, and several pages: tst_render.)

#include "output/pdf_document.h"
#include "output/pdf_surface.h"

#include <QBuffer>
#include <algorithm>
#include <ranges>
#include <QRegularExpression>
#include <QtTest>

#include "support/pdf_checks.h"
#include "support/test_files.h"

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

// Two pages at 600 dpi: a grid of 300 x 400 small squares in two colours (some 10 MB of
// content), and texts.
QByteArray twoPages()
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    PdfDocument document(&bytes, {u"t"_s, u"Nikra test"_s, QDateTime::fromSecsSinceEpoch(0, Qt::UTC)});
    PdfSurface surface(document, 600);
    surface.beginPage();
    for (int row = 0; row < 400; ++row) {
        for (int column = 0; column < 300; ++column) {
            const double x = 20 + column * 0.5;
            const double y = 20 + row * 0.5;
            const std::array<PagePoint, 4> corners{{{x, y}, {x + 0.3, y}, {x + 0.3, y + 0.3}, {x, y + 0.3}}};
            surface.polygon(corners, Pen{LineStyle::None, 1, Qt::black}, row % 2 ? Qt::red : Qt::blue);
        }
    }
    surface.endPage();

    surface.beginPage();
    const TextFont serif = surface.font({u"Times New Roman"_s, 62.5, false, u"Written 測定値"_s});
    surface.text(serif, {20, 20}, u"Written 測定値"_s);
    // A PostScript Type 1 face: no TrueType program to embed, so its glyphs are drawn.
    const TextFont type1 = surface.font({u"Nimbus Sans"_s, 62.5, false, u"OUTLINED"_s});
    surface.text(type1, {20, 100}, u"OUTLINED"_s);
    surface.endPage();
    return document.finish() ? bytes.data() : QByteArray();
}

// Whether a row of pixels of a grey page, or a part of it, has ink.
bool inked(const QImage &page, int y, int from = 0, int to = -1)
{
    const uchar *row = page.constScanLine(y);
    return std::any_of(row + from, row + (to < 0 ? page.width() : to), [](uchar grey) { return grey < 128; });
}

} // namespace

class TestPdfDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pagesReadBackAsDrawn();
};

void TestPdfDocument::pagesReadBackAsDrawn()
{
    const QByteArray pdf = twoPages();
    QVERIFY(!pdf.isEmpty());
    TestDir dir;
    const QString path = dir.write(u"two.pdf"_s, pdf);
    QCOMPARE(pdfProblems(path), QString());

    // The large page went out in pieces, all of them drawn down to the grid's last row
    // (220 mm, at 50 dpi about two pixels to a millimetre); the small one in one piece.
    const QRegularExpression contents(u"/Contents \\[([^\\]]*)\\]"_s);
    QList<int> pieces;
    for (auto it = contents.globalMatch(QString::fromLatin1(pdf)); it.hasNext();)
        pieces << int(it.next().captured(1).count(u" 0 R"_s));
    QVERIFY(pieces.size() == 2 && pieces[0] > 1 && pieces[1] == 1);
    const QImage grid = pdfPageImage(path, 1, 50);
    QVERIFY(inked(grid, 431) && !inked(grid, 436));
    const QImage texts = pdfPageImage(path, 2, 50);
    QVERIFY(std::ranges::any_of(std::views::iota(190, 215), [&](int y) { return inked(texts, y, 30, 160); }));  // OUTLINED

    // The embedded faces (the serif and the Japanese face it falls back on), as subsets with
    // their characters; the outlined face is none of them.
    const QString fonts = toolOutput(u"pdffonts"_s, {path});
    QCOMPARE(fonts.count(u"CID TrueType      Identity-H       yes yes yes"_s), 2);
    QVERIFY(!fonts.contains(u"Nimbus"_s));
    const QString text = toolOutput(u"pdftotext"_s, {u"-f"_s, u"2"_s, u"-l"_s, u"2"_s, path, u"-"_s});
    QVERIFY2(text.contains(u"Written 測定値"_s), qPrintable(text));
}

int runPdfDocumentTests(int argc, char **argv)
{
    TestPdfDocument tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_pdf_document.moc"
