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
#include "support/test_files.h"

#include <QtTest>

#include <charconv>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace nikra;
using namespace nikra::test;

namespace {

// While it lives, no file of this process may grow beyond `bytes`: a write past it fails
// with EFBIG, as one on a full disk fails with ENOSPC.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit limit{bytes, old_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

mode_t modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

QList<double> readAllNumbers(const QByteArray &bytes, ReadStatus *last = nullptr)
{
    ValueReader r(std::string_view(bytes.constData(), std::size_t(bytes.size())));
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
    void decimalsAsFromChars();
    void integerKeys_data();
    void integerKeys();
    void textFields();
    void linesAndGroups();
    void encodingsAndLineEnds_data();
    void encodingsAndLineEnds();
    void decodingRule_data();
    void decodingRule();
    void wholeFileWrites();
    void wholeFileReads();
    void correctionsInOrder();
    void integerPartLimits_data();
    void integerPartLimits();
    void unreadableFixedPartStops_data();
    void unreadableFixedPartStops();
    void curveLines();
    void graphBlocks();
    void graphChecks();
    void graphLogarithms();
    void graphCountBeyondData();
    void titles();
    void pathMemory();
    void decimalPatterns();
    void shiftedRanges();
};

void TestFormats::numbers_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<int>("end");  // ReadStatus after the last value

    const int pastEnd = int(ReadStatus::PastEnd);
    const int notNumber = int(ReadStatus::NotNumber);
    QTest::newRow("commas") << QByteArray("1,2,3") << QList<double>{1, 2, 3} << pastEnd;
    QTest::newRow("blanks") << QByteArray("1 2   3") << QList<double>{1, 2, 3} << pastEnd;
    QTest::newRow("blanks around commas") << QByteArray(" 1 , 2 ,3 ") << QList<double>{1, 2, 3} << pastEnd;
    QTest::newRow("tabs") << QByteArray("1\t2") << QList<double>{1, 2} << pastEnd;
    QTest::newRow("line ends") << QByteArray("1\r\n2\r3\n4") << QList<double>{1, 2, 3, 4} << pastEnd;
    QTest::newRow("signs and forms") << QByteArray("+5, -2.5e1, .5, 5., 1E-2, -0")
                                     << QList<double>{5, -25, 0.5, 5, 0.01, 0} << pastEnd;
    QTest::newRow("empty fields read 0") << QByteArray(",,3") << QList<double>{0, 0, 3} << pastEnd;
    QTest::newRow("trailing comma then line end") << QByteArray("1,\r\n2") << QList<double>{1, 0, 2} << pastEnd;
    QTest::newRow("empty line reads 0") << QByteArray("1\r\n\r\n2") << QList<double>{1, 0, 2} << pastEnd;
    QTest::newRow("inf") << QByteArray("1, inf") << QList<double>{1} << notNumber;
    QTest::newRow("nan") << QByteArray("nan") << QList<double>{} << notNumber;
    QTest::newRow("plus inf") << QByteArray("+inf") << QList<double>{} << notNumber;
    QTest::newRow("text") << QByteArray("abc") << QList<double>{} << notNumber;
    QTest::newRow("unfinished exponent") << QByteArray("1e") << QList<double>{} << notNumber;
    QTest::newRow("two signs") << QByteArray("--1") << QList<double>{} << notNumber;
    QTest::newRow("two points") << QByteArray("1.2.3") << QList<double>{} << notNumber;
    QTest::newRow("hexadecimal") << QByteArray("0x10") << QList<double>{} << notNumber;
    QTest::newRow("digits glued to text") << QByteArray("12mm") << QList<double>{} << notNumber;
    QTest::newRow("too large") << QByteArray("1e999") << QList<double>{} << int(ReadStatus::OutOfRange);
    QTest::newRow("too small is zero") << QByteArray("1e-999, -1e-999") << QList<double>{0, 0} << pastEnd;
    QTest::newRow("fifteen digits and more")
        << QByteArray("0.123456789012345, 2.675, 1234567890123456, 9007199254740993, 0.30000000000000004")
        << QList<double>{0.123456789012345, 2.675, 1234567890123456.0, 9007199254740993.0, 0.30000000000000004}
        << pastEnd;
}

void TestFormats::decimalsAsFromChars()
{
    // Plain decimals of up to 17 digits read to the very double the standard library's
    // correctly rounded conversion gives.
    QRandomGenerator rng(3);
    for (int i = 0; i < 20000; ++i) {
        QByteArray text = QByteArray::number(rng.bounded(std::numeric_limits<qint64>::max()) % 100000000000000000LL);
        const int point = int(rng.bounded(int(text.size()) + 1));
        if (point < text.size())
            text.insert(point, '.');
        double expected = 0;
        std::from_chars(text.constData(), text.constData() + text.size(), expected);
        QCOMPARE(readAllNumbers(text), QList<double>{expected});
    }
}

void TestFormats::numbers()
{
    QFETCH(QByteArray, input);
    QFETCH(QList<double>, values);
    QFETCH(int, end);
    ReadStatus last = ReadStatus::Ok;
    QCOMPARE(readAllNumbers(input, &last), values);
    QCOMPARE(int(last), end);
}

void TestFormats::integerKeys_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("value");
    QTest::newRow("whole") << QByteArray("3") << int(ReadStatus::Ok) << 3;
    QTest::newRow("written with a fraction") << QByteArray("3.0") << int(ReadStatus::Ok) << 3;
    QTest::newRow("zero written .0") << QByteArray(".0") << int(ReadStatus::Ok) << 0;
    QTest::newRow("half to even, down") << QByteArray("2.5") << int(ReadStatus::Ok) << 2;
    QTest::newRow("half to even, up") << QByteArray("3.5") << int(ReadStatus::Ok) << 4;
    QTest::newRow("negative half") << QByteArray("-0.5") << int(ReadStatus::Ok) << 0;
    QTest::newRow("lowest") << QByteArray("-32768") << int(ReadStatus::Ok) << -32768;
    QTest::newRow("above 16 bits") << QByteArray("32768") << int(ReadStatus::OutOfRange) << 0;
    QTest::newRow("far below") << QByteArray("-1e9") << int(ReadStatus::OutOfRange) << 0;
}

void TestFormats::integerKeys()
{
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(int, value);
    ValueReader r(std::string_view(input.constData(), std::size_t(input.size())));
    std::int16_t v = 0;
    QCOMPARE(int(r.readInt16(v)), status);
    if (status == int(ReadStatus::Ok))
        QCOMPARE(int(v), value);

    // Single-precision keys refuse what a float cannot hold.
    const QByteArray big("3.5e38");
    ValueReader s(std::string_view(big.constData(), std::size_t(big.size())));
    float f = 0;
    QCOMPARE(s.readSingle(f), ReadStatus::OutOfRange);
}

void TestFormats::textFields()
{
    const QByteArray input = QByteArrayLiteral("  plain text here,\"a, b, c\" , next\r\n\"open, no close\r\n日本語ラベル\r\n\"\"\r\n");
    ValueReader r(std::string_view(input.constData(), std::size_t(input.size())));
    QString t;
    QCOMPARE(r.readText(t), ReadStatus::Ok);
    QCOMPARE(t, QStringLiteral("plain text here"));
    QCOMPARE(r.readText(t), ReadStatus::Ok);
    QCOMPARE(t, QStringLiteral("a, b, c"));  // quoted: commas kept, quotes dropped
    QCOMPARE(r.readText(t), ReadStatus::Ok);
    QCOMPARE(t, QStringLiteral("next"));
    QCOMPARE(r.readText(t), ReadStatus::Ok);
    QCOMPARE(t, QStringLiteral("open, no close"));  // an unclosed quote ends at the line end
    QCOMPARE(r.readText(t), ReadStatus::Ok);
    QCOMPARE(t, QStringLiteral("日本語ラベル"));
    QCOMPARE(r.readText(t), ReadStatus::Ok);
    QCOMPARE(t, QString());
    QCOMPARE(r.readText(t), ReadStatus::PastEnd);
}

void TestFormats::linesAndGroups()
{
    // A group may run over a line end; a skip reads to the next line end from wherever the
    // reader stands.
    const QByteArray input = QByteArrayLiteral("1, 2\r\n3, 4, 5\r\nskip me\r\n6\r\n  \r\n\r\n");
    ValueReader r(std::string_view(input.constData(), std::size_t(input.size())));
    double v = 0;
    QCOMPARE(r.readDouble(v), ReadStatus::Ok);
    QCOMPARE(r.readDouble(v), ReadStatus::Ok);
    QCOMPARE(r.line(), 2);
    QCOMPARE(r.readDouble(v), ReadStatus::Ok);
    QCOMPARE(v, 3.0);
    QVERIFY(r.skipLine());  // the rest of line 2
    QCOMPARE(r.line(), 3);
    QVERIFY(r.skipLine());
    QVERIFY(r.hasText());
    QCOMPARE(r.readDouble(v), ReadStatus::Ok);
    QCOMPARE(v, 6.0);
    QVERIFY(!r.hasText());  // only blanks and line ends remain
    QVERIFY(r.skipLine());
    QVERIFY(r.skipLine());
    QVERIFY(!r.skipLine());
}

void TestFormats::encodingsAndLineEnds_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");

    FormatFile f;
    f.line14 = QStringLiteral("5, 1, \"時間 t, 秒\"");
    f.line16 = QStringLiteral("5, 2, 変位（ｍｍ）");
    const QString crlf = f.text();
    QTest::newRow("UTF-8, CR LF") << crlf.toUtf8() << int(TextEncoding::Utf8);
    QTest::newRow("UTF-8 with BOM") << encodeText(crlf, TextEncoding::Utf8WithBom) << int(TextEncoding::Utf8WithBom);
    QTest::newRow("Shift_JIS") << encodeText(crlf, TextEncoding::ShiftJis) << int(TextEncoding::ShiftJis);
    QTest::newRow("LF") << f.text(QStringLiteral("\n")).toUtf8() << int(TextEncoding::Utf8);
    QTest::newRow("CR") << f.text(QStringLiteral("\r")).toUtf8() << int(TextEncoding::Utf8);
}

void TestFormats::encodingsAndLineEnds()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QCOMPARE(int(decodeText(bytes).encoding), encoding);
    QVERIFY(decodeText(bytes).exact);
    const ReadFormat r = readFixedPart(bytes);
    QVERIFY(r.completed);
    QVERIFY(r.messages.isEmpty());
    QCOMPARE(r.format.XWD, 100.0f);
    QCOMPARE(r.format.XLB, QStringLiteral("時間 t, 秒"));
    QCOMPARE(r.format.YLB, QStringLiteral("変位（ｍｍ）"));
    QCOMPARE(int(r.format.YLP), 2);
    // A file rewritten by the program keeps its encoding.
    QCOMPARE(encodeText(decodeText(bytes).text, decodeText(bytes).encoding), bytes);
}

void TestFormats::decodingRule_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exact");
    const QByteArray mark("\xEF\xBB\xBF");
    const QByteArray shiftJis = encodeText(QStringLiteral("変位 1, 2"), TextEncoding::ShiftJis);
    QTest::newRow("UTF-8 after a mark") << mark + QStringLiteral("変位 1, 2").toUtf8() << true;
    QTest::newRow("Shift_JIS") << shiftJis << true;
    // Not decoded as UTF-8 into U+FFFD, not read as Shift_JIS with the mark's bytes.
    QTest::newRow("Shift_JIS after a mark") << mark + shiftJis << false;
    // Neither both marks dropped nor one left before the first value.
    QTest::newRow("two marks") << mark + mark + QByteArray("3\n1,1\n") << false;
    QTest::newRow("Shift_JIS cut inside a character") << shiftJis.left(1) << false;
    QTest::newRow("neither") << QByteArray("1, 2 \x82\xFF\xFE") << false;
}

void TestFormats::decodingRule()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exact);
    QCOMPARE(decodeText(bytes).exact, exact);
    // The value readers take exactly the files the text readers take.
    QCOMPARE(toUtf8Bytes(bytes).has_value(), exact);
    if (exact)
        QCOMPARE(*toUtf8Bytes(bytes), QStringLiteral("変位 1, 2").toUtf8());
}

void TestFormats::wholeFileWrites()
{
    TestDir dir;
    const QString file = dir.write(QStringLiteral("a.dat"), QByteArray("old"));
    QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QString link = dir.path(QStringLiteral("link.dat"));
    QVERIFY(QFile::link(file, link));
    const auto entries = [&dir] {
        return QDir(dir.root()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    };
    const QStringList before = entries();

    // Through a link the file it names is replaced; it keeps its mode, the link stays a link.
    QVERIFY(writeWholeFile(link, QByteArray("new")));
    QCOMPARE(fileContents(file), QByteArray("new"));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(modeOf(file) & 0777, mode_t(0640));

    // A write the disk cannot take says why and leaves the old file and no temporary file.
    {
        FileSizeLimit full(8);
        const FileWrite w = writeWholeFile(file, QByteArray("longer than eight bytes"));
        QVERIFY(!w);
        QCOMPARE(w.failure, systemReason(EFBIG));
    }
    QCOMPARE(fileContents(file), QByteArray("new"));
    QCOMPARE(entries(), before);
    // A copy the same: whole, or the old file as it was.
    const QString source = dir.write(QStringLiteral("source"), QByteArray(3 << 20, 's'));
    {
        FileSizeLimit full(1 << 20);
        QCOMPARE(copyWholeFile(source, file).failure, systemReason(EFBIG));
    }
    QCOMPARE(fileContents(file), QByteArray("new"));
    QVERIFY(copyWholeFile(source, file));
    QCOMPARE(fileContents(file), fileContents(source));
    QCOMPARE(copyWholeFile(QStringLiteral("/dev/zero"), file).failure, messageText(Msg::NotARegularFile));

    // A pipe nobody reads is refused at once and stays a pipe; a device is written in place
    // and its failure reported; a folder is not a file.
    const QString fifo = dir.path(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(writeWholeFile(fifo, QByteArray("x")).failure, messageText(Msg::PipeWithoutReader));
    QVERIFY(S_ISFIFO(modeOf(fifo)));
    QCOMPARE(writeWholeFile(QStringLiteral("/dev/full"), QByteArray("x")).failure, systemReason(ENOSPC));
    QVERIFY(S_ISCHR(modeOf(QStringLiteral("/dev/full"))));
    QCOMPARE(writeWholeFile(dir.root(), QByteArray("x")).failure, systemReason(EISDIR));
    QCOMPARE(writeWholeFile(dir.path(QStringLiteral("no/such.dat")), QByteArray("x")).failure, systemReason(ENOENT));
}

void TestFormats::wholeFileReads()
{
    TestDir dir;
    // Nothing here may block or read without end.
    const QString fifo = dir.path(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(readWholeFile(fifo).failure, messageText(Msg::NotARegularFile));
    QCOMPARE(readWholeFile(QStringLiteral("/dev/zero")).failure, messageText(Msg::NotARegularFile));
    QCOMPARE(readWholeFile(dir.root()).failure, systemReason(EISDIR));
    QCOMPARE(readWholeFile(dir.path(QStringLiteral("none"))).failure, systemReason(ENOENT));

    const QString ten = dir.write(QStringLiteral("ten"), QByteArray("0123456789"));
    QCOMPARE(readWholeFile(ten, 10).bytes, QByteArray("0123456789"));
    QCOMPARE(readWholeFile(ten, 9).failure, messageText(Msg::FileTooLarge, {QStringLiteral("9")}));

    // A path memory file larger than any 31-line file is not one.
    QString why;
    const QString huge = dir.write(QStringLiteral("huge.pth"), QByteArray(PathMemory::kMostBytes + 1, 'a'));
    QVERIFY(!PathMemory::read(huge, &why));
    QCOMPARE(why, messageText(Msg::FileTooLarge, {QString::number(PathMemory::kMostBytes)}));
    QVERIFY(!PathMemory::read(fifo, &why));
    QCOMPARE(why, messageText(Msg::NotARegularFile));
}

void TestFormats::correctionsInOrder()
{
    FormatFile f;
    f.line4 = QStringLiteral("100, 10, 0, 2, 0, 0, 0, 9");  // XMN > XMX, XLG 2, FNT 9
    f.line6 = QStringLiteral("80, 5, -5, 3, 0");            // YMN > YMX, YLG 3
    f.line9 = QStringLiteral("0, 7, 0, 0");                 // XND 7, XDV 0
    f.line11 = QStringLiteral("0, -1, 0, 0");               // YND -1, YDV 0
    f.line14 = QStringLiteral("0, 3, x");                   // XLP 3
    f.line16 = QStringLiteral("0, -2, y");                  // YLP -2
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
    QCOMPARE(facesForFnt(9).label, QStringLiteral("ＭＳ Ｐ明朝"));
    QCOMPARE(facesForFnt(-1).comment, QStringLiteral("ＭＳ 明朝"));
    QCOMPARE(facesForFnt(6).comment, QStringLiteral("Courier New"));
}

void TestFormats::integerPartLimits_data()
{
    QTest::addColumn<QString>("line4");
    QTest::addColumn<QString>("line6");
    QTest::addColumn<QString>("line9");
    QTest::addColumn<QString>("line11");
    QTest::addColumn<QString>("message");  // empty: passes

    const QString x0 = QStringLiteral("100, 0, 10, 0, 0, 0, 0, 0");
    const QString y0 = QStringLiteral("80, 0, 10, 0, 0");
    const QString n0 = QStringLiteral("0, 0, 5, 0");
    QTest::newRow("XND 2, 99999.9 passes") << QStringLiteral("100, 99999.9, 0, 0, 0, 0, 0, 0") << y0
                                           << QStringLiteral("0, 2, 5, 0") << n0 << QString();
    QTest::newRow("XND 2, 100000 stops") << QStringLiteral("100, -100000, 0, 0, 0, 0, 0, 0") << y0
                                         << QStringLiteral("0, 2, 5, 0") << n0
                                         << formatMessage(Msg::XmnIntegerPart);
    QTest::newRow("XND 6, 9.99 passes") << QStringLiteral("100, -9.99, 9.99, 0, 0, 0, 0, 0") << y0
                                        << QStringLiteral("0, 6, 5, 0") << n0 << QString();
    QTest::newRow("XND 6, XMX 10 stops") << QStringLiteral("100, 0, 10, 0, 0, 0, 0, 0") << y0
                                         << QStringLiteral("0, 6, 5, 0") << n0
                                         << formatMessage(Msg::XmxIntegerPart);
    QTest::newRow("YMN stops") << x0 << QStringLiteral("80, -1000, 0, 0, 0") << n0
                               << QStringLiteral("0, 4, 5, 0") << formatMessage(Msg::YmnIntegerPart);
    QTest::newRow("YMX stops") << x0 << QStringLiteral("80, 0, 1e7, 0, 0") << n0 << n0
                               << formatMessage(Msg::YmxIntegerPart);
}

void TestFormats::integerPartLimits()
{
    QFETCH(QString, line4);
    QFETCH(QString, line6);
    QFETCH(QString, line9);
    QFETCH(QString, line11);
    QFETCH(QString, message);
    FormatFile f;
    f.line4 = line4;
    f.line6 = line6;
    f.line9 = line9;
    f.line11 = line11;
    const ReadFormat r = readFixedPart(f.text().toUtf8());
    QCOMPARE(r.completed, message.isEmpty());
    QCOMPARE(r.messages, message.isEmpty() ? QStringList{} : QStringList{message});
}

void TestFormats::unreadableFixedPartStops_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");

    FormatFile f;
    f.line6 = QStringLiteral("80, 0, ten, 0, 0");
    QTest::newRow("text in a number") << f.text().toUtf8()
                                      << formatMessage(Msg::FieldNotNumber, {QStringLiteral("6"), QStringLiteral("YMX")});
    f = FormatFile{};
    f.line4 = QStringLiteral("100, 0, 10, 0, 0, 0, 0, 70000");
    QTest::newRow("beyond 16 bits")
        << f.text().toUtf8()
        << formatMessage(Msg::FieldOutOfRange, {QStringLiteral("4"), QStringLiteral("FNT"), QStringLiteral("-32768～32767")});
    f = FormatFile{};
    f.line4 = QStringLiteral("100, 0, 10, 0, 0, 0, 0");  // FNT missing: the next line is read
    QTest::newRow("a short line reads on") << f.text().toUtf8()
                                           << formatMessage(Msg::FieldNotNumber, {QStringLiteral("5"), QStringLiteral("FNT")});
    QTest::newRow("ends inside line 4") << QByteArrayLiteral("t\r\ns\r\nx\r\n100, 0, 10")
                                        << formatMessage(Msg::FileEndsEarly, {QStringLiteral("4")});
    f = FormatFile{};
    const QStringList lines = f.text().split(QStringLiteral("\r\n")).mid(0, 16);
    QTest::newRow("sixteen lines") << (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8()
                                   << formatMessage(Msg::FileEndsEarly, {QStringLiteral("16")});
    QTest::newRow("empty file") << QByteArray() << formatMessage(Msg::FileEndsEarly, {QStringLiteral("0")});
}

void TestFormats::unreadableFixedPartStops()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    const ReadFormat r = readFixedPart(bytes);
    QVERIFY(!r.completed);
    QCOMPARE(r.messages, QStringList{message});
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
    QCOMPARE(int(s.PTP), 1);
    QCOMPARE(s.PSZ, 2.5f);
    QCOMPARE(int(s.LTP), 0);
    QCOMPARE(int(s.IPL), 2);
    QCOMPARE(int(s.RPS), 0);
    QCOMPARE(s.RLB, QStringLiteral("a, label"));
    QVERIFY(r.readCurveLine(s, sink));
    QCOMPARE(int(s.PTP), -7);
    QCOMPARE(int(s.IPL), -3);
    QCOMPARE(s.RLB, QStringLiteral("second"));
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
    QVERIFY(g.hasData());
    QCOMPARE(g.readBlock(b, ipl, false, false, {}), BlockStatus::Read);
    QCOMPARE(b.x, (std::vector<float>{1, 2, 3}));
    QCOMPARE(b.y, (std::vector<float>{1, 4, 9}));
    QCOMPARE(g.readBlock(b, ipl, false, false, {}), BlockStatus::Read);
    QCOMPARE(b.count(), 2);
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

void TestFormats::graphLogarithms()
{
    GraphDataReader g(QByteArrayLiteral("2\n10,1000\n0.01,0.5\n2\n1,1\n0,1\n"));
    std::int16_t ipl = 0;
    DataBlock b;
    QList<Diagnostic> got;
    auto sink = [&got](const Diagnostic &d) { got.append(d); };
    QCOMPARE(g.readBlock(b, ipl, true, true, sink), BlockStatus::Read);
    QCOMPARE(b.x, (std::vector<float>{1.0f, -2.0f}));
    QCOMPARE(b.y[0], 3.0f);
    QCOMPARE(b.y[1], float(std::log(0.5) / std::log(10.0)));
    QCOMPARE(g.readBlock(b, ipl, true, false, sink), BlockStatus::Stopped);
    QCOMPARE(got.size(), 1);
    QCOMPARE(got.first().kind, FileKind::GraphData);
    QCOMPARE(got.first().id, Msg::LogOfNonPositive);
}

void TestFormats::graphCountBeyondData()
{
    // A count of two thousand million followed by three points ends quietly and reserves
    // only what the file could hold.
    GraphDataReader g(QByteArrayLiteral("2000000000\n1,1\n2,2\n3,3\n"));
    std::int16_t ipl = 0;
    DataBlock b;
    QCOMPARE(g.readBlock(b, ipl, false, false, {}), BlockStatus::CutShort);
    QVERIFY(b.x.capacity() < 100);
    GraphDataReader tooBig(QByteArrayLiteral("3e9\n1,1\n"));
    QCOMPARE(tooBig.readBlock(b, ipl, false, false, {}), BlockStatus::Stopped);
}

void TestFormats::titles()
{
    // The 1st, 2nd and 5th are in the messages the render and check tests read.
    QCOMPARE(slotTitle(FileKind::FormatData, 3), QStringLiteral(" 3rd Format Data Error"));
    QCOMPARE(slotTitle(FileKind::CommentData, 5), QStringLiteral(" 5rd Comment Data Error"));
    QCOMPARE(slotTitle(FileKind::CommentData, 6), QStringLiteral(" 6th Comment Data Error"));
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
    QCOMPARE(m.lineCount(), 31);
    QCOMPARE(m.name(PickerKind::FormatData, 1).value(), QStringLiteral("/data/plots/f1.dat"));
    QCOMPARE(m.name(PickerKind::GraphData, 1).value(), QStringLiteral("/data/plots/g1.dat"));
    QCOMPARE(m.name(PickerKind::FormatData, 6).value(), QStringLiteral("/data/データ/f6.dat"));
    QCOMPARE(m.headerSizeIndex().value(), 3);
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

void TestFormats::decimalPatterns()
{
    // "######0.0#####", as the write-back uses it (its everyday values are in shiftedRanges):
    // a range edge that rounds to zero is written without a sign.
    QCOMPARE(formatDecimal(-2.5e-7, 1, 6, true), QStringLiteral("0.0"));
}

void TestFormats::shiftedRanges()
{
    // XDV 0 counts as one division (no NaN); a range written high to low moves the way the
    // screen moved; a file of five lines keeps five lines.
    FormatFile f;
    f.line4 = QStringLiteral("100, 10, 0, 0, 0, 0, 0, 0");
    f.line9 = QStringLiteral("0, 0, 0, 0");
    const QStringList five = f.text().split(QStringLiteral("\r\n")).mid(0, 5);
    ShiftedText out = shiftedRangesText(five.join(QStringLiteral("\n")), 1, 0);
    QCOMPARE(out.unreadableLine, 0);
    const QStringList lines = out.text.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 6);  // five lines and the final line end
    QCOMPARE(lines[3], QStringLiteral("   100.0   20.0   10.0   0.0   0.0   0.0   0.0   .0"));

    // Six decimals, rounded: a third of a division lands on 0.233333, and the values that
    // are only copied keep six decimals too (FNT, a whole number, is written as read). The
    // lines written back, values after three blanks and no commas, read as they show.
    f = FormatFile{};
    f.line4 = QStringLiteral("100, 0, 0.7, 0, 0.1234567, 0, 0, 0.7654321");
    f.line6 = QStringLiteral("80.5, -2.25, 10, 0, 12.5");
    f.line9 = QStringLiteral("0, 0, 3, 0");
    out = shiftedRangesText(f.text(), 1, 1);
    QCOMPARE(out.text.split(QStringLiteral("\r\n")).at(3),
             QStringLiteral("   100.0   0.233333   0.933333   0.0   0.123457   0.0   0.0   1.0"));
    QCOMPARE(out.text.split(QStringLiteral("\r\n")).at(5), QStringLiteral("   80.5   0.2   12.45   0.0   12.5"));
    const ReadFormat back = readFixedPart(out.text.toUtf8());
    QVERIFY(back.completed);
    QCOMPARE(back.messages, QStringList{});
    QCOMPARE((std::array{back.format.XWD, back.format.XMN, back.format.XMX, back.format.XSF}),
             (std::array{100.0f, 0.233333f, 0.933333f, 0.123457f}));
    QCOMPARE(int(back.format.FNT), 1);
    QCOMPARE((std::array{back.format.YWD, back.format.YMN, back.format.YMX, back.format.YSP}),
             (std::array{80.5f, 0.2f, 12.45f, 12.5f}));

    f = FormatFile{};
    f.line6 = QStringLiteral("80, 0, ten, 0, 0");
    QCOMPARE(shiftedRangesText(f.text(), 0, 1).unreadableLine, 6);
    f.line4 = QStringLiteral("100, 0, 3e38, 0, 0, 0, 0, 0");  // shifted beyond single precision
    f.line9 = QStringLiteral("0, 0, 1, 0");
    QCOMPARE(shiftedRangesText(f.text(), 2, 0).unreadableLine, 4);
}

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
