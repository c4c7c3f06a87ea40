// The main window and the canvas window driven through their controls, found by their
// names, with the messages recorded instead of shown.

#include "app/main_window.h"
#include "canvas/canvas_window.h"
#include "formats/text_codec.h"
#include "platform/file_picker.h"
#include "support/print_to_pdf.h"
#include "support/program_under_test.h"
#include "support/test_files.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QRegularExpression>
#include <QScrollBar>
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

} // namespace

class TestGui : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstStartAndPathMemory();
    void viewButtons();
    void writeBackIntoTheFiles();
    void printing();
    void sizePresetsPlacementAndScrolling();
    void unusableFolderAndPattern();
    void saveDialog();
};

void TestGui::firstStartAndPathMemory()
{
    Program p;
    MainWindow &w = p.start();
    QCOMPARE(p.messages.lines, QStringList{welcome()});
    QCOMPARE(w.slotBox(2, 4)->text(), joinPath(p.root(), u"g04.dat"_s));

    p.draw();
    QCOMPARE(p.messages.lines, QStringList{welcome()});  // the samples draw without a message

    p.messages.lines.clear();
    p.start();
    QVERIFY(p.messages.lines.isEmpty());  // no welcome on the next start
}

void TestGui::viewButtons()
{
    Program p;
    MainWindow &w = p.start();
    p.draw();
    QTest::mouseClick(p.canvasButton(u"Command6(1)"_s), Qt::LeftButton);  // "1-6": one division right
    p.passesDone();
    QCOMPARE(w.view().PanX[6], 1.0f);
    // "戻る" takes the chosen slots (all of them) back to their files' view; a new draw
    // shows every slot at its file's ranges but keeps the divisions.
    w.view().ZoomSteps[1] = 2;
    QTest::mouseClick(p.canvasButton(u"Command3"_s), Qt::LeftButton);
    QCOMPARE(int(w.view().ZoomSteps[1]), 0);
    w.view().PanX[1] = 1;
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
    setFormats(w, {path});
    p.draw();
    w.view().PanX[1] = 1;
    w.view().PanY[1] = -2;
    QTest::mouseClick(p.canvasButton(u"Command2"_s), Qt::LeftButton);
    QCOMPARE(p.messages.lines, QStringList{welcome()});

    const QByteArray bytes = fileContents(path);
    QCOMPARE(decodeText(bytes).encoding, TextEncoding::ShiftJis);  // the file keeps its encoding
    // Only the two range lines change: x shifted one step up, y two steps down.
    QStringList expected = original.split(u"\r\n"_s);
    expected[3] = u"   100.0   2.0   12.0   1.0   0.0   0.0   0.0   3.0"_s;
    expected[5] = u"   80.0   6.0   -4.0   0.0   0.0"_s;
    QCOMPARE(decodeText(bytes).text.split(u"\r\n"_s), expected);

    // A file that cannot be read is named in a message and left alone.
    const QString broken = p.home.write(u"broken.dat"_s, QByteArray("only\r\nthree\r\nlines\r\nx, y\r\n"));
    w.slotBox(1, 3)->setText(broken);
    p.canvas().writeBack();
    QCOMPARE(p.messages.lines.last(),
             slotMessage(FileKind::FormatData, 3, Msg::WriteBackUnreadable, {u"broken.dat"_s, u"4"_s}));
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
    QCOMPARE(pdfProblems(pdf), QString());
}

void TestGui::sizePresetsPlacementAndScrolling()
{
    Program p;
    MainWindow &w = p.start();
    w.show();
    QPushButton *size = w.findChild<QPushButton *>(u"Command7"_s);
    p.draw();
    CanvasWindow &c = p.canvas();
    // Taken to the 1366 x 768 screen and drawn there, twice: "サイズ Ａ" is shortened to
    // fit, as wide as ever, the whole window on screen.
    const QScreen *small = QGuiApplication::screenAt(QPoint(1700, 100));
    QVERIFY2(small, "run through ctest, which gives the offscreen platform its two screens");
    const QRect room = small->availableGeometry();
    c.move(1700, 100);
    for (int draw = 0; draw < 2; ++draw) {
        QTest::mouseClick(p.canvasButton(u"Command3"_s), Qt::LeftButton);
        p.draw();
        QVERIFY(room.contains(c.frameGeometry()));
    }
    QCOMPARE(c.pageView()->viewport()->width(), 794);

    c.move(123, 77);
    // Draws and returns through every preset and round to Ａ again: the window stays where
    // it was put.
    for (int cycle = 1; cycle <= 8; ++cycle) {
        QTest::mouseClick(p.canvasButton(u"Command3"_s), Qt::LeftButton);
        QTest::mouseClick(size, Qt::LeftButton);
        p.draw();
        QCOMPARE(c.pos(), QPoint(123, 77));
    }
    QCOMPARE(c.pageView()->viewport()->size(), QSize(767, 667));  // "サイズ Ｂ"

    // The page keys, sent where the focus is ("戻る") and passed on by it.
    PageView *view = c.pageView();
    QPushButton *back = p.canvasButton(u"Command3"_s);
    QTest::keyClick(back, Qt::Key_End);
    QTest::keyClick(back, Qt::Key_PageUp);
    QCOMPARE(view->verticalBar()->value(), 90);
}

void TestGui::unusableFolderAndPattern()
{
    Program p;
    // Drive and folder lines naming places that are not there: the picker keeps the program
    // folder it opened in.
    const QStringList lines{u"/no/such/drive"_s, u"/no/such/folder"_s, QString(), u"f1"_s, QString(), QString(),
                            QString(), QString(), QString(), u"/"_s, u"/no/such/folder"_s};
    p.home.write(u"Nikra.pth"_s, lines.join(u"\r\n"_s));
    MainWindow &w = p.start();
    const QString root = QDir(p.root()).absolutePath();
    QCOMPARE(w.picker(1)->folder(), root);
    QCOMPARE(w.picker(2)->folder(), u"/"_s);  // its drive line could be used

    // A pattern the list cannot use is ignored, without a word on standard error.
    QTest::failOnWarning(QRegularExpression(u".*"_s));
    FilePicker *picker = w.picker(1);
    const QStringList before = picker->files();
    picker->patternBox()->setText(u"[a"_s);
    QCOMPARE(picker->fileList()->count(), before.size());
}

void TestGui::saveDialog()
{
    Program p;
    p.start();
    p.draw();
    QDir(p.root()).mkdir(u"out"_s);
    const QString out = QDir(p.path(u"out"_s)).absolutePath();
    // Answers the save dialog as a user would: browses to `out`, moves through the type
    // list by keyboard and types a name.
    auto answer = [&](int typeSteps, const QString &name) {
        QTimer::singleShot(0, &p.canvas(), [&, typeSteps, name] {
            auto *dialog = p.canvas().findChild<QFileDialog *>(u"SaveDialog"_s);
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
    QCOMPARE(head(u"page.png"_s), QByteArray("\x89PNG\r"));
    answer(-2, u"page.SVG"_s);  // PDF chosen, but the typed ending wins, in any case
    QVERIFY(head(u"page.SVG"_s).startsWith("<?xml"));

    // A file that is there is replaced only when the user agrees.
    p.messages.lines.clear();
    p.messages.yesNoAnswer = false;
    p.home.write(u"out/page.png"_s, QByteArray("kept"));
    answer(0, u"page.png"_s);
    QCOMPARE(p.messages.lines, QStringList{messageLine(u"Nikra"_s, Msg::FileExists)});
    QCOMPARE(head(u"page.png"_s), QByteArray("kept"));
}

int runGuiTests(int argc, char **argv)
{
    TestGui tests;
    return QTest::qExec(&tests, argc, argv);
}

#include "tst_gui.moc"
