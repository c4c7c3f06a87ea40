// A finished PDF changed: its date rewritten, its page content replaced with the polygons
// written apart from it. Every object must still be found where the cross-reference table
// says it is. (Where the date comes from, and the whole page drawn both ways: tst_render.)

#include "output/flate.h"
#include "output/pdf_date.h"
#include "output/pdf_edit.h"
#include "output/pdf_polygons.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QtTest>

#include "support/test_files.h"

#include <ctime>
#include <functional>

using namespace nikra;

namespace {

// A small document as the PDF writer makes it, dated in the time zone `tz`; `draw` paints
// its page.
QByteArray madeIn(const char *tz, const std::function<void(QPainter &)> &draw = nullptr)
{
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", tz);
    tzset();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&out);
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::Antialiasing, false);  // as the printer surface draws
        if (draw) {
            draw(painter);
        } else {
            painter.drawText(100, 100, QStringLiteral("10"));
            painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.drawLine(0, 0, 500, 500);
        }
    }
    if (saved.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    tzset();
    return out.data();
}

// What qpdf finds wrong with a document; empty when it is sound.
QString problemsOf(const QByteArray &pdf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.pdf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return QStringLiteral("not written");
    file.close();
    return nikra::test::pdfProblems(path);
}

// Every in-use entry of the table points at the start of its object, and startxref at
// the table.
bool offsetsHold(const QByteArray &pdf)
{
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    const qsizetype xref = pdf.mid(startxref + 9).trimmed().split('\n').first().trimmed().toLongLong();
    if (!pdf.mid(xref).startsWith("xref"))
        return false;
    const QList<QByteArray> lines = pdf.mid(xref, pdf.indexOf("trailer", xref) - xref).split('\n');
    const qsizetype count = lines.at(1).split(' ').at(1).toLongLong();
    for (qsizetype object = 1; object < count; ++object) {
        const QByteArray &entry = lines.at(2 + object);
        if (!entry.contains(" n ")
            || !pdf.mid(entry.left(10).toLongLong()).startsWith(QByteArray::number(object) + " 0 obj"))
            return false;
    }
    return count > 1;
}

} // namespace

class TestPdfDocument : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stampKeepsTheTableTrue();
    void contentStreamReplaced();
    void polygonRunsTakeTheirMarksPlaces();
};

void TestPdfDocument::stampKeepsTheTableTrue()
{
    const QDateTime when = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);  // 2023-11-14 22:13:20
    // East of Greenwich the writer dates "+09'00'", six bytes longer than the UTC form.
    for (const char *tz : {"UTC0", "JST-9", "EST5"}) {
        QByteArray pdf = madeIn(tz);
        QVERIFY(offsetsHold(pdf));
        QVERIFY(stampCreationDate(pdf, when));
        QVERIFY2(pdf.contains("/CreationDate (D:20231114221320Z)"), tz);
        QVERIFY2(offsetsHold(pdf), tz);
        QCOMPARE(problemsOf(pdf), QString());
    }
    QCOMPARE(madeIn("JST-9").size() - 6, madeIn("UTC0").size());  // the writer's own forms

    // Not a document of the expected form: left as it was.
    QByteArray notPdf = "%PDF-1.4\n/CreationDate (D:2020)\nno table";
    const QByteArray before = notPdf;
    QVERIFY(!stampCreationDate(notPdf, when));
    QCOMPARE(notPdf, before);
}

void TestPdfDocument::contentStreamReplaced()
{
    QByteArray pdf = madeIn("UTC0");
    const auto place = pageContentStream(pdf);
    QVERIFY(place && place->flate);
    const auto content = inflateWhole(pdf.mid(place->dataStart, place->dataLength), 1 << 20);
    QVERIFY(content && content->contains("500 500 l"));

    // A new content of another length, a new date: both found where the table says.
    const QByteArray longer = *content + QByteArray(100000, '\n') + "0 0 m 10 10 l S\n";
    const QByteArray data = deflateFast(longer);
    const auto date = creationDateChange(pdf, QDateTime::fromSecsSinceEpoch(0, Qt::UTC));
    QVERIFY(date);
    const auto changed = changedPdf(pdf, {{place->lengthStart, place->lengthSize, QByteArray::number(data.size())},
                                          *date,
                                          {place->dataStart, place->dataLength, data}});
    QVERIFY(changed && offsetsHold(*changed));
    QCOMPARE(problemsOf(*changed), QString());
    QVERIFY(changed->contains("/CreationDate (D:19700101000000Z)"));
    const auto placed = pageContentStream(*changed);
    QVERIFY(placed);
    QCOMPARE(inflateWhole(changed->mid(placed->dataStart, placed->dataLength), 1 << 20), longer);

    // Overlapping changes, or one inside the table: nothing.
    QVERIFY(!changedPdf(pdf, {{10, 5, "x"}, {12, 5, "y"}}));
    QVERIFY(!changedPdf(pdf, {{pdf.size() - 10, 1, "x"}}));
}

void TestPdfDocument::polygonRunsTakeTheirMarksPlaces()
{
    // Two runs between painted lines: each run stands where its mark stood, in its own
    // graphics state, with colours and width set only where they change.
    PdfPolygons polygons;
    const QByteArray pdf = madeIn("UTC0", [&](QPainter &painter) {
        painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(0, 0, 111, 111);
        painter.drawPolyline(PdfPolygons::runMark().data(), 2);
        polygons.beginRun();
        const Pen thin{LineStyle::Solid, 0, QColor(0, 0, 255)};
        polygons.add({{10, 20}, {30, 20}, {20, 5}}, thin, QColor(255, 0, 0));
        polygons.add({{1, 2}, {3, 4}}, thin, QColor(255, 0, 0));
        polygons.add({{5, 6}, {7, 8}, {9, 9}}, Pen{LineStyle::None, 3, Qt::black}, QColor(128, 255, 0));
        painter.drawLine(0, 0, 222, 222);
        painter.drawPolyline(PdfPolygons::runMark().data(), 2);
        polygons.beginRun();
        polygons.add({{-4, 2147483647}, {-2147483647, 0}}, Pen{LineStyle::Solid, 2, Qt::black}, Qt::white);
    });
    const auto place = pageContentStream(pdf);
    QVERIFY(place);
    const auto content = inflateWhole(pdf.mid(place->dataStart, place->dataLength), 1 << 20);
    QVERIFY(content);
    const QByteArray run0 = "q\n1 J 1 j [] 0 d\n1 0 0 rg\n0 0 1 RG\n1 w\n"
                            "10 20 m\n30 20 l\n20 5 l\nh\nB*\n1 2 m\n3 4 l\nh\nB*\n"
                            "0.501961 1 0 rg\n5 6 m\n7 8 l\n9 9 l\nh\nf*\nQ\n";
    const QByteArray run1 = "q\n1 J 1 j [] 0 d\n1 1 1 rg\n0 0 0 RG\n2 w\n-4 2147483647 m\n-2147483647 0 l\nh\nB*\nQ\n";

    PdfPolygons copy = polygons;
    const auto spliced = copy.takeSplicedInto(*content);
    QVERIFY(spliced && copy.isEmpty());
    // The marks as the writer put them (a stroked two-point path at -0.0625, -0.125).
    const qsizetype markAt = content->indexOf("-0.0625");
    QVERIFY(markAt > content->indexOf("111 111 l") && markAt < content->indexOf("222 222 l"));
    const QByteArray mark = content->mid(markAt, content->indexOf("S\n", markAt) + 2 - markAt);
    QCOMPARE(content->count(mark), 2);
    QByteArray expected = *content;
    expected.replace(expected.indexOf(mark), mark.size(), run0);
    expected.replace(expected.indexOf(mark), mark.size(), run1);
    QCOMPARE(*spliced, expected);

    // A mark missing (or one too many): nothing, and the polygons are given up.
    copy = polygons;
    QVERIFY(!copy.takeSplicedInto(content->left(content->indexOf("222 222 l"))));
    QVERIFY(copy.isEmpty());
    copy = polygons;
    QVERIFY(!copy.takeSplicedInto(*content + *content));
}

int runPdfDocumentTests(int argc, char **argv)
{
    TestPdfDocument tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_pdf_document.moc"
