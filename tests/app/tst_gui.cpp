// The main window and the canvas window driven through their controls, found by their
// names, with the messages recorded instead of shown.

#include "app/main_window.h"
#include "app/qt_diagnostics.h"
#include "canvas/canvas_window.h"
#include "canvas/page_file_name.h"
#include "formats/text_codec.h"
#include "platform/file_picker.h"
#include "platform/program_folder.h"
#include "platform/qt_translations.h"
#include "platform/settings_store.h"
#include "support/print_to_pdf.h"
#include "support/program_under_test.h"
#include "support/recording_messenger.h"
#include "support/test_files.h"

#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTranslator>
#include <QWheelEvent>
#include <QtTest>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

QString welcome() { return messageLine(programName(), Msg::Welcome); }

// Puts Format Data names into the slots (empty for the rest) and clears the other boxes.
void setFormats(MainWindow &w, const QStringList &formats)
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        w.slotBox(1, slot)->setText(formats.value(slot - 1));
        w.slotBox(2, slot)->clear();
        w.slotBox(3, slot)->clear();
    }
}

// A format whose frame ends at `bottom` mm when drawn in slot 1 (the row starts at 10 mm).
FormatFile frameEndingAt(double bottom)
{
    FormatFile f;
    f.line6 = u"%1, 0, 10, 0, 0"_s.arg(bottom - 10);
    return f;
}

} // namespace

class TestGui : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartAndPathMemory();
    void shortPathMemoryFile();
    void slotBoxesAndFileLists();
    void drawClearsEmptySlots();
    void pageLengthWarning();
    void viewButtons();
    void writeBackIntoTheFiles();
    void selectionAndClipboard();
    void printing();
    void pageAtPhysicalResolution();
    void sizePresetsPlacementAndScrolling();
    void canvasFitsTheScreen();
    void folderListClicksKeepTheWindowSize();
    void unusableFolderAndPattern();
    void pageFileNames();
    void saveDialog();
    void qtDialogsInJapanese();
    void runtimeFolderNoteDropped();
};

void TestGui::firstStartAndPathMemory()
{
    Program p;
    MainWindow &w = p.start();
    QCOMPARE(p.messages.lines, QStringList{welcome()});
    QCOMPARE(w.slotBox(1, 1)->text(), joinPath(p.root(), u"frmnkr1.dat"_s));
    QCOMPARE(w.slotBox(2, 4)->text(), joinPath(p.root(), u"g04.dat"_s));
    QCOMPARE(w.slotBox(3, 3)->text(), joinPath(p.root(), u"cmtnkr3.txt"_s));
    QVERIFY(w.slotBox(3, 4)->text().isEmpty() && w.slotBox(1, 5)->text().isEmpty());
    QCOMPARE(p.find<QComboBox>(&w, u"Combo2"_s)->currentText(), u"4"_s);
    QCOMPARE(p.find<QComboBox>(&w, u"Combo3"_s)->currentText(), u"左端"_s);
    QCOMPARE(w.picker(3)->folder(), QDir(p.root()).absolutePath());

    p.draw();
    QCOMPARE(p.messages.lines, QStringList{welcome()});  // the samples draw without a message
    QVERIFY(p.canvas().isVisible());
    QVERIFY(!w.isVisible());
    const QByteArray written = fileContents(p.path(u"Nikra.pth"_s));
    QCOMPARE(written.count("\r\n"), 31);
    QVERIFY(written.endsWith(" 0 \r\n 3 \r\n 0 \r\n"));

    // The next start restores the same slots without the welcome.
    p.messages.lines.clear();
    MainWindow &again = p.start();
    QVERIFY(p.messages.lines.isEmpty());
    QCOMPARE(again.slots()[2].graph, joinPath(p.root(), u"g02.dat"_s));
    QCOMPARE(p.find<QComboBox>(&again, u"Combo2"_s)->currentText(), u"4"_s);
}

void TestGui::shortPathMemoryFile()
{
    Program p;
    QDir(p.root()).mkdir(u"data"_s);
    const QString data = p.path(u"data"_s);
    QStringList lines{u"/"_s, data, u"*.fmt"_s, u"f1"_s, u"f2"_s, QString(), QString(), QString(), QString(),
                      u"/"_s, data, QString(), u"g1"_s, QString(), u"g3"_s, QString(), QString(), QString(),
                      u"/"_s, data};
    p.home.write(u"Nikra.pth"_s, lines.join(u"\r\n"_s));
    MainWindow &w = p.start();
    QVERIFY(p.messages.lines.isEmpty());
    QCOMPARE(w.picker(1)->folder(), data);
    QCOMPARE(w.picker(1)->pattern(), u"*.fmt"_s);
    QCOMPARE(w.picker(2)->pattern(), u"*.dat"_s);  // an empty pattern line: the default
    QCOMPARE(w.slotBox(1, 2)->text(), u"f2"_s);
    QCOMPARE(w.slotBox(2, 3)->text(), u"g3"_s);
    QCOMPARE(w.picker(3)->folder(), data);         // lines 19 and 20 are there too
    QCOMPARE(w.picker(3)->pattern(), u"*.txt"_s);  // line 21 is not
    QCOMPARE(p.find<QComboBox>(&w, u"Combo2"_s)->currentText(), u"3"_s);
    QCOMPARE(p.find<QComboBox>(&w, u"Combo3"_s)->currentText(), u"中央"_s);
}

void TestGui::slotBoxesAndFileLists()
{
    Program p;
    MainWindow &w = p.start();
    QLineEdit *box = w.slotBox(2, 3);
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(box->text().isEmpty());
    QCOMPARE(w.slotTarget(), 23);
    // A file of another kind's list leaves the box alone.
    QListWidget *formats = w.picker(1)->fileList();
    QTest::mouseClick(formats->viewport(), Qt::LeftButton, {}, formats->visualItemRect(formats->item(0)).center());
    QVERIFY(box->text().isEmpty());
    QCOMPARE(w.slotTarget(), 23);
    QListWidget *graphs = w.picker(2)->fileList();
    const QListWidgetItem *g02 = graphs->findItems(u"g02.dat"_s, Qt::MatchExactly).value(0);
    QVERIFY(g02);
    QTest::mouseClick(graphs->viewport(), Qt::LeftButton, {}, graphs->visualItemRect(g02).center());
    QCOMPARE(box->text(), joinPath(p.root(), u"g02.dat"_s));
    QCOMPARE(w.slotTarget(), 0);

    // Double clicks step through the folder's files; past the last, the box stays empty.
    QLineEdit *comment = w.slotBox(3, 5);
    QStringList seen;
    for (int i = 0; i < 4; ++i) {
        QTest::mouseDClick(comment, Qt::LeftButton);
        seen << QFileInfo(comment->text()).fileName();
    }
    QCOMPARE(seen, (QStringList{u"cmtnkr1.txt"_s, u"cmtnkr2.txt"_s, u"cmtnkr3.txt"_s, QString()}));
}

void TestGui::drawClearsEmptySlots()
{
    Program p;
    MainWindow &w = p.start();
    FormatFile f;
    f.line4 = u"60, 0, 10, 0, 5, 0, 0, 0"_s;  // XSF 5: the right column's frame at 125 mm
    const QString right = p.home.write(u"right.dat"_s, f);
    SlotSet s;
    s[1] = {QString(), p.path(u"g01.dat"_s), p.path(u"cmtnkr1.txt"_s)};  // no Format Data name
    s[2].format = right;
    for (int slot = 1; slot <= 6; ++slot)
        for (int kind = 1; kind <= 3; ++kind)
            w.slotBox(kind, slot)->setText(kind == 1 ? s[slot].format : kind == 2 ? s[slot].graph : s[slot].comment);
    p.draw();
    QVERIFY(w.slotBox(2, 1)->text().isEmpty() && w.slotBox(3, 1)->text().isEmpty());
    // Slot 2 in the first row: its frame's left edge at rnd(125 mm * 96 / 25.4) = 472.
    const QImage page = p.canvas().pageView()->page();
    QVERIFY(qGray(page.pixel(472, 100)) < 96);
    QVERIFY(qGray(page.pixel(94, 100)) > 200);
}

void TestGui::pageLengthWarning()
{
    Program p;
    MainWindow &w = p.start();
    for (double bottom : {279.5, 279.0}) {
        p.messages.lines.clear();
        setFormats(w, {p.home.write(u"long.dat"_s, frameEndingAt(bottom))});
        p.draw();
        const QStringList expected = bottom > 279 ? QStringList{messageLine(pageTitle(), Msg::PageTooLong)} : QStringList{};
        QCOMPARE(p.messages.lines, expected);
    }
}

void TestGui::viewButtons()
{
    Program p;
    MainWindow &w = p.start();
    FormatFile three;
    three.line9 = u"0, 0, 3, 0"_s;
    three.line11 = u"0, 0, 3, 0"_s;
    const QString format = p.home.write(u"three.dat"_s, three);
    setFormats(w, {format, format, format, format});
    p.draw();
    auto press = [&p](int index) {
        QTest::mouseClick(p.canvasButton(u"Command6(%1)"_s.arg(index)), Qt::LeftButton);
        p.passesDone();
    };

    press(1);  // "1-6": every slot one division right
    for (int slot = 1; slot <= 6; ++slot)
        QCOMPARE(w.view().PanX[std::size_t(slot)], 1.0f);
    press(3);
    QCOMPARE(w.view().PanY[5], 1.0f);
    // Five presses of "fewer" on a three-division axis leave one division, ZoomSteps at -2.
    for (int i = 0; i < 5; ++i)
        press(6);
    QCOMPARE(int(w.view().ZoomSteps[1]), -2);
    press(5);
    press(5);
    QCOMPARE(int(w.view().ZoomSteps[1]), 0);

    // "3-4" then "h": only slots 3 and 4 go back to their files' view.
    QComboBox *chooser = p.canvas().findChild<QComboBox *>(u"Combo1"_s);
    chooser->setCurrentIndex(8);
    press(4);
    QCOMPARE(w.view().PanX[3], 0.0f);
    QCOMPARE(w.view().PanX[1], 1.0f);
    press(6);
    QCOMPARE(int(w.view().ZoomSteps[4]), -1);
    // "戻る" with "3-4" resets slots 3 and 4 only, and brings the main window back.
    QTest::mouseClick(p.canvasButton(u"Command3"_s), Qt::LeftButton);
    QVERIFY(!p.canvas().isVisible());
    QVERIFY(w.isVisible());
    QCOMPARE(int(w.view().ZoomSteps[4]), 0);
    QCOMPARE(w.view().PanY[1], 1.0f);
    QVERIFY(w.findChild<QPushButton *>(u"Command8"_s)->isVisible());
    // A new draw shows every slot at its file's ranges but keeps the divisions.
    w.view().ZoomSteps[1] = 2;
    p.draw();
    QCOMPARE(w.view().PanX[1], 0.0f);
    QCOMPARE(int(w.view().ZoomSteps[1]), 2);
}

void TestGui::writeBackIntoTheFiles()
{
    Program p;
    MainWindow &w = p.start();
    FormatFile f;
    f.line4 = u"100, 0, 10, 1, 0, 0, 0, 3"_s;  // step 2 (XDV 5); XLG 1 and FNT 3
    f.line14 = u"0, 1, 時間 (s)"_s;
    f.line6 = u"80, 10, 0, 0, 0"_s;           // written high to low; step 2
    const QString original = f.text();
    const QString path = p.home.write(u"shift.dat"_s, encodeText(original, TextEncoding::ShiftJis));
    FormatFile zero;
    const QString zeroPath = p.home.write(u"zero.dat"_s, zero.text(u"\n"_s));
    setFormats(w, {path, zeroPath});
    p.draw();
    w.view().PanX[1] = 1;
    w.view().PanY[1] = -2;
    QTest::mouseClick(p.canvasButton(u"Command2"_s), Qt::LeftButton);
    QCOMPARE(w.view().PanX[1], 0.0f);
    QCOMPARE(p.messages.lines, QStringList{welcome()});

    const QByteArray bytes = fileContents(path);
    QCOMPARE(decodeText(bytes).encoding, TextEncoding::ShiftJis);  // the file keeps its encoding
    // Only the two range lines change: x shifted one step up, y two steps down.
    QStringList expected = original.split(u"\r\n"_s);
    expected[3] = u"   100.0   2.0   12.0   1.0   0.0   0.0   0.0   3.0"_s;
    expected[5] = u"   80.0   6.0   -4.0   0.0   0.0"_s;
    QCOMPARE(decodeText(bytes).text.split(u"\r\n"_s), expected);
    // A file written with no shift is rewritten in the fixed format, with CR LF, FNT 0 ".0".
    const QString zeroText = QString::fromUtf8(fileContents(zeroPath));
    QVERIFY(zeroText.contains(u"\r\n   100.0   0.0   10.0   0.0   0.0   0.0   0.0   .0\r\n"_s));
    QVERIFY(!zeroText.contains(QRegularExpression(u"[^\\r]\\n"_s)));

    // A file that cannot be read is named in a message and left alone.
    const QString broken = p.home.write(u"broken.dat"_s, QByteArray("only\r\nthree\r\nlines\r\nx, y\r\n"));
    w.slotBox(1, 3)->setText(broken);
    p.canvas().writeBack();
    QCOMPARE(p.messages.lines.last(),
             slotMessage(FileKind::FormatData, 3, Msg::WriteBackUnreadable, {u"broken.dat"_s, u"4"_s}));
}

void TestGui::selectionAndClipboard()
{
    Program p;
    MainWindow &w = p.start();
    p.draw();
    PageView *view = p.canvas().pageView();
    QWidget *viewport = view->viewport();
    QScrollBar *bar = view->verticalBar();
    // Drag from (150, 120) mm to (20, 40) mm, with the page scrolled to its top.
    bar->setValue(0);
    const double px = 96 / 25.4;
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(qRound(150 * px), qRound(120 * px)));
    QTest::mouseMove(viewport, QPoint(qRound(60 * px), qRound(80 * px)));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(qRound(20 * px), qRound(40 * px)));
    QVERIFY(w.selection().finished());
    // The corners are the pointer's page millimetres, to a pixel.
    const SelectionState &sel = w.selection();
    QVERIFY(std::fabs(sel.SelX1 - 150) < 0.3 && std::fabs(sel.SelY1 - 120) < 0.3);
    QVERIFY(std::fabs(sel.SelX2 - 20) < 0.3 && std::fabs(sel.SelY2 - 40) < 0.3);
    w.selection() = SelectionState{150, 120, 20, 40, 0, 0, false};

    QTest::mouseClick(p.canvasButton(u"Command5"_s), Qt::LeftButton);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasFormat(u"image/svg+xml"_s));
    const QByteArray svg = data->data(u"image/svg+xml"_s);
    QVERIFY2(svg.contains("viewBox=\"1134 2268 7370 4535\""), svg.left(400).constData());
    QVERIFY(w.selection().finished());  // the metafile copy keeps the box

    // The bitmap copy takes the box off first: the copied page is the clean page.
    QTest::mouseClick(p.canvasButton(u"Command4"_s), Qt::LeftButton);
    QVERIFY(!w.selection().finished());
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
             view->page().convertToFormat(QImage::Format_RGB32));
    // With no selection the metafile covers the whole page.
    QTest::mouseClick(p.canvasButton(u"Command5"_s), Qt::LeftButton);
    QVERIFY(QGuiApplication::clipboard()->mimeData()->data(u"image/svg+xml"_s).contains("viewBox=\"0 0 11907 16840\""));
}

void TestGui::printing()
{
    Program p;
    p.start();
    p.draw();
    QPushButton *print = p.canvasButton(u"Command1"_s);

    // No printer: a message, and the caption stays.
    p.canvas().setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    QTest::mouseClick(print, Qt::LeftButton);
    QCOMPARE(p.messages.lines.last(), messageLine(u"Nikra"_s, Msg::NoPrinter));
    QCOMPARE(print->text(), u"印刷"_s);

    auto printTo = [&p, print](const QString &pdf) {
        nikra::test::printTo(p.canvas(), pdf);
        QTest::mouseClick(print, Qt::LeftButton);
    };
    // Printing to a file in a folder that does not exist: why, and the caption stays.
    const QString nowhere = u"/no/such/folder/printed.pdf"_s;
    printTo(nowhere);
    QCOMPARE(p.messages.lines.last(),
             messageLine(u"Nikra"_s, Msg::PageNotWritten, {nowhere, u"No such file or directory"_s}));
    QCOMPARE(print->text(), u"印刷"_s);

    const QString pdf = p.path(u"printed.pdf"_s);
    printTo(pdf);
    QCOMPARE(print->text(), u"再印刷"_s);
    const QByteArray bytes = fileContents(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(pdfProblems(pdf), QString());
    QCOMPARE(QString::fromLatin1(bytes).count(QRegularExpression(u"/Type\\s*/Page(?!s)"_s)), 1);
}

void TestGui::pageAtPhysicalResolution()
{
    // On a screen of two physical pixels per screen pixel the page is drawn at twice the
    // resolution and takes the same room: the pointer finds the same millimetres.
    SlotSet slots;
    ViewState viewState;
    RecordingMessenger messages;
    PageJob job{slots, viewState, messages, {}, 96};
    job.pixelRatio = 2;
    const QImage crisp = drawCanvasPage(job).image;
    QCOMPARE(crisp.size(), QSize(1588, 2245));
    QCOMPARE(crisp.devicePixelRatio(), 2.0);

    SelectionState selection;
    PageView view(selection);
    view.setClientSize(QSize(400, 300), true);
    view.setPage(crisp, 96 / 25.4);
    view.show();
    view.horizontalBar()->setValue(100);
    view.verticalBar()->setValue(100);
    QCOMPARE(view.pageOffset(), QPoint(794 - 400, 1123 - 300));
    const QPointF mm = view.pageMm(QPoint(0, 0));
    QVERIFY(std::fabs(mm.x() - 394 * 25.4 / 96) < 1e-9 && std::fabs(mm.y() - 823 * 25.4 / 96) < 1e-9);
}

void TestGui::sizePresetsPlacementAndScrolling()
{
    Program p;
    MainWindow &w = p.start();
    w.show();
    QPushButton *size = w.findChild<QPushButton *>(u"Command7"_s);
    p.draw();
    CanvasWindow &c = p.canvas();
    c.move(123, 77);
    // Draws and returns through every preset and round to Ａ again: the window stays where
    // it was put, as wide as the page's window, with all its buttons inside it.
    const QSize presets[] = {{794, 700}, {767, 667}, {733, 633}, {700, 600}, {667, 567}, {667, 533}, {667, 500}};
    for (int cycle = 1; cycle <= 8; ++cycle) {
        QTest::mouseClick(p.canvasButton(u"Command3"_s), Qt::LeftButton);
        QTest::mouseClick(size, Qt::LeftButton);
        p.draw();
        QCOMPARE(c.pos(), QPoint(123, 77));
        QCOMPARE(c.pageView()->viewport()->size(), presets[cycle % 7]);
        QCOMPARE(c.width(), c.pageView()->width() + 8);
        for (QPushButton *b : c.findChildren<QPushButton *>())
            QVERIFY(!b->isVisible() || c.rect().contains(QRect(b->mapTo(&c, QPoint(0, 0)), b->size())));
        if (cycle == 7) {
            QCOMPARE(size->text(), u"サイズ Ａ"_s);
            QCOMPARE(p.settings->sizeLetter(), u"a"_s);
        }
    }

    // "サイズ Ｂ" has both bars. The wheel scrolls down, with Shift across.
    PageView *view = c.pageView();
    QScrollBar *v = view->verticalBar();
    QScrollBar *h = view->horizontalBar();
    QVERIFY(h->isVisible());
    v->setValue(0);
    h->setValue(0);
    auto turn = [view](int notches, Qt::KeyboardModifiers modifiers) {
        const QPointF at(50, 50);
        QWheelEvent e(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->viewport(), &e);
    };
    turn(-2, Qt::NoModifier);  // towards the user: further down the page
    QCOMPARE(v->value(), 10);
    QCOMPARE(view->pageOffset().y(), (1123 - 667) * 10 / 100);
    turn(-1, Qt::ShiftModifier);
    QCOMPARE(h->value(), 5);
    QCOMPARE(v->value(), 10);

    // The page keys, sent where the focus is ("戻る") and passed on by it.
    QPushButton *back = p.canvasButton(u"Command3"_s);
    QTest::keyClick(back, Qt::Key_End);
    QTest::keyClick(back, Qt::Key_PageUp);
    QCOMPARE(v->value(), 90);
    QTest::keyClick(back, Qt::Key_Home);
    QTest::keyClick(back, Qt::Key_End, Qt::ShiftModifier);
    QCOMPARE(view->pageOffset(), QPoint(794 - 767, 0));

    // The next start takes the preset from the settings store.
    MainWindow &again = p.start();
    QCOMPARE(again.findChild<QPushButton *>(u"Command7"_s)->text(), u"サイズ Ｂ"_s);
}

void TestGui::canvasFitsTheScreen()
{
    Program p;
    p.start();
    p.draw();
    CanvasWindow &c = p.canvas();
    QWidget *viewport = c.pageView()->viewport();
    auto drawAt = [&](QPoint at) {
        c.move(at);
        QTest::mouseClick(p.canvasButton(u"Command3"_s), Qt::LeftButton);
        p.draw();
    };
    // Taken to the 1366 x 768 screen and drawn there, twice: "サイズ Ａ" is shortened to
    // fit, the bottom of the page's window (where the progress bar goes) on screen.
    const QRect room = QGuiApplication::screenAt(QPoint(1700, 100))->availableGeometry();
    for (int draw = 0; draw < 2; ++draw) {
        drawAt(draw == 0 ? QPoint(1700, 100) : c.pos());
        QVERIFY(room.contains(c.frameGeometry()));
        QVERIFY(room.contains(QRect(viewport->mapToGlobal(QPoint(0, 0)), viewport->size())));
        QVERIFY(viewport->height() < 700);
        QCOMPARE(viewport->width(), 794);
    }
    // Back on the large screen it has its full size again.
    drawAt(QPoint(100, 100));
    QCOMPARE(viewport->size(), QSize(794, 700));
}

void TestGui::folderListClicksKeepTheWindowSize()
{
    Program p;
    MainWindow &w = p.start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(w.minimumSizeHint());  // no room to spare: a growing control would grow the window
    QCoreApplication::processEvents();
    const QSize before = w.size();
    QLineEdit *below = w.slotBox(1, 1);
    const QRect boxBefore = below->geometry();
    // The Format and Graph Data folder lists grow over what lies below them and shrink back.
    const QRect filesBefore[] = {w.picker(1)->fileList()->geometry(), w.picker(2)->fileList()->geometry()};
    for (int kind : {1, 2}) {
        QListWidget *folders = w.picker(kind)->folderList();
        QTest::mousePress(folders->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(folders->height(), kind == 1 ? 370 : 244);
        QCoreApplication::processEvents();
        QCOMPARE(w.size(), before);
        QCOMPARE(below->geometry(), boxBefore);
        QCOMPARE(w.picker(kind)->fileList()->geometry(), filesBefore[kind - 1]);
        QVERIFY(folders->geometry().bottom() > w.picker(kind)->fileList()->mapTo(&w, QPoint(0, 0)).y());
        QTest::mousePress(folders->viewport(), Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(folders->height(), 104);
    }
}

void TestGui::unusableFolderAndPattern()
{
    Program p;
    // Drive and folder lines naming places that are not there: the picker keeps the program
    // folder it opened in, with its files listed.
    const QStringList lines{u"/no/such/drive"_s, u"/no/such/folder"_s, u"*.dat"_s, u"f1"_s, QString(), QString(),
                            QString(), QString(), QString(), u"/"_s, u"/no/such/folder"_s};
    p.home.write(u"Nikra.pth"_s, lines.join(u"\r\n"_s));
    MainWindow &w = p.start();
    const QString root = QDir(p.root()).absolutePath();
    QCOMPARE(w.picker(1)->folder(), root);
    QVERIFY(w.picker(1)->files().contains(u"frmnkr1.dat"_s));
    QCOMPARE(w.picker(2)->folder(), u"/"_s);  // its drive line could be used
    QCOMPARE(w.picker(3)->folder(), root);
    QCOMPARE(w.slotBox(1, 1)->text(), u"f1"_s);

    // A pattern the list cannot use is ignored, without a word on standard error.
    QTest::failOnWarning(QRegularExpression(u".*"_s));
    FilePicker *picker = w.picker(1);
    const QStringList before = picker->files();
    picker->patternBox()->setText(u"[a"_s);
    QCOMPARE(picker->files(), before);
    QCOMPARE(picker->fileList()->count(), before.size());
    picker->refresh();
    QCOMPARE(picker->files(), before);
    picker->patternBox()->setText(u"g0[12].dat"_s);
    QCOMPARE(picker->files(), (QStringList{u"g01.dat"_s, u"g02.dat"_s}));
}

void TestGui::pageFileNames()
{
    // The save dialog below covers a plain name, a page's own ending and any other ending.
    const QString pdf = pageFileFilters().at(0), svg = pageFileFilters().at(1), png = pageFileFilters().at(2);
    QCOMPARE(pageFileName(u"/d/page."_s, svg), u"/d/page.svg"_s);
    QCOMPARE(pageFileName(u"/d/my.folder/page"_s, png), u"/d/my.folder/page.png"_s);
    QCOMPARE(pageFileName(u"/d/page.SVG"_s, pdf), u"/d/page.SVG"_s);  // in any case
}

void TestGui::saveDialog()
{
    Program p;
    p.start();
    p.draw();
    QDir(p.root()).mkdir(u"out"_s);
    const QString out = QDir(p.path(u"out"_s)).absolutePath();
    // Answers the save dialog as a user would: notes the folder it opened in, browses to
    // `out`, moves through the type list by keyboard and types a name.
    QString openedIn;
    auto answer = [&](int typeSteps, const QString &name) {
        QTimer::singleShot(0, &p.canvas(), [&, typeSteps, name] {
            auto *dialog = p.canvas().findChild<QFileDialog *>(u"SaveDialog"_s);
            QVERIFY(dialog);
            openedIn = dialog->directory().absolutePath();
            dialog->setDirectory(out);
            auto *types = dialog->findChild<QComboBox *>(u"fileTypeCombo"_s);
            for (int i = 0; i < std::abs(typeSteps); ++i)
                QTest::keyClick(types, typeSteps > 0 ? Qt::Key_Down : Qt::Key_Up);
            dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(name);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QTest::mouseClick(p.canvasButton(u"SavePage"_s), Qt::LeftButton);
    };
    auto head = [&](const QString &name) {
        return fileContents(QDir(out).filePath(name)).left(5);
    };

    answer(2, u"page"_s);  // PDF -> PNG, no ending typed
    QCOMPARE(openedIn, QDir::currentPath());
    QCOMPARE(head(u"page.png"_s), QByteArray("\x89PNG\r"));
    answer(-2, u"page.svg"_s);  // PDF chosen, but the typed ending wins
    QCOMPARE(openedIn, out);    // the folder last saved to
    QVERIFY(head(u"page.svg"_s).startsWith("<?xml"));
    QVERIFY(!QFile::exists(QDir(out).filePath(u"page.svg.pdf"_s)));
    answer(0, u"page.v2"_s);    // PDF kept from last time
    QCOMPARE(head(u"page.v2.pdf"_s), QByteArray("%PDF-"));

    // A file that is there is replaced only when the user agrees.
    p.messages.lines.clear();
    p.messages.yesNoAnswer = false;
    p.home.write(u"out/page.png"_s, QByteArray("kept"));
    answer(0, u"page.png"_s);
    QCOMPARE(p.messages.lines, QStringList{messageLine(u"Nikra"_s, Msg::FileExists)});
    QCOMPARE(head(u"page.png"_s), QByteArray("kept"));
}

void TestGui::qtDialogsInJapanese()
{
    // Qt's own buttons and dialogs read in Japanese once the catalogue is installed.
    QTranslator *japanese = installQtJapanese(*QCoreApplication::instance());
    QVERIFY2(japanese, "Qt's Japanese catalogue is missing: scripts/setup installs qt6-translations-l10n");
    const QString cancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
    const QString saveAs = QCoreApplication::translate("QFileDialog", "Save As");
    QCoreApplication::removeTranslator(japanese);
    delete japanese;
    QCOMPARE(cancel, u"キャンセル"_s);
    QVERIFY(saveAs != u"Save As"_s);
}

void TestGui::runtimeFolderNoteDropped()
{
    // Qt's note on a missing XDG_RUNTIME_DIR is dropped; every other diagnostic passes on.
    static QStringList passed;
    const QtMessageHandler before =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) { passed << text; });
    dropRuntimeFolderNote();
    qWarning("QStandardPaths: XDG_RUNTIME_DIR not set, defaulting to '/tmp/runtime-nikra'");
    qWarning("QStandardPaths: wrong permissions on runtime directory /tmp/runtime-nikra");
    qInstallMessageHandler(before);
    QCOMPARE(passed, QStringList{u"QStandardPaths: wrong permissions on runtime directory /tmp/runtime-nikra"_s});
}

int runGuiTests(int argc, char **argv)
{
    TestGui tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_gui.moc"
