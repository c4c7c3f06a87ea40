// The conversion: its three layouts on small tables and blocks, the number texts read back
// through the plot's reader, the output name, "nikra convert", and the window.

#include "app/main_window.h"
#include "formats/graph_data_reader.h"
#include "support/nikra_run.h"
#include "support/program_under_test.h"
#include "support/small_disk.h"
#include "tools/conversion.h"
#include "tools/conversion_input.h"
#include "tools/conversion_window.h"
#include "tools/single_precision_text.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <bit>
#include <cmath>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

QByteArray converted(ConversionMode mode, const QByteArray &input, const ConversionLimits &limits = {})
{
    const ConvertedData d = convertData(mode, input, limits);
    if (d.hasProblem)
        return "problem " + QByteArray::number(int(d.problem.id)) + " line " + QByteArray::number(d.problem.line);
    return QByteArray::fromStdString(d.text);
}

QByteArray problemOf(Msg id, int line = 0)
{
    return "problem " + QByteArray::number(int(id)) + " line " + QByteArray::number(line);
}

Run runConvert(const QStringList &args) { return runNikra(QStringList{u"convert"_s} + args); }

class ConversionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numberTexts_data();
    void numberTexts();
    void numberTextsReadBackThroughTheGraphReader();
    void conversions_data();
    void conversions();
    void outputName_data();
    void outputName();
    void commandLineStatuses();
    void fullDiskKeepsTheEarlierResult();
    void inputCutShortWhileRead();
    void windowConvertsWhatTheUserChose();
};

void ConversionTest::numberTexts_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("minus quarter") << -0.25f << QByteArray("-.25");
    QTest::newRow("below plain") << 1e-5f << QByteArray(" 1E-05");
    QTest::newRow("largest plain") << 9999999.0f << QByteArray(" 9999999");
    QTest::newRow("ten million") << 1e7f << QByteArray(" 1E+07");
    // Seven digits would make another value of these: they keep the digits they need.
    QTest::newRow("just above one") << std::nextafter(1.0f, 2.0f) << QByteArray(" 1.0000001");
    QTest::newRow("largest single") << 3.4028235e38f << QByteArray(" 3.402823466E+38");
}

void ConversionTest::numberTexts()
{
    QFETCH(float, value);
    QTEST(QByteArray::fromStdString(singleText(value)), "text");
}

void ConversionTest::numberTextsReadBackThroughTheGraphReader()
{
    // Random single values of every size, plus whole numbers and short decimals, written
    // as one block the plot reads.
    QRandomGenerator random(7);
    std::vector<float> x, y;
    std::string text = "100000\r\n";
    while (x.size() < 100000) {
        const float bits = std::bit_cast<float>(random.generate());
        x.push_back(std::isfinite(bits) ? bits : 0.0f);
        y.push_back(float(random.bounded(-100000, 100000)) / 1000.0f);
        appendSingleText(text, x.back());
        text += ' ';
        appendSingleText(text, y.back());
        text += "\r\n";
    }
    GraphDataReader reader(QByteArray::fromStdString(text));
    DataBlock block;
    std::int16_t ipl = 0;
    QCOMPARE(reader.readBlock(block, ipl, false, false, {}), BlockStatus::Read);
    QVERIFY(block.x == x);
    QVERIFY(block.y == y);
}

void ConversionTest::conversions_data()
{
    QTest::addColumn<ConversionMode>("mode");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("output");
    const auto table = ConversionMode::ParallelToSerial;
    const auto blocks = ConversionMode::SerialToParallel;
    const auto differences = ConversionMode::SerialDifference;

    const QByteArray twoSeries = " 3 \r\n 1  10 \r\n 2  11 \r\n 3  12 \r\n"
                                 " 3 \r\n 1  20 \r\n 2  21 \r\n 3  22 \r\n";
    // The values are taken in file order, wherever the lines end; empty lines after the
    // table are no rows.
    QTest::newRow("table: commas, LF, values across line ends")
        << table << QByteArray("1,10,20,2\n11,21 3 12\n22\n\n  \n") << twoSeries;
    // 5 values on 2 lines: 2.5 columns round to 2 (halves to even).
    QTest::newRow("table: columns round to even")
        << table << QByteArray("1 10 7\r\n2 11\r\n") << QByteArray(" 2 \r\n 1  10 \r\n 7  2 \r\n");
    QTest::newRow("table: no lines") << table << QByteArray("\r\n \r\n") << problemOf(Msg::ConversionNoLines);
    QTest::newRow("table: text in the table")
        << table << QByteArray("x y\r\n1 2\r\n") << problemOf(Msg::ConversionValueUnreadable, 1);

    // A count of 0 ends the data; the x column is the last block's.
    QTest::newRow("blocks: count 0 ends")
        << blocks << QByteArray("2\r\n1,.5\r\n2 -.25\r\n2\r\n5 3\r\n6 4\r\n0\r\n2\r\n9 9\r\n9 9\r\n")
        << QByteArray("    5    .5    3\r\n    6   -.25    4\r\n");
    // Unequal blocks: 7 points at the last count 2 make rnd(3.5) = 4 blocks; the eighth value is 0.
    QTest::newRow("blocks: past the last value")
        << blocks << QByteArray("5\r\n1 1\r\n2 2\r\n3 3\r\n4 4\r\n5 5\r\n2\r\n7 6\r\n8 7\r\n")
        << QByteArray("    7    1    3    5    7\r\n    8    2    4    6    0\r\n");
    QTest::newRow("blocks: block cut short")
        << blocks << QByteArray("2\r\n1 1\r\n2 2\r\n3\r\n1 1\r\n") << problemOf(Msg::ConversionDataEndsEarly, 4);
    QTest::newRow("blocks: unreadable value")
        << blocks << QByteArray("2\r\n1 1\r\n2 x\r\n") << problemOf(Msg::ConversionValueUnreadable, 3);

    QTest::newRow("differences: three blocks")
        << differences << QByteArray("1\r\n0 1.5\r\n1\r\n0 .5\r\n1\r\n0 2\r\n")
        << QByteArray(" 1\r\n    0    1.5\r\n 1\r\n    0    .5\r\n 1\r\n    0    2\r\n"
                      " 1\r\n    0    1\r\n 1\r\n    0   -1.5\r\n\r\n");
    QTest::newRow("differences: one block")
        << differences << QByteArray("2\r\n1 1\r\n2 2\r\n") << problemOf(Msg::ConversionTooFewBlocks);
    QTest::newRow("differences: beyond single range")
        << differences << QByteArray("1\r\n0 3e38\r\n1\r\n0 -3e38\r\n") << problemOf(Msg::ConversionDifferenceTooLarge);
}

void ConversionTest::conversions()
{
    QFETCH(ConversionMode, mode);
    QFETCH(QByteArray, input);
    QTEST(converted(mode, input), "output");
    // Pieces that cut every value and line end somewhere, and room for one series or one
    // row per pass: the same bytes, the same problem on the same line.
    for (const qsizetype piece : {1, 2, 7})
        QTEST(converted(mode, input, {piece, 8}), "output");
}

void ConversionTest::outputName_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::newRow("dotted folder, no dot") << u"/data/v1.2/table"_s << u"/data/v1.2/table#"_s;
}

void ConversionTest::outputName()
{
    QFETCH(QString, input);
    QTEST(conversionOutputPath(input), "output");
}

void ConversionTest::commandLineStatuses()
{
    TestDir dir;
    // The table converted to blocks beside it.
    const QByteArray tableBytes("    1    10    20\r\n    2    11    21\r\n");
    const QString table = dir.write(u"g01.dat"_s, tableBytes);
    const Run done = runConvert({u"parallel-to-serial"_s, table});
    QCOMPARE(done.exitCode, 0);
    QCOMPARE(done.out, dir.path(u"g01#.dat"_s) + u'\n');
    QCOMPARE(fileContents(dir.path(u"g01#.dat"_s)), converted(ConversionMode::ParallelToSerial, tableBytes));

    // A conversion that writes nothing says why and leaves an earlier result as it was,
    // with no temporary file beside it.
    const QString oneBlock = dir.write(u"one.dat"_s, QByteArray("1\r\n1 1\r\n"));
    const QString earlier = dir.write(u"one#.dat"_s, QByteArray("earlier"));
    const QStringList before = QDir(dir.root()).entryList(QDir::Files | QDir::Hidden);
    const Run tooFew = runConvert({u"serial-difference"_s, oneBlock});
    QCOMPARE(tooFew.exitCode, 1);
    QCOMPARE(tooFew.err, messageLine(conversionTitle(), Msg::ConversionTooFewBlocks, {oneBlock}) + u'\n');
    QCOMPARE(fileContents(earlier), QByteArray("earlier"));
    QCOMPARE(QDir(dir.root()).entryList(QDir::Files | QDir::Hidden), before);

    // An input that cannot be read or an output that cannot be written: named, with why.
    const QString missing = dir.path(u"none.dat"_s);
    const QString unwritable = dir.path(u"no/such/folder/o.dat"_s);
    for (const auto &[args, message] :
         {std::pair{QStringList{u"parallel-to-serial"_s, missing},
                    messageText(Msg::ConversionInputUnreadable, {missing, systemReason(ENOENT)})},
          {QStringList{u"-o"_s, unwritable, u"parallel-to-serial"_s, table},
           messageText(Msg::ConversionOutputUnwritable, {unwritable, systemReason(ENOENT)})}}) {
        const Run r = runConvert(args);
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains(message), qPrintable(r.err));
    }
    QCOMPARE(convertFile(ConversionMode::ParallelToSerial, u" "_s, dir.path(u"o.dat"_s)).problem, Msg::ConversionNoInput);

    const QString p2s = u"parallel-to-serial"_s;
    for (const QStringList &bad : {QStringList{p2s}, QStringList{u"sideways"_s, table}, QStringList{p2s, table, u"-o"_s}}) {
        const Run r = runConvert(bad);
        QVERIFY2(r.exitCode == 2 && r.err.contains(u"Try 'nikra convert --help'"_s), qPrintable(bad.join(u' ')));
    }
}

void ConversionTest::fullDiskKeepsTheEarlierResult()
{
    TestDir dir;
    const SmallDisk disk(dir.path(u"disk"_s));
    if (disk.root.isEmpty())
        QSKIP("no file system of our own may be mounted here");
    // Three series of 20000 rows: far more than the disk holds, found only while writing.
    QByteArray table;
    for (int r = 0; r < 20000; ++r)
        table += QByteArray::number(r) + " 1 2 3\r\n";
    const QString input = dir.write(u"t.dat"_s, table);
    const QString output = disk.root + u"/t#.dat"_s;
    QVERIFY(writeFile(output, "earlier"));
    const ConversionOutcome outcome = convertFile(ConversionMode::ParallelToSerial, input, output);
    QVERIFY(!outcome.written);
    QCOMPARE(outcome.message(), messageText(Msg::ConversionOutputUnwritable, {output, systemReason(ENOSPC)}));
    QCOMPARE(fileContents(output), QByteArray("earlier"));
    QCOMPARE(QDir(disk.root).entryList(QDir::Files | QDir::Hidden), QStringList{u"t#.dat"_s});
}

void ConversionTest::inputCutShortWhileRead()
{
    // Checked whole at opening, then cut after its first block: what the passes read is no
    // longer the file, though it would convert.
    TestDir dir;
    const QString path = dir.write(u"g.dat"_s, QByteArray("1\r\n1 1\r\n1\r\n2 2\r\n"));
    GraphDataFile file;
    QCOMPARE(file.open(path, 4), GraphDataFile::Opened::Yes);
    QVERIFY(QFile::resize(path, 8));
    FilePieces pieces(file);
    PieceValues(pieces).finish();
    QCOMPARE(pieces.failure(), messageText(Msg::ChangedWhileRead));
}

void ConversionTest::windowConvertsWhatTheUserChose()
{
    Program program;
    const QString table = program.home.write(u"table.dat"_s, QByteArray("1 10 20\r\n2 11 21\r\n"));
    MainWindow &main = program.start();
    main.show();
    QStringList &messages = program.messages.lines;
    messages.clear();

    // "≫" swaps the main window for the conversion window.
    QPushButton *open = main.findChild<QPushButton *>(u"Command12"_s);
    QTest::mouseClick(open, Qt::LeftButton);
    ConversionWindow *window = main.conversionWindow();
    QVERIFY(window && window->isVisible() && !main.isVisible());
    auto *mode = window->findChild<QComboBox *>(u"Combo1"_s);
    auto *input = window->findChild<QLineEdit *>(u"Text11"_s);
    auto *output = window->findChild<QLineEdit *>(u"Text12"_s);
    auto *files = window->findChild<QListWidget *>(u"File1"_s);
    auto *convert = window->findChild<QPushButton *>(u"Command1"_s);
    QVERIFY(mode && input && output && files && convert);

    // Choosing a file of the program folder fills the input path; the result is listed.
    const QListWidgetItem *item = files->findItems(u"table.dat"_s, Qt::MatchExactly).value(0);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(item).center());
    QCOMPARE(input->text(), table);
    QTest::mouseClick(convert, Qt::LeftButton);
    QVERIFY(output->isVisible());
    QCOMPARE(output->text(), program.path(u"table#.dat"_s));
    QVERIFY(fileContents(output->text()).startsWith(" 2 \r\n 1  10 \r\n"));
    QCOMPARE(messages, QStringList());
    QCOMPARE(files->findItems(u"table#.dat"_s, Qt::MatchExactly).size(), 1);

    // Another mode hides the output; read as blocks, the table runs out in its second.
    mode->setCurrentIndex(2);
    QTest::mouseClick(convert, Qt::LeftButton);
    QCOMPARE(messages,
             QStringList{messageLine(conversionTitle(), Msg::ConversionDataEndsEarly, {table, u"2"_s})});
    QVERIFY(!output->isVisible());  // no file was written to open

    // "戻る" resets the window and brings the main window back.
    QTest::mouseClick(window->findChild<QPushButton *>(u"Command3"_s), Qt::LeftButton);
    QVERIFY(!window->isVisible() && main.isVisible());
    QCOMPARE(mode->currentIndex(), 0);
}

} // namespace

int runConversionTests(int argc, char **argv)
{
    ConversionTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_conversion.moc"
