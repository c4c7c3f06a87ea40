// The date of a finished PDF rewritten: every object must still be found where the
// cross-reference table says it is. (Where the date comes from: tst_render.)

#include "plot/pdf_date.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QtTest>

#include <ctime>

using namespace nikra;

namespace {

// A small document as the PDF writer makes it, dated in the time zone `tz`.
QByteArray madeIn(const char *tz)
{
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", tz);
    tzset();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&out);
        QPainter painter(&writer);
        painter.drawText(100, 100, QStringLiteral("10"));
        painter.drawLine(0, 0, 500, 500);
    }
    if (saved.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", saved);
    tzset();
    return out.data();
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

class TestPdfDate : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stampKeepsTheTableTrue();
};

void TestPdfDate::stampKeepsTheTableTrue()
{
    const QDateTime when = QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC);  // 2023-11-14 22:13:20
    // East of Greenwich the writer dates "+09'00'", six bytes longer than the UTC form.
    for (const char *tz : {"UTC0", "JST-9", "EST5"}) {
        QByteArray pdf = madeIn(tz);
        QVERIFY(offsetsHold(pdf));
        QVERIFY(stampCreationDate(pdf, when));
        QVERIFY2(pdf.contains("/CreationDate (D:20231114221320Z)"), tz);
        QVERIFY2(offsetsHold(pdf), tz);
    }
    QCOMPARE(madeIn("JST-9").size() - 6, madeIn("UTC0").size());  // the writer's own forms

    // Not a document of the expected form: left as it was.
    QByteArray notPdf = "%PDF-1.4\n/CreationDate (D:2020)\nno table";
    const QByteArray before = notPdf;
    QVERIFY(!stampCreationDate(notPdf, when));
    QCOMPARE(notPdf, before);
}

int runPdfDateTests(int argc, char **argv)
{
    TestPdfDate tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_pdf_date.moc"
