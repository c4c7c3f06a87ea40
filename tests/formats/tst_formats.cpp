// The readers of the user's files: value syntax, encodings and line ends, every check and
// fallback of a Format Data file with its message, Graph Data blocks, the path memory file;
// and the one way files are read and written, on the failures a user's machine has.

#include "formats/file_bytes.h"
#include "formats/format_data_reader.h"
#include "formats/graph_data_file.h"
#include "formats/graph_data_reader.h"
#include "formats/number_text.h"
#include "formats/path_memory.h"
#include "formats/range_writeback.h"
#include "formats/text_codec.h"
#include "formats/value_reader.h"
#include "support/recording_messenger.h"
#include "support/small_disk.h"
#include "support/test_files.h"

#include <QtTest>


using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

std::string_view view(const QByteArray &bytes) { return {bytes.constData(), std::size_t(bytes.size())}; }
// A view of a temporary would outlive its bytes.
std::string_view view(QByteArray &&) = delete;

QList<double> readAllNumbers(const QByteArray &bytes, ReadStatus *last = nullptr)
{
    ValueReader r(view(bytes));
    QList<double> values;
    for (;;) {
        double v = 0;
        const ReadStatus s = r.readDouble(v);
        if (s != ReadStatus::Ok) {
            if (last)
                *last = s;
            return values;
        }
        values.append(v);
    }
}

struct ReadFormat {
    PlotFormat format;
    QStringList messages;
    bool completed = false;  // every section of the fixed part was read
};

// Reads the fixed part the way the plot pass does, stopping where it stops.
bool readToCurveLines(FormatDataReader &r, PlotFormat &f, const DiagnosticSink &sink)
{
    return r.readXFrame(f, sink) && r.readYFrame(f, sink) && r.readXNumbers(f, sink) && r.readYNumbers(f, sink)
        && r.readXTitle(f, sink) && r.readYTitle(f, sink) && r.skipToCurveLines(sink);
}

// The fixed part of a file and the messages of slot 1.
ReadFormat readFixedPart(const QByteArray &bytes)
{
    ReadFormat out;
    FormatDataReader r(toUtf8Bytes(bytes).value_or(QByteArray()));
    out.completed = readToCurveLines(r, out.format, [&out](const Diagnostic &d) {
        out.messages.append(slotMessage(d.kind, 1, d.id, d.args));
    });
    return out;
}

QString formatMessage(Msg id, const QStringList &args = {}) { return slotMessage(FileKind::FormatData, 1, id, args); }

} // namespace

class TestFormats : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbers_data();
    void numbers();
    void integerKeys_data();
    void integerKeys();
    void textFields();
    void encodings_data();
    void encodings();
    void wholeFileReadsAndWrites();
    void correctionsInOrder();
    void fixedPartChecks_data();
    void fixedPartChecks();
    void curveLines();
    void graphBlocks();
    void graphChecks();
    void pathMemory();
    void shiftedRanges();
};

void TestFormats::numbers_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<ReadStatus>("end");  // after the last value

    QTest::newRow("delimiters") << QByteArray(" 1 , 2 ,3   4\t5\r\n6\r7\n8") << QList<double>{1, 2, 3, 4, 5, 6, 7, 8}
                                << ReadStatus::PastEnd;
    QTest::newRow("signs and forms") << QByteArray("+5, -2.5e1, .5, 5., 1E-2, -0")
                                     << QList<double>{5, -25, 0.5, 5, 0.01, 0} << ReadStatus::PastEnd;
    // Empty fields, a comma before a line end and an empty line each read 0.
    QTest::newRow("empty fields") << QByteArray(",,3,\r\n4\r\n\r\n5") << QList<double>{0, 0, 3, 0, 4, 0, 5}
                                  << ReadStatus::PastEnd;
    QTest::newRow("stops at a non-number") << QByteArray("1, inf, 2") << QList<double>{1} << ReadStatus::NotNumber;
    QTest::newRow("too large") << QByteArray("1e999") << QList<double>{} << ReadStatus::OutOfRange;
    QTest::newRow("too small is zero") << QByteArray("1e-999, -1e-999") << QList<double>{0, 0} << ReadStatus::PastEnd;
    // Correctly rounded, as far as seventeen digits.
    QTest::newRow("many digits") << QByteArray("2.675, 9007199254740993, 0.30000000000000004, 0.123456789012345")
                                 << QList<double>{2.675, 9007199254740993.0, 0.30000000000000004, 0.123456789012345}
                                 << ReadStatus::PastEnd;
}

void TestFormats::numbers()
{
    QFETCH(QByteArray, input);
    QFETCH(QList<double>, values);
    ReadStatus last = ReadStatus::Ok;
    QCOMPARE(readAllNumbers(input, &last), values);
    QTEST(last, "end");

    if (last != ReadStatus::NotNumber)
        return;
    for (const char *bad : {"nan", "1e", "--1", "1.2.3", "12mm"})
        QVERIFY2(readAllNumbers(bad, &last).isEmpty() && last == ReadStatus::NotNumber, bad);
}

void TestFormats::integerKeys_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<ReadStatus>("status");
    QTest::addColumn<int>("value");
    QTest::newRow("whole") << QByteArray("3") << ReadStatus::Ok << 3;
    QTest::newRow("half to even, down") << QByteArray("2.5") << ReadStatus::Ok << 2;
    QTest::newRow("half to even, up") << QByteArray("3.5") << ReadStatus::Ok << 4;
    QTest::newRow("lowest") << QByteArray("-32768") << ReadStatus::Ok << -32768;
    QTest::newRow("above 16 bits") << QByteArray("32768") << ReadStatus::OutOfRange << 0;
    QTest::newRow("below 16 bits") << QByteArray("-32769") << ReadStatus::OutOfRange << 0;
}

void TestFormats::integerKeys()
{
    QFETCH(QByteArray, input);
    QFETCH(ReadStatus, status);
    ValueReader r(view(input));
    std::int16_t v = 0;
    QCOMPARE(r.readInt16(v), status);
    if (status == ReadStatus::Ok)
        QTEST(int(v), "value");

    // Single-precision keys refuse what a float cannot hold.
    ValueReader s(std::string_view("3.5e38"));
    float f = 0;
    QCOMPARE(s.readSingle(f), ReadStatus::OutOfRange);
}

void TestFormats::textFields()
{
    // Quoted: commas kept, quotes dropped; an unclosed quote ends at the line end.
    const QByteArray texts = QByteArrayLiteral("  plain text here,\"a, b, c\" , next\r\n\"open, no close\r\n日本語ラベル\r\n\"\"\r\n");
    ValueReader t(view(texts));
    QString text;
    QStringList read;
    while (t.readText(text) == ReadStatus::Ok)
        read << text;
    QCOMPARE(read, (QStringList{u"plain text here"_s, u"a, b, c"_s, u"next"_s, u"open, no close"_s, u"日本語ラベル"_s, QString()}));
}

void TestFormats::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");  // -1: not decoded exactly

    FormatFile f;
    f.line14 = u"5, 1, \"時間 t, 秒\""_s;
    f.line16 = u"5, 2, 変位（ｍｍ）"_s;
    const QString crlf = f.text();
    const QByteArray shiftJis = encodeText(crlf, TextEncoding::ShiftJis);
    QTest::newRow("UTF-8, CR LF") << crlf.toUtf8() << int(TextEncoding::Utf8);
    QTest::newRow("UTF-8 with BOM") << encodeText(crlf, TextEncoding::Utf8WithBom) << int(TextEncoding::Utf8WithBom);
    QTest::newRow("Shift_JIS") << shiftJis << int(TextEncoding::ShiftJis);
    QTest::newRow("CR") << f.text(u"\r"_s).toUtf8() << int(TextEncoding::Utf8);
    // A mark before Shift_JIS bytes, and two marks: tst_file_safety, with their messages.
    QTest::newRow("neither") << QByteArray("1, 2 \x82\xFF\xFE") << -1;
}

void TestFormats::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    const DecodedText decoded = decodeText(bytes);
    QCOMPARE(decoded.exact, encoding >= 0);
    // The value readers take exactly the files the text readers take.
    QCOMPARE(toUtf8Bytes(bytes).has_value(), encoding >= 0);
    if (encoding < 0)
        return;
    QCOMPARE(int(decoded.encoding), encoding);
    const ReadFormat r = readFixedPart(bytes);
    QVERIFY(r.completed);
    QVERIFY(r.messages.isEmpty());
    QCOMPARE(r.format.XLB, u"時間 t, 秒"_s);
    QCOMPARE(r.format.YLB, u"変位（ｍｍ）"_s);
    // A file rewritten by the program keeps its encoding.
    QCOMPARE(encodeText(decoded.text, decoded.encoding), bytes);
}

void TestFormats::wholeFileReadsAndWrites()
{
    TestDir dir;
    const QString file = dir.write(u"a.dat"_s, QByteArray("old"));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QString link = dir.path(u"link.dat"_s);
    QVERIFY(QFile::link(file, link));
    const QStringList before = entryNames(dir.root());
    // Pipes and devices are refused by the commands (tst_file_safety).
    QCOMPARE(readWholeFile(dir.root()).failure, systemReason(EISDIR));
    QCOMPARE(readWholeFile(file, 3).bytes, QByteArray("old"));
    QCOMPARE(readWholeFile(file, 2).failure, messageText(Msg::FileTooLarge, {u"2"_s}));
    // A path memory file larger than any 31-line file is not one.
    QString why;
    const QString huge = dir.path(u"huge.pth"_s);
    QVERIFY(writeFile(huge, QByteArray(PathMemory::kMostBytes + 1, 'a')));
    QVERIFY(!PathMemory::read(huge, &why));
    QCOMPARE(why, messageText(Msg::FileTooLarge, {QString::number(PathMemory::kMostBytes)}));
    QVERIFY(QFile::remove(huge));

    // Through a link the file it names is replaced; it keeps its mode, the link stays a link.
    QVERIFY(writeWholeFile(link, QByteArray("new")));
    QCOMPARE(fileContents(file), QByteArray("new"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(modeOf(file) & 0777, 0640u);

    // A write the disk cannot take says why and leaves the old file and no temporary file;
    // a copy the same: whole, or the old file as it was.
    const QString source = dir.write(u"source"_s, QByteArray(3 << 20, 's'));
    FileWrite written, copied;
    {
        FileSizeLimit full(1 << 20);  // checked after it ends, so that a failure can be logged to a file
        written = writeWholeFile(file, QByteArray(2 << 20, 'n'));
        copied = copyWholeFile(source, file);
    }
    QCOMPARE(written.failure, systemReason(EFBIG));
    QCOMPARE(copied.failure, systemReason(EFBIG));
    QCOMPARE(fileContents(file), QByteArray("new"));
    QCOMPARE(entryNames(dir.root()), QStringList(before + QStringList{u"source"_s}));
    QVERIFY(copyWholeFile(source, file));
    QCOMPARE(fileContents(file), fileContents(source));
    QCOMPARE(copyWholeFile(u"/dev/zero"_s, file).failure, messageText(Msg::NotARegularFile));
    QCOMPARE(writeWholeFile(dir.root(), QByteArray("x")).failure, systemReason(EISDIR));
}

void TestFormats::correctionsInOrder()
{
    FormatFile f;
    f.line4 = u"100, 10, 0, 2, 0, 0, 0, 9"_s;  // XMN > XMX, XLG 2, FNT 9
    f.line6 = u"80, 5, -5, 3, 0"_s;            // YMN > YMX, YLG 3
    f.line9 = u"0, 7, 0, 0"_s;                 // XND 7, XDV 0
    f.line11 = u"0, -1, 0, 0"_s;               // YND -1, YDV 0
    f.line14 = u"0, 3, x"_s;                   // XLP 3
    f.line16 = u"0, -2, y"_s;                  // YLP -2
    const ReadFormat r = readFixedPart(f.text().toUtf8());
    QVERIFY(r.completed);
    const QStringList expected{
        formatMessage(Msg::XlgChoice), formatMessage(Msg::FntRange), formatMessage(Msg::YlgChoice),
        formatMessage(Msg::XndRange),  formatMessage(Msg::XdvZero),  formatMessage(Msg::YndRange),
        formatMessage(Msg::YdvZero),   formatMessage(Msg::XlpChoice), formatMessage(Msg::YlpChoice),
    };
    QCOMPARE(r.messages, expected);
    const PlotFormat &p = r.format;
    QCOMPARE((std::array{p.XMN, p.XMX, p.YMN, p.YMX, p.XDV, p.YDV}), (std::array{0.0f, 10.0f, -5.0f, 5.0f, 1.0f, 1.0f}));
    QCOMPARE((std::array{int(p.XLG), int(p.FNT), int(p.YLG), int(p.XND), int(p.YND), int(p.XLP), int(p.YLP)}),
             (std::array{0, 0, 0, 0, 0, 1, 1}));
}

void TestFormats::fixedPartChecks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");  // empty: the fixed part is read without a word

    // A file whose lines 4, 6, 9 and 11 are these (the defaults where empty).
    const auto file = [](const QString &line4, const QString &line6, const QString &line9 = {},
                         const QString &line11 = {}) {
        FormatFile f;
        for (auto [line, value] : {std::pair{&f.line4, line4}, {&f.line6, line6}, {&f.line9, line9}, {&f.line11, line11}})
            *line = value.isEmpty() ? *line : value;
        return f.text().toUtf8();
    };
    // The integer part of a range edge must fit the digits the decimals leave.
    QTest::newRow("XND 2, 99999.9 passes") << file(u"100, 99999.9, 0, 0, 0, 0, 0, 0"_s, {}, u"0, 2, 5, 0"_s) << QString();
    QTest::newRow("XND 2, 100000 stops") << file(u"100, -100000, 0, 0, 0, 0, 0, 0"_s, {}, u"0, 2, 5, 0"_s)
                                         << formatMessage(Msg::XmnIntegerPart);
    QTest::newRow("YMX stops") << file({}, u"80, 0, 1e7, 0, 0"_s) << formatMessage(Msg::YmxIntegerPart);

    // Values that cannot be read stop the slot, naming the line and the key.
    QTest::newRow("text in a number") << file({}, u"80, 0, ten, 0, 0"_s)
                                      << formatMessage(Msg::FieldNotNumber, {u"6"_s, u"YMX"_s});
    QTest::newRow("beyond 16 bits") << file(u"100, 0, 10, 0, 0, 0, 0, 70000"_s, {})
                                    << formatMessage(Msg::FieldOutOfRange, {u"4"_s, u"FNT"_s, u"-32768～32767"_s});
    // FNT missing: the next line is read.
    QTest::newRow("a short line reads on") << file(u"100, 0, 10, 0, 0, 0, 0"_s, {})
                                           << formatMessage(Msg::FieldNotNumber, {u"5"_s, u"FNT"_s});
    const QStringList lines = FormatFile{}.text().split(u"\r\n"_s).mid(0, 16);
    QTest::newRow("sixteen lines") << (lines.join(u"\r\n"_s) + u"\r\n"_s).toUtf8()
                                   << formatMessage(Msg::FileEndsEarly, {u"16"_s});
}

void TestFormats::fixedPartChecks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const ReadFormat r = readFixedPart(bytes);
    QCOMPARE(r.completed, message.isEmpty());
    QCOMPARE(r.messages, message.isEmpty() ? QStringList{} : QStringList{message});
}

void TestFormats::curveLines()
{
    FormatFile f;
    f.curves = QStringList{QStringLiteral("1, 2.5, 4, -3, 2, 5, 10, \"a, label\""),
                           QStringLiteral("-7, 0, 1, 21, -3, 2, 0, second")};
    FormatDataReader r(f.text().toUtf8());
    QStringList messages;
    auto sink = [&messages](const Diagnostic &d) { messages.append(slotMessage(d.kind, 2, d.id)); };
    PlotFormat p;
    QVERIFY(readToCurveLines(r, p, sink));
    CurveStyle s;
    QVERIFY(r.hasCurveLine());
    QVERIFY(r.readCurveLine(s, sink));
    QCOMPARE(messages, (QStringList{slotMessage(FileKind::FormatData, 2, Msg::LtpNegative),
                                    slotMessage(FileKind::FormatData, 2, Msg::RpsChoice)}));
    QCOMPARE(s.PSZ, 2.5f);
    QCOMPARE((std::array{int(s.PTP), int(s.LTP), int(s.IPL), int(s.RPS)}), (std::array{1, 0, 2, 0}));
    QCOMPARE(s.RLB, u"a, label"_s);
    QVERIFY(r.readCurveLine(s, sink));
    QVERIFY(!r.hasCurveLine());

    // A curve line that cannot be read ends the slot quietly.
    f.curves = QStringList{QStringLiteral("1, 2, x, 0, 0, 0, 0, bad")};
    FormatDataReader bad(f.text().toUtf8());
    messages.clear();
    QVERIFY(readToCurveLines(bad, p, sink));
    QVERIFY(!bad.readCurveLine(s, sink));
    QVERIFY(messages.isEmpty());
}

void TestFormats::graphBlocks()
{
    // Counts written with a fraction, values by commas, blanks or line ends, a second block,
    // then a count of 0 that ends the data.
    GraphDataReader g(QByteArrayLiteral("3.0\r\n1,1\r\n2 4\r\n3\r\n9\r\n2\r\n5, 1, 6, 2\r\n0\r\n7,7\r\n"));
    std::int16_t ipl = 0;
    DataBlock b;
    QCOMPARE(g.readBlock(b, ipl, false, false, {}), BlockStatus::Read);
    QCOMPARE(b.x, (std::vector<float>{1, 2, 3}));
    QCOMPARE(b.y, (std::vector<float>{1, 4, 9}));
    QCOMPARE(g.readBlock(b, ipl, false, false, {}), BlockStatus::Read);
    QCOMPARE(b.y, (std::vector<float>{1, 2}));
    QCOMPARE(g.readBlock(b, ipl, false, false, {}), BlockStatus::EndOfData);

    // A missing value at the end cuts the block short (the whole points kept, the count
    // told); text where a value belongs stops it.
    GraphDataReader shortFile(QByteArrayLiteral("2\n1,1\n2\n"));
    QCOMPARE(shortFile.readBlock(b, ipl, false, false, {}), BlockStatus::CutShort);
    QCOMPARE(b.count(), 1);
    QCOMPARE(shortFile.blockCount(), 2);
    GraphDataReader textFile(QByteArrayLiteral("2\n1,1\n2,x\n"));
    QCOMPARE(textFile.readBlock(b, ipl, false, false, {}), BlockStatus::Stopped);
    // A count of two thousand million before three points ends quietly and reserves only what
    // the file could hold; a count beyond that stops.
    GraphDataReader huge(QByteArrayLiteral("2000000000\n1,1\n2,2\n3,3\n"));
    QCOMPARE(huge.readBlock(b, ipl, false, false, {}), BlockStatus::CutShort);
    QVERIFY(b.x.capacity() < 100);
    GraphDataReader tooBig(QByteArrayLiteral("3e9\n1,1\n"));
    QCOMPARE(tooBig.readBlock(b, ipl, false, false, {}), BlockStatus::Stopped);
    // On logarithmic axes the values are their logarithms; a logarithm of zero stops the block
    // (its message: tst_pass).
    GraphDataReader logs(QByteArrayLiteral("2\n10,1000\n0.01,0.5\n2\n1,1\n0,1\n"));
    QCOMPARE(logs.readBlock(b, ipl, true, true, {}), BlockStatus::Read);
    QCOMPARE(b.x, (std::vector<float>{1.0f, -2.0f}));
    QCOMPARE(b.y, (std::vector<float>{3.0f, float(std::log(0.5) / std::log(10.0))}));
    QCOMPARE(logs.readBlock(b, ipl, true, false, {}), BlockStatus::Stopped);
    // Blank lines after the last block are no data.
    GraphDataReader trailing(*toUtf8Bytes(QByteArrayLiteral("\xEF\xBB\xBF" "1\n1,1\n\n  \n")));
    QCOMPARE(trailing.readBlock(b, ipl, false, false, {}), BlockStatus::Read);
    QVERIFY(!trailing.hasData());

    // A file read in pieces that shrinks after it was opened ends where it now ends.
    TestDir dir;
    const QString path = dir.write(QStringLiteral("g.dat"), QByteArray("3\n1,1\n2,2\n3,3\n"));
    GraphDataFile file;
    QCOMPARE(file.open(path, 4), GraphDataFile::Opened::Yes);
    QVERIFY(QFile::resize(path, 9));
    GraphDataReader shrunk(file);
    QCOMPARE(shrunk.readBlock(b, ipl, false, false, {}), BlockStatus::CutShort);
    QCOMPARE(b.x, (std::vector<float>{1, 2}));
    QVERIFY(!shrunk.hasData());
}

void TestFormats::graphChecks()
{
    struct Case {
        const char *data;
        int ipl;
        int iplAfter;
        QList<Msg> messages;
    };
    const Case cases[] = {
        {"3\n1,0\n2,0\n2,0\n", 3, 0, {Msg::DivideByZero}},           // equal x; the order check is skipped
        {"3\n1,0\n3,0\n2,0\n", 3, 0, {Msg::XNotMonotonic}},
        {"3\n3,0\n2,0\n1,0\n", 2, 2, {}},                            // descending is fine
        {"4\n1,0\n1,0\n0,0\n5,0\n", -2, 0, {Msg::DivideByZero}},     // only the first check fires
        {"3\n1,0\n3,0\n2,0\n", 0, 0, {}},                            // no checks without fitting
        // The order product is taken in single precision: differences of 1e-30 multiply to
        // zero there, so no message.
        {"3\n1e-30,0\n2e-30,0\n1e-30,0\n", 1, 1, {}},
    };
    for (const Case &c : cases) {
        GraphDataReader g(QByteArray(c.data));
        std::int16_t ipl = std::int16_t(c.ipl);
        QList<Msg> got;
        QList<FileKind> kinds;
        DataBlock b;
        QCOMPARE(g.readBlock(b, ipl, false, false, [&](const Diagnostic &d) {
            got.append(d.id);
            kinds.append(d.kind);
        }), BlockStatus::Read);
        QCOMPARE(got, c.messages);
        QCOMPARE(int(ipl), c.iplAfter);
        for (FileKind k : kinds)
            QCOMPARE(k, FileKind::FormatData);  // the IPL messages carry the Format Data title
    }
}

void TestFormats::pathMemory()
{
    PathMemory::Contents c;
    c.pickers[0] = {QStringLiteral("/"), QStringLiteral("/data/plots"), QStringLiteral("*.dat")};
    c.pickers[2] = {QStringLiteral("/"), QStringLiteral("/data/comments"), QStringLiteral("*.txt")};
    c.slots[1] = {QStringLiteral("/data/plots/f1.dat"), QStringLiteral("/data/plots/g1.dat"), QString()};
    c.slots[6].format = QStringLiteral("/data/データ/f6.dat");
    c.headerText = QStringLiteral("見出し");
    c.headerFontIndex = 0;
    c.headerSizeIndex = 3;
    c.headerAlignIndex = -1;
    const QString text = PathMemory::compose(c);
    QVERIFY(text.endsWith(QStringLiteral("見出し\r\n 0 \r\n 3 \r\n-1 \r\n")));

    const PathMemory m = PathMemory::fromText(text);
    QCOMPARE(m.name(PickerKind::FormatData, 6).value(), QStringLiteral("/data/データ/f6.dat"));
    QCOMPARE(m.headerAlignIndex().value(), -1);
    // A file of 20 lines ends with the Comment Data picker's folder: nothing after it is read.
    const PathMemory shortFile = PathMemory::fromText(text.split(QStringLiteral("\r\n")).mid(0, 20).join(u'\n'));
    QCOMPARE(shortFile.lineCount(), 20);
    QVERIFY(shortFile.pickerFolder(PickerKind::CommentData) && !shortFile.pickerPattern(PickerKind::CommentData));
    QVERIFY(!shortFile.headerText());

    TestDir dir;
    const QString path = dir.path(QStringLiteral("Nikra.pth"));
    QVERIFY(PathMemory::write(path, c));
    QCOMPARE(PathMemory::read(path)->headerText().value(), QStringLiteral("見出し"));
    QVERIFY(!PathMemory::read(dir.write(QStringLiteral("empty.pth"), QByteArray())).has_value());
}

void TestFormats::shiftedRanges()
{
    // XDV 0 counts as one division (no NaN); a range written high to low moves the way the
    // screen moved; a file of five lines keeps five lines.
    FormatFile f;
    f.line4 = u"100, 10, 0, 0, 0, 0, 0, 0"_s;
    f.line9 = u"0, 0, 0, 0"_s;
    const QStringList five = f.text().split(u"\r\n"_s).mid(0, 5);
    ShiftedText out = shiftedRangesText(five.join(u"\n"_s), 1, 0);
    QCOMPARE(out.unreadableLine, 0);
    const QStringList lines = out.text.split(u"\r\n"_s);
    QCOMPARE(lines.size(), 6);  // five lines and the final line end
    QCOMPARE(lines[3], u"   100.0   20.0   10.0   0.0   0.0   0.0   0.0   .0"_s);

    // Six decimals, rounded: a third of a division lands on 0.233333, and the values that
    // are only copied keep six decimals too (FNT, a whole number, is written as read), in a
    // form the readers take (values after three blanks, no commas, ".0").
    f = FormatFile{};
    f.line4 = u"100, 0, 0.7, 0, 0.1234567, 0, 0, 0.7654321"_s;
    f.line6 = u"80.5, -2.25, 10, 0, 12.5"_s;
    f.line9 = u"0, 0, 3, 0"_s;
    out = shiftedRangesText(f.text(), 1, 1);
    QCOMPARE(out.text.split(u"\r\n"_s).at(3), u"   100.0   0.233333   0.933333   0.0   0.123457   0.0   0.0   1.0"_s);
    QCOMPARE(out.text.split(u"\r\n"_s).at(5), u"   80.5   0.2   12.45   0.0   12.5"_s);
    // A range edge that rounds to zero is written without a sign.
    QCOMPARE(formatDecimal(-2.5e-7, 1, 6, true), u"0.0"_s);

    f = FormatFile{};
    f.line4 = u"100, 0, 3e38, 0, 0, 0, 0, 0"_s;  // shifted beyond single precision
    f.line9 = u"0, 0, 1, 0"_s;
    QCOMPARE(shiftedRangesText(f.text(), 2, 0).unreadableLine, 4);
}

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
