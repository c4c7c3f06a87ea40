// The date a PDF page carries and its rewriting in a finished document: every object must
// still be found where the cross-reference table says it is.

#include "plot/pdf_date.h"
#include "support/test_files.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QtTest>

#include <ctime>

using namespace nikra;
using namespace nikra::test;

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
    void dateOfTheFilesDrawn();
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

void TestPdfDate::dateOfTheFilesDrawn()
{
    TestDir dir;
    SlotSet slots;
    slots[1].format = dir.write(QStringLiteral("f.dat"), QByteArray("f"));
    slots[1].graph = dir.write(QStringLiteral("g.dat"), QByteArray("g"));
    slots[4].comment = dir.write(QStringLiteral("c.txt"), QByteArray("c"));
    slots[5].format = dir.path(QStringLiteral("missing.dat"));
    const auto touch = [](const QString &path, qint64 seconds) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::fromMSecsSinceEpoch(seconds * 1000 + 700, Qt::UTC),
                                 QFileDevice::FileModificationTime));
    };
    touch(slots[1].format, 1600000000);
    touch(slots[1].graph, 1600000100);
    touch(slots[4].comment, 1500000000);

    const QByteArray saved = qgetenv("SOURCE_DATE_EPOCH");
    qunsetenv("SOURCE_DATE_EPOCH");
    QCOMPARE(pageDate(slots), QDateTime::fromSecsSinceEpoch(1600000100, Qt::UTC));  // whole seconds
    qputenv("SOURCE_DATE_EPOCH", "1234567890");
    QCOMPARE(pageDate(slots), QDateTime::fromSecsSinceEpoch(1234567890, Qt::UTC));
    qputenv("SOURCE_DATE_EPOCH", "soon");  // not a number: the files decide
    QCOMPARE(pageDate(slots), QDateTime::fromSecsSinceEpoch(1600000100, Qt::UTC));
    if (saved.isNull())
        qunsetenv("SOURCE_DATE_EPOCH");
    else
        qputenv("SOURCE_DATE_EPOCH", saved);
}

int runPdfDateTests(int argc, char **argv)
{
    TestPdfDate tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_pdf_date.moc"
