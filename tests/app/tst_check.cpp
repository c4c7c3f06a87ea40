// "nikra check" and "nikra render --watch" end to end: the program run as a user runs it,
// its output lines, exit status and the pages it leaves on disk.

#include "support/nikra_run.h"
#include "support/test_files.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

#include <cstdio>
#include <signal.h>

using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

const QByteArray kLevelGraph = QByteArrayLiteral("2\r\n0, 5\r\n10, 5\r\n");

// A running "render --watch" of one slot, read line by line: the Format Data file given
// with one line curve, a level line as its Graph Data, and the page written beside them
// (writing it must not count as a change).
struct Watch {
    TestDir dir;
    QString format, graph = dir.write(u"g.dat"_s, kLevelGraph), page = dir.path(u"page.png"_s);
    QStringList slot;
    QProcess process;
    QStringList lines;

    explicit Watch(FormatFile f)
    {
        f.curves = QStringList{u"0, 0, 4, 0, 0, 0, 0, line"_s};
        format = dir.write(u"f.dat"_s, f);
        slot = {u"--slot"_s, u"1"_s, format, graph};
        process.start(QStringLiteral(NIKRA_BINARY), QStringList{u"render"_s, u"--watch"_s, u"-o"_s, page} + slot);
    }
    // Reads lines for up to five seconds, until one contains what.
    bool waitFor(const QString &what)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 5000) {
            while (process.canReadLine()) {
                lines.append(QString::fromUtf8(process.readLine()).trimmed());
                if (lines.constLast().contains(what))
                    return true;
            }
            process.waitForReadyRead(50);
        }
        return false;
    }
    // Ends the watch as Ctrl-C or a service manager does; true when it ended cleanly.
    bool stop(int signal)
    {
        ::kill(pid_t(process.processId()), signal);
        return process.waitForFinished(5000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
    }
};

// Replaces a file the way many editors save: a new file renamed over the old one.
void replaceByRename(const QString &path, const QByteArray &bytes)
{
    QVERIFY(writeFile(path + u".new"_s, bytes));
    QVERIFY(::rename(QFile::encodeName(path + u".new"_s).constData(), QFile::encodeName(path).constData()) == 0);
}

} // namespace

class TestCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checkPrintsWhatDrawingShows();
    void watchRedrawsKeepsTheLastGoodPageAndStopsOnSignal();
    void watchKeepsAFirstWarningAndWaitsForWholeBlocks();
};

void TestCheck::checkPrintsWhatDrawingShows()
{
    // One problem of each sort: a value that is no number (slot 1, line 4), a missing file
    // (slot 2) and a frame taller than the printed page (slot 3).
    TestDir dir;
    FormatFile notNumber, high;
    notNumber.line4 = u"wide, 0, 10, 0, 0, 0, 0, 0"_s;
    high.line6 = u"300, 0, 10, 0, 0"_s;
    const QString broken = dir.write(u"broken.dat"_s, notNumber), good = dir.write(u"good.dat"_s, FormatFile{});
    const QString missing = dir.path(u"nothing.dat"_s);
    const QStringList slots{u"--slot"_s, u"1"_s, broken, u"--slot"_s, u"2"_s, good, missing,
                            u"--slot"_s, u"3"_s, dir.write(u"tall.dat"_s, high)};

    // A clean page, its frame ending on the printed page's last millimetre: nothing, status 0.
    FormatFile edge;
    edge.line6 = u"269, 0, 10, 0, 0"_s;
    Run r = runNikra({u"check"_s, u"--slot"_s, u"1"_s, dir.write(u"edge.dat"_s, edge)});
    QCOMPARE(r.out + r.err, QString());
    QCOMPARE(r.exitCode, 0);

    // The same lines render shows on standard error, in the same order, on standard output.
    const Run rendered = runNikra(QStringList{u"render"_s, u"-o"_s, dir.path(u"p.png"_s)} + slots);
    r = runNikra(QStringList{u"check"_s} + slots);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, rendered.err);
    const QStringList expected{u" 1st Format Data Error: 4 行目の XWD が数値として読めません。描画を中断します。"_s,
                               u" 2nd Graph Data Error: ファイルが存在しません。ご確認ください。 "_s,
                               u"Format Data Error: ページを越えます。印刷は１ページ目だけになります。"_s};
    QCOMPARE(r.out, expected.join(u'\n') + u'\n');

    r = runNikra(QStringList{u"check"_s, u"--quiet"_s} + slots);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out + r.err, QString());

    // --json: one object a line, the same title and text; the page's own warning belongs to
    // no slot and no file.
    r = runNikra(QStringList{u"check"_s, u"--json"_s} + slots);
    QCOMPARE(r.exitCode, 1);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    const QJsonValue none;
    const QList<QJsonObject> where{{{u"slot"_s, 1}, {u"kind"_s, u"format"_s}, {u"file"_s, broken}, {u"line"_s, 4}},
                                   {{u"slot"_s, 2}, {u"kind"_s, u"graph"_s}, {u"file"_s, missing}, {u"line"_s, none}},
                                   {{u"slot"_s, none}, {u"kind"_s, none}, {u"file"_s, none}, {u"line"_s, none}}};
    for (int i = 0; i < 3; ++i) {
        QJsonObject entry = QJsonDocument::fromJson(lines[i].toUtf8()).object();  // empty when not JSON
        QCOMPARE(entry.take(u"title"_s).toString() + u": "_s + entry.take(u"text"_s).toString(), expected[i]);
        QCOMPARE(entry, where[i]);
    }

    r = runNikra({u"check"_s, u"--colour"_s});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains(u"--colour"_s));
}

void TestCheck::watchRedrawsKeepsTheLastGoodPageAndStopsOnSignal()
{
    Watch watch{FormatFile{}};
    QVERIFY(watch.waitFor(u" ok"_s));
    const QByteArray goodFormat = fileContents(watch.format), first = fileContents(watch.page);

    // A burst of writes in place: one drawing (counted at the end), a new page.
    for (int y = 1; y <= 4; ++y)
        QVERIFY(writeFile(watch.graph, u"2\r\n0, %1\r\n10, %1\r\n"_s.arg(y).toUtf8()));
    QVERIFY(watch.waitFor(u" ok"_s));
    const QByteArray second = fileContents(watch.page);
    QVERIFY(second != first);

    // A broken Format Data file saved by rename: the page on disk stays, the line says why.
    FormatFile broken;
    broken.line4 = u"wide, 0, 10, 0, 0, 0, 0, 0"_s;
    replaceByRename(watch.format, broken.text().toUtf8());
    QVERIFY(watch.waitFor(u"page kept"_s));
    QVERIFY(watch.lines.constLast().contains(u"XWD"_s));
    QCOMPARE(fileContents(watch.page), second);

    // Mended by rename again: the rename left the watch on the new file.
    replaceByRename(watch.format, goodFormat);
    QVERIFY(watch.waitFor(u" ok"_s));
    QCOMPARE(fileContents(watch.page), second);
    QVERIFY(watch.stop(SIGINT));
    QCOMPARE(watch.lines.size(), 4);  // the first page, the burst, the broken and the mended file
}

void TestCheck::watchKeepsAFirstWarningAndWaitsForWholeBlocks()
{
    FormatFile format;
    format.line4 = u"100, 0, 10, 2, 0, 0, 0, 0"_s;  // XLG 2: a warning, drawn with XLG 0
    Watch watch(format);
    QVERIFY(watch.waitFor(u"written:"_s));
    QVERIFY(watch.lines.constLast().contains(u"XLG"_s));
    const QByteArray second = fileContents(watch.page);
    QVERIFY(!second.isEmpty());

    // A writer pausing inside a block: the page stays until the block is whole.
    QFile graph(watch.graph);
    QVERIFY(graph.open(QIODevice::WriteOnly | QIODevice::Truncate));
    graph.write("2\r\n0, 8\r\n");
    graph.flush();
    QVERIFY(watch.waitFor(u"page kept"_s));
    QCOMPARE(fileContents(watch.page), second);
    // Outside a watch the file's end still ends the block quietly.
    const Run checked = runNikra(QStringList{u"check"_s} + watch.slot);
    QCOMPARE(checked.out.count(u'\n'), 1);
    QVERIFY(checked.out.contains(u"XLG"_s));
    graph.write("10, 8\r\n");
    graph.close();
    QVERIFY(watch.waitFor(u"written:"_s));
    QVERIFY(fileContents(watch.page) != second);
    QVERIFY(watch.stop(SIGTERM));
}

int runCheckTests(int argc, char **argv)
{
    TestCheck tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_check.moc"
