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

namespace {

// A page with one problem of each sort: a value that is no number (slot 1, line 4), a
// missing Graph Data file (slot 2), a frame taller than the printed page (slot 3) and a
// missing Format Data file (slot 5).
struct TroubledPage {
    TestDir dir;
    QString broken, good, missing, tall;
    TroubledPage()
    {
        FormatFile notNumber;
        notNumber.line4 = QStringLiteral("wide, 0, 10, 0, 0, 0, 0, 0");
        broken = dir.write(QStringLiteral("broken.dat"), notNumber);
        good = dir.write(QStringLiteral("good.dat"), FormatFile{});
        FormatFile high;
        high.line6 = QStringLiteral("300, 0, 10, 0, 0");
        tall = dir.write(QStringLiteral("tall.dat"), high);
        missing = dir.path(QStringLiteral("nothing.dat"));
    }
    QStringList slots() const
    {
        return {QStringLiteral("--slot"), QStringLiteral("1"), broken, QStringLiteral("--slot"), QStringLiteral("2"),
                good,                     missing,             QStringLiteral("--slot"), QStringLiteral("3"), tall,
                QStringLiteral("--slot"), QStringLiteral("5"), missing};
    }
};

// A running "render --watch", read line by line.
struct Watch {
    QProcess process;
    QStringList lines;

    // Reads lines for up to timeoutMs, or until one contains what (when given).
    bool read(int timeoutMs, const QString &what = {})
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            while (process.canReadLine()) {
                lines.append(QString::fromUtf8(process.readLine()).trimmed());
                if (!what.isEmpty() && lines.constLast().contains(what))
                    return true;
            }
            process.waitForReadyRead(50);
        }
        return false;
    }
    bool waitFor(const QString &what) { return read(5000, what); }
    QStringList linesWithin(int ms)
    {
        const qsizetype before = lines.size();
        read(ms);
        return lines.mid(before);
    }
};

// Replaces a file the way many editors save: a new file renamed over the old one.
void replaceByRename(const QString &path, const QByteArray &bytes)
{
    const QString temporary = path + QStringLiteral(".new");
    QFile file(temporary);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    QVERIFY(::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) == 0);
}

} // namespace

class TestCheck : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checkPrintsWhatDrawingShows();
    void checkJsonAndArguments();
    void watchRedrawsKeepsTheLastGoodPageAndStopsOnSignal();
    void watchKeepsAFirstWarningAndWaitsForWholeBlocks();
};

void TestCheck::checkPrintsWhatDrawingShows()
{
    TroubledPage page;
    // A clean page: nothing at all, status 0.
    Run r = runNikra({QStringLiteral("check"), QStringLiteral("--slot"), QStringLiteral("1"), page.good});
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err, QString());
    QCOMPARE(r.exitCode, 0);

    // The same lines render shows on standard error, in the same order, on standard output.
    const Run rendered = runNikra(QStringList{QStringLiteral("render"), QStringLiteral("-o"),
                                              page.dir.path(QStringLiteral("p.png"))} + page.slots());
    r = runNikra(QStringList{QStringLiteral("check")} + page.slots());
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.err, QString());
    QCOMPARE(r.out, rendered.err);
    QCOMPARE(r.out, QStringLiteral(" 1st Format Data Error: 4 行目の XWD が数値として読めません。描画を中断します。\n"
                                   " 2nd Graph Data Error: ファイルが存在しません。ご確認ください。 \n"
                                   " 5th Format Data Error: ファイルが存在しません。ご確認ください。 \n"
                                   "Format Data Error: ページを越えます。印刷は１ページ目だけになります。\n"));

    r = runNikra(QStringList{QStringLiteral("check"), QStringLiteral("--quiet")} + page.slots());
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(r.out + r.err, QString());
}

void TestCheck::checkJsonAndArguments()
{
    TroubledPage page;
    Run r = runNikra(QStringList{QStringLiteral("check"), QStringLiteral("--json")} + page.slots());
    QCOMPARE(r.exitCode, 1);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 4);
    QList<QJsonObject> entries;
    for (const QString &line : lines) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &error);
        QVERIFY2(document.isObject(), qPrintable(error.errorString()));
        entries.append(document.object());
    }
    QCOMPARE(entries[0].value(QStringLiteral("slot")).toInt(), 1);
    QCOMPARE(entries[0].value(QStringLiteral("kind")).toString(), QStringLiteral("format"));
    QCOMPARE(entries[0].value(QStringLiteral("file")).toString(), page.broken);
    QCOMPARE(entries[0].value(QStringLiteral("line")).toInt(), 4);
    QCOMPARE(entries[0].value(QStringLiteral("title")).toString(), QStringLiteral(" 1st Format Data Error"));
    QCOMPARE(entries[0].value(QStringLiteral("text")).toString(),
             QStringLiteral("4 行目の XWD が数値として読めません。描画を中断します。"));
    QCOMPARE(entries[1].value(QStringLiteral("kind")).toString(), QStringLiteral("graph"));
    QCOMPARE(entries[1].value(QStringLiteral("file")).toString(), page.missing);
    QVERIFY(entries[1].value(QStringLiteral("line")).isNull());
    QCOMPARE(entries[2].value(QStringLiteral("slot")).toInt(), 5);
    // The page's own warning belongs to no slot and no file.
    for (const char *key : {"slot", "kind", "file", "line"})
        QVERIFY(entries[3].value(QLatin1String(key)).isNull());
    QCOMPARE(entries[3].value(QStringLiteral("title")).toString(), QStringLiteral("Format Data Error"));

    r = runNikra({QStringLiteral("check"), QStringLiteral("--slot"), QStringLiteral("9"), page.good});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains(QStringLiteral("1 to 6")));
    r = runNikra({QStringLiteral("check"), QStringLiteral("--colour")});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains(QStringLiteral("--colour")));
    // A path memory file that is not there is not a page to check (nor the samples').
    r = runNikra({QStringLiteral("check"), QStringLiteral("--pth"), page.dir.path(QStringLiteral("none.pth"))});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.err.contains(QStringLiteral("none.pth")));
    r = runNikra({QStringLiteral("render"), QStringLiteral("-o"), page.dir.path(QStringLiteral("p.png")),
                  QStringLiteral("--pth"), page.dir.path(QStringLiteral("none.pth"))});
    QCOMPARE(r.exitCode, 1);
    QVERIFY(!QFile::exists(page.dir.path(QStringLiteral("p.png"))));
}

void TestCheck::watchRedrawsKeepsTheLastGoodPageAndStopsOnSignal()
{
    TestDir dir;
    FormatFile format;
    format.curves = QStringList{QStringLiteral("0, 0, 4, 0, 0, 0, 0, line")};
    const QByteArray goodFormat = format.text().toUtf8();
    const QString formatPath = dir.write(QStringLiteral("f.dat"), goodFormat);
    const QString graphPath = dir.write(QStringLiteral("g.dat"), QByteArrayLiteral("2\r\n0, 5\r\n10, 5\r\n"));
    // The page is written beside its files: writing it must not count as a change.
    const QString pagePath = dir.path(QStringLiteral("page.png"));

    Watch watch;
    watch.process.start(QStringLiteral(NIKRA_BINARY), {QStringLiteral("render"), QStringLiteral("--watch"),
                                                      QStringLiteral("-o"), pagePath, QStringLiteral("--slot"),
                                                      QStringLiteral("1"), formatPath, graphPath});
    QVERIFY(watch.waitFor(QStringLiteral(" ok")));
    const QByteArray first = fileContents(pagePath);
    QVERIFY(!first.isEmpty());

    // A burst of writes in place: one drawing, a new page.
    for (int y = 1; y <= 4; ++y) {
        QFile graph(graphPath);
        QVERIFY(graph.open(QIODevice::WriteOnly | QIODevice::Truncate));
        graph.write(QStringLiteral("2\r\n0, %1\r\n10, %1\r\n").arg(y).toUtf8());
    }
    const QStringList burst = watch.linesWithin(1500);
    QCOMPARE(burst.size(), 1);
    QVERIFY(burst[0].endsWith(QStringLiteral(" ok")));
    const QByteArray second = fileContents(pagePath);
    QVERIFY(second != first);

    // A broken Format Data file saved by rename: the page on disk stays, the line says why.
    FormatFile broken = format;
    broken.line4 = QStringLiteral("wide, 0, 10, 0, 0, 0, 0, 0");
    replaceByRename(formatPath, broken.text().toUtf8());
    QVERIFY(watch.waitFor(QStringLiteral("page kept")));
    QVERIFY(watch.lines.constLast().contains(QStringLiteral("XWD")));
    QCOMPARE(fileContents(pagePath), second);

    // Mended by rename again: the rename left the watch on the new file.
    replaceByRename(formatPath, goodFormat);
    QVERIFY(watch.waitFor(QStringLiteral(" ok")));
    QCOMPARE(fileContents(pagePath), second);

    // Deleted, then back: reported, then drawn again.
    QVERIFY(QFile::remove(graphPath));
    QVERIFY(watch.waitFor(QStringLiteral("page kept")));
    dir.write(QStringLiteral("g.dat"), QByteArrayLiteral("2\r\n0, 5\r\n10, 5\r\n"));
    QVERIFY(watch.waitFor(QStringLiteral(" ok")));
    QCOMPARE(fileContents(pagePath), first);

    ::kill(pid_t(watch.process.processId()), SIGINT);
    QVERIFY(watch.process.waitForFinished(5000));
    QCOMPARE(watch.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(watch.process.exitCode(), 0);
}

void TestCheck::watchKeepsAFirstWarningAndWaitsForWholeBlocks()
{
    TestDir dir;
    FormatFile format;
    format.line4 = QStringLiteral("100, 0, 10, 2, 0, 0, 0, 0");  // XLG 2: a warning, drawn with XLG 0
    format.curves = QStringList{QStringLiteral("0, 0, 4, 0, 0, 0, 0, line")};
    const QString formatPath = dir.write(QStringLiteral("f.dat"), format);
    const QString graphPath = dir.write(QStringLiteral("g.dat"), QByteArrayLiteral("2\r\n0, 5\r\n10, 5\r\n"));
    const QString pagePath = dir.path(QStringLiteral("page.png"));
    const QStringList slot{QStringLiteral("--slot"), QStringLiteral("1"), formatPath, graphPath};

    Watch watch;
    watch.process.start(QStringLiteral(NIKRA_BINARY),
                        QStringList{QStringLiteral("render"), QStringLiteral("--watch"), QStringLiteral("-o"), pagePath}
                            + slot);
    QVERIFY(watch.waitFor(QStringLiteral("written:")));
    QVERIFY(watch.lines.constLast().contains(QStringLiteral("XLG")));
    const QByteArray first = fileContents(pagePath);
    QVERIFY(!first.isEmpty());

    // The same warning on the next drawing is no new problem: the page is replaced.
    QFile graph(graphPath);
    QVERIFY(graph.open(QIODevice::WriteOnly | QIODevice::Truncate));
    graph.write("2\r\n0, 2\r\n10, 2\r\n");
    graph.close();
    QVERIFY(watch.waitFor(QStringLiteral("written:")));
    const QByteArray second = fileContents(pagePath);
    QVERIFY(second != first);

    // A writer pausing inside a block: the page stays until the block is whole.
    QVERIFY(graph.open(QIODevice::WriteOnly | QIODevice::Truncate));
    graph.write("2\r\n0, 8\r\n");
    graph.flush();
    QVERIFY(watch.waitFor(QStringLiteral("page kept")));
    QVERIFY(watch.lines.constLast().contains(QStringLiteral(" 1st Graph Data Error")));
    QCOMPARE(fileContents(pagePath), second);
    // Outside a watch the file's end still ends the block quietly.
    const Run checked = runNikra(QStringList{QStringLiteral("check")} + slot);
    QCOMPARE(checked.out.count(u'\n'), 1);
    QVERIFY(checked.out.contains(QStringLiteral("XLG")));
    graph.write("10, 8\r\n");
    graph.close();
    QVERIFY(watch.waitFor(QStringLiteral("written:")));
    QVERIFY(fileContents(pagePath) != second);

    ::kill(pid_t(watch.process.processId()), SIGTERM);
    QVERIFY(watch.process.waitForFinished(5000));
}

int runCheckTests(int argc, char **argv)
{
    TestCheck tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_check.moc"
