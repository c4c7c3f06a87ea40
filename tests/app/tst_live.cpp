// The canvas window while files change under it and while a long pass runs: the page
// follows each save without boxes, a broken save keeps the last good page, and the window
// is up, alive and showing progress while the pass works on its own thread.

#include "canvas/canvas_window.h"
#include "canvas/message_strip.h"
#include "canvas/page_passes.h"
#include "canvas/page_watcher.h"
#include "platform/box_messenger.h"
#include "support/print_to_pdf.h"
#include "support/program_under_test.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QThread>
#include <QtTest>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

QString graphText(int points, double slope)
{
    QString text = QString::number(points) + u"\r\n"_s;
    for (int i = 0; i < points; ++i)
        text += u"%1, %2\r\n"_s.arg(10.0 * i / std::max(1, points - 1)).arg(slope * 10.0 * i / std::max(1, points - 1));
    return text;
}

// Empties every slot but the first, which draws `format` and `graph`.
void onlySlotOne(MainWindow &w, const QString &format, const QString &graph)
{
    for (int slot = 1; slot <= kSlotCount; ++slot)
        for (int kind = 1; kind <= 3; ++kind)
            w.slotBox(kind, slot)->clear();
    w.slotBox(1, 1)->setText(format);
    w.slotBox(2, 1)->setText(graph);
}

// Slot 1 drawn from a format and a graph file of the test's own, the other slots empty.
struct LivePage {
    Program p;
    QString format;
    QString graph;

    LivePage()
    {
        MainWindow &w = p.start();
        format = p.home.write(u"live.dat"_s, FormatFile{});
        graph = p.home.write(u"live_g.dat"_s, graphText(3, 1));
        onlySlotOne(w, format, graph);
        p.messages.lines.clear();
        p.draw();
    }
    QImage page() const { return p.canvas().pageView()->page(); }
    // Saves the format cut off inside its value lines, as an editor caught mid-write would.
    void breakFormat(const QString &tail = {}) const
    {
        const QString whole = FormatFile{}.text();
        p.home.write(u"live.dat"_s, whole.left(whole.indexOf(u"\r\n"_s, 60)) + tail);
    }
    MessageStrip *strip() const { return p.canvas().messageStrip(); }
};

// Slot 1 draws 20 000 points; slot 2 names a missing file, whose message comes while the
// pass runs: answering it late makes the pass a long one.
struct LongPass {
    Program p;
    MainWindow &w = p.start();

    LongPass()
    {
        onlySlotOne(w, p.home.write(u"long.dat"_s, FormatFile{}), p.home.write(u"long_g.dat"_s, graphText(20000, 1)));
        missingInSlotTwo();
        p.messages.lines.clear();
    }
    void missingInSlotTwo() const { w.slotBox(1, 2)->setText(p.path(u"gone.dat"_s)); }
};

} // namespace

class TestLive : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pageFollowsTheFiles();
    void brokenSaveKeepsTheLastGoodPage();
    void switchedOff();
    void longPassAndRequestsMeanwhile();
};

void TestLive::pageFollowsTheFiles()
{
    LivePage live;
    CanvasWindow &canvas = live.p.canvas();
    canvas.pageView()->verticalBar()->setValue(30);
    const QImage first = live.page();

    // Rewritten in place: the page changes within a second, the view stays where it was.
    live.p.home.write(u"live_g.dat"_s, graphText(3, -1));
    QTRY_VERIFY_WITH_TIMEOUT(live.page() != first, 1000);
    QCOMPARE(canvas.pageView()->verticalBar()->value(), 30);

    // Removed: said in the strip, the name kept.
    QFile::remove(live.graph);
    QTRY_VERIFY_WITH_TIMEOUT(!live.strip()->lines().isEmpty(), 1000);
    QCOMPARE(live.strip()->lines().first(), slotMessage(FileKind::GraphData, 1, Msg::FileMissing));
    QCOMPARE(live.p.main->slotBox(2, 1)->text(), live.graph);
    QVERIFY(live.p.messages.lines.isEmpty());  // no box at any time
}

void TestLive::brokenSaveKeepsTheLastGoodPage()
{
    LivePage live;
    const QImage good = live.page();
    // Caught half-written: the message in the strip, the good page on screen.
    live.breakFormat();
    QTRY_VERIFY_WITH_TIMEOUT(!live.strip()->lines().isEmpty(), 1000);
    QVERIFY(live.strip()->keptPage());
    QCOMPARE(live.page(), good);
    // Saved broken once more: the same message stands once, at the top.
    QSignalSpy redraws(live.p.canvas().pageWatcher(), &PageWatcher::redrawWanted);
    live.breakFormat(u"\r\n"_s);
    QTRY_COMPARE_WITH_TIMEOUT(redraws.size(), 1, 1000);
    QVERIFY(live.p.passesDone());
    QCOMPARE(live.strip()->lines().size(), 1);

    // Printing, the metafile and a PDF or SVG are drawn from the files, now another page
    // than the one shown: asked first, and "No" writes nothing. A PNG is the page shown.
    CanvasWindow &canvas = live.p.canvas();
    const QString printed = live.p.path(u"printed.pdf"_s);
    printTo(canvas, printed);
    live.p.messages.yesNoAnswer = false;
    QTest::mouseClick(live.p.canvasButton(u"Command1"_s), Qt::LeftButton);
    QVERIFY(!canvas.savePage(live.p.path(u"page.svg"_s)));
    const QString question = messageLine(programName(), Msg::PageNotAsShown);
    QCOMPARE(live.p.messages.lines, QStringList(2, question));
    QVERIFY(!QFile::exists(printed) && !QFile::exists(live.p.path(u"page.svg"_s)));
    QVERIFY(canvas.savePage(live.p.path(u"page.png"_s)));
    QCOMPARE(live.p.messages.lines.size(), 2);

    // "⌂" draws the broken files as they are: no longer an older page shown.
    QTest::mouseClick(live.p.canvasButton(u"Command6(4)"_s), Qt::LeftButton);
    QVERIFY(live.p.passesDone());
    QVERIFY(!live.strip()->keptPage());
}

void TestLive::switchedOff()
{
    LivePage live;
    CanvasWindow &canvas = live.p.canvas();
    // "自動更新" off: kept in the settings, and changes do nothing.
    QCheckBox *autoRefresh = canvas.findChild<QCheckBox *>(u"AutoRefresh"_s);
    autoRefresh->setChecked(false);
    QVERIFY(!live.p.settings->autoRefresh());
    const QImage asked = live.page();
    live.p.home.write(u"live_g.dat"_s, graphText(3, 0.5));
    QTest::qWait(600);
    QCOMPARE(live.page(), asked);
    // On again: what changed meanwhile is drawn at once, and changes are followed again.
    autoRefresh->setChecked(true);
    QTRY_VERIFY_WITH_TIMEOUT(live.page() != asked, 1000);
}

void TestLive::longPassAndRequestsMeanwhile()
{
    LongPass run;
    Program &p = run.p;
    MainWindow &w = run.w;
    BoxMessenger boxes(&w);

    // While the pass waits for its message, handed to the GUI thread with the canvas window
    // up, its view buttons off and its progress shown: a pan and a file change. Both are
    // drawn after it, in one more pass, and the pan is kept.
    p.messages.onMessage = [&] {
        CanvasWindow &canvas = p.canvas();
        QCOMPARE(QThread::currentThread(), qApp->thread());
        QVERIFY(canvas.isVisible() && !w.isVisible());
        QCOMPARE(boxes.dialogParent(), &canvas);  // a box stands over the canvas window
        QVERIFY(!canvas.findChild<QPushButton *>(u"Command6(1)"_s)->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(canvas.findChild<QProgressBar *>(u"PassProgress"_s)->isVisible(), 2000);
        canvas.viewButton(1);
        p.home.write(u"long_g.dat"_s, graphText(20000, -1));
        p.canvas().liveRedraw();
        p.messages.onMessage = nullptr;
    };
    QSignalSpy pages(p.canvas().passes(), &PagePasses::pageReady);
    p.draw();
    QCOMPARE(pages.size(), 2);
    QCOMPARE(w.view().PanX[1], 1.0f);
    QCOMPARE(p.canvas().pageView()->page(), w.drawPage().image);  // the worker's page is this one

    // Closed during a pass: the main window comes back once it has ended, and what was
    // asked meanwhile is not drawn.
    p.canvas().back();
    run.missingInSlotTwo();
    p.messages.onMessage = [&] {
        p.canvas().liveRedraw();
        p.canvas().close();
        QVERIFY(!w.isVisible());
        p.messages.onMessage = nullptr;
    };
    pages.clear();
    p.draw();
    QVERIFY(!p.canvas().isVisible());
    QVERIFY(w.isVisible());
    QCOMPARE(pages.size(), 1);

    // The program ends while a pass waits for an answer: nobody is asked, and it ends.
    run.missingInSlotTwo();
    p.messages.lines.clear();
    w.draw();
    QVERIFY(p.canvas().passRunning());
    QTest::qSleep(200);  // the pass has reached its question
    p.main.reset();
    QVERIFY(p.messages.lines.isEmpty());
}

int runLiveTests(int argc, char **argv)
{
    TestLive tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_live.moc"
