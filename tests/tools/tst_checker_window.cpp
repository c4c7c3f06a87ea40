// The checker window opened from the main window's "*" buttons and driven through its
// controls, found by their names, with the messages recorded instead of shown.

#include "platform/box_messenger.h"
#include "support/program_under_test.h"
#include "tools/checker_text.h"
#include "tools/checker_window.h"

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QRadioButton>
#include <QTextBlock>

using namespace nikra;
using namespace nikra::test;
using namespace Qt::StringLiterals;

namespace {

// The main window over a folder of samples, its checker, and the checker's controls by name.
struct Checker : Program {
    Checker()
    {
        start();
        messages.lines.clear();
    }
    CheckerWindow &checker() const { return *main->checker(); }
    template <class T = QPushButton> T *control(const QString &name) const { return checker().findChild<T *>(name); }
    QLineEdit *folderBox() const { return control<QLineEdit>(u"Text2(0)"_s); }
    QLineEdit *nameBox() const { return control<QLineEdit>(u"Text2(1)"_s); }
    QPlainTextEdit *text() const { return control<QPlainTextEdit>(u"RichTextBox1"_s); }
    // Presses a slot's "*" button (kind 1 Format, 2 Graph, 3 Comment).
    void open(int kind, int slot) const
    {
        main->findChild<QPushButton *>(u"Command%1(%2)"_s.arg(kind).arg(slot))->click();
    }
    void open(int kind, int slot, const QString &path) const
    {
        main->slotBox(kind, slot)->setText(path);
        open(kind, slot);
    }
    // Save, undo and rename come and go together; save stands for them.
    bool changeCommandsShown() const { return control(u"Command1"_s)->isVisible(); }
};

class CheckerWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void openingFiles();
    void saveRenameAndWriteBack();
    void unsavedEditsAreSavedOrDroppedAsAnswered();
    void lineBreakButton();
    void longLinesKeepTheirBreaks();
    void folderMode();
    void printingWholeText();
};

void CheckerWindowTest::openingFiles()
{
    Checker p;
    p.open(1, 1);
    CheckerWindow &w = p.checker();
    QCOMPARE(p.nameBox()->text(), u"frmnkr1.dat"_s);
    w.close();

    // A missing file is said, its name cleared.
    p.open(2, 5, p.home.path(u"gone.dat"_s));
    QCOMPARE(p.messages.lines, QStringList{messageLine(programName(), Msg::FileMissing)});
    QVERIFY(p.main->slotBox(2, 5)->text().isEmpty());
    QVERIFY(!p.checker().isVisible());

    // The long-file question under its title.
    p.messages.lines.clear();
    p.open(2, 4, p.home.write(u"long.dat"_s, QByteArray("1, 2\n").repeated(10001)));
    QCOMPARE(p.messages.lines, QStringList{messageLine(readOverTitle(), Msg::ReadOver)});

    // The text on show keeps saving back to the box it came from.
    p.open(2, 1);
    p.open(1, 6, p.home.path(u"gone.dat"_s));
    p.text()->appendPlainText(u"1, 2"_s);
    p.control(u"Command1"_s)->click();
    QCOMPARE(p.checker().checkerTarget(), 21);
    QCOMPARE(p.main->slotBox(2, 1)->text(), p.home.path(u"g01.dat"_s));
    QVERIFY(p.main->slotBox(1, 6)->text().isEmpty());
}

void CheckerWindowTest::saveRenameAndWriteBack()
{
    Checker p;
    const QString a = p.home.write(u"a.dat"_s, QByteArray("1, 2\n3, 4\n"));
    p.open(2, 3, a);
    p.text()->appendPlainText(u"5, 6"_s);
    QVERIFY(p.changeCommandsShown());
    p.control(u"Command1"_s)->click();
    QCOMPARE(fileContents(a), "1, 2\r\n3, 4\r\n5, 6\r\n");
    QVERIFY(!p.changeCommandsShown());

    // Under a new name: the slot box follows, the opened file stays.
    p.nameBox()->setText(u"b.dat"_s);
    p.control(u"Command1"_s)->click();
    const QString b = p.home.path(u"b.dat"_s);
    QCOMPARE(p.main->slotBox(2, 3)->text(), b);
    QVERIFY(QFile::exists(a) && QFile::exists(b));

    // Rename onto an existing file: No leaves both files and the slot box. The question
    // stands over the checker, not over the main window behind it.
    p.main->show();
    BoxMessenger boxes(p.main.get());
    QWidget *over = nullptr;
    p.messages.onMessage = [&] { over = boxes.dialogParent(); };
    p.nameBox()->setText(u"a.dat"_s);
    p.messages.yesNoAnswer = false;
    p.control(u"Command5"_s)->click();
    QCOMPARE(p.messages.lines, QStringList{messageLine(programName(), Msg::FileExists)});
    QCOMPARE(over, &p.checker());
    QCOMPARE(p.main->slotBox(2, 3)->text(), b);
    QVERIFY(QFile::exists(b));

    // Rename to a new name: the file opened last (b.dat) is gone, a.dat untouched.
    p.nameBox()->setText(u"c.dat"_s);
    p.control(u"Command5"_s)->click();
    const QString c = p.home.path(u"c.dat"_s);
    QVERIFY(!QFile::exists(b));
    QCOMPARE(fileContents(c), "1, 2\r\n3, 4\r\n5, 6\r\n");
    QCOMPARE(p.main->slotBox(2, 3)->text(), c);

    // A save or rename always goes to the file opened, whatever the slot box says meanwhile.
    p.main->slotBox(2, 3)->setText(a);
    p.text()->appendPlainText(u"7, 8"_s);
    p.control(u"Command5"_s)->click();
    QCOMPARE(fileContents(a), "1, 2\r\n3, 4\r\n5, 6\r\n");
    QVERIFY(fileContents(c).endsWith("7, 8\r\n"));
    QCOMPARE(p.main->slotBox(2, 3)->text(), c);
}

void CheckerWindowTest::unsavedEditsAreSavedOrDroppedAsAnswered()
{
    Checker p;
    CheckerWindow &w = p.checker();
    const QString a = p.home.write(u"a.dat"_s, QByteArray("1, 2\r\n"));
    p.open(2, 1, a);
    p.text()->appendPlainText(u"3, 4"_s);
    const QString question = messageLine(programName(), Msg::UnsavedChanges, {a});

    // Cancel: another file's "*", "戻る", closing the checker and ending the program all
    // leave the text and the window as they were.
    p.messages.yesNoCancelAnswer = Reply::Cancel;
    p.open(3, 1);
    p.control(u"Command2"_s)->click();
    w.close();
    p.main->close();
    QCOMPARE(p.messages.lines, QStringList(4, question));
    QVERIFY(w.isVisible());
    QCOMPARE(p.text()->toPlainText(), u"1, 2\n3, 4"_s);
    QCOMPARE(fileContents(a), "1, 2\r\n");

    // Yes, but the save is declined (the new name is taken): still nothing lost.
    p.messages.lines.clear();
    p.messages.yesNoCancelAnswer = Reply::Yes;
    p.messages.yesNoAnswer = false;
    p.nameBox()->setText(u"cmtnkr1.txt"_s);
    p.control(u"Command2"_s)->click();
    QCOMPARE(p.messages.lines, (QStringList{question, messageLine(programName(), Msg::FileExists)}));
    QVERIFY(w.isVisible());
    QCOMPARE(p.text()->toPlainText(), u"1, 2\n3, 4"_s);

    // Yes saves, then the next file opens.
    p.nameBox()->setText(u"a.dat"_s);
    p.open(3, 1);
    QCOMPARE(fileContents(a), "1, 2\r\n3, 4\r\n");

    // No drops the edits and "戻る" closes.
    p.open(2, 1);
    p.text()->appendPlainText(u"5, 6"_s);
    p.messages.yesNoCancelAnswer = Reply::No;
    p.control(u"Command2"_s)->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(fileContents(a), "1, 2\r\n3, 4\r\n");
}

void CheckerWindowTest::lineBreakButton()
{
    Checker p;
    // The line-break button changes a file whose breaks are not all CR LF, as an edit
    // would. A soft break (Shift+Enter) is one too; all are saved as CR LF.
    const QString path = p.home.write(u"mixed.dat"_s, QByteArray("1\n2\r3\r\n"));
    p.open(2, 1, path);
    p.text()->moveCursor(QTextCursor::End);
    QTest::keyClick(p.text(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(p.text(), u"4"_s);
    p.control(u"Command4"_s)->click();
    QVERIFY(p.changeCommandsShown());
    p.control(u"Command1"_s)->click();
    QCOMPARE(fileContents(path), "1\r\n2\r\n3\r\n4\r\n");
}

void CheckerWindowTest::longLinesKeepTheirBreaks()
{
    // A line longer than the editor's paragraphs is shown cut over several rows; typing and
    // saving see the line as the file has it, and the break before a second such line stays.
    Checker p;
    QString line;
    while (line.size() < kEditorParagraphLength + 100)
        line += u"%1, "_s.arg(line.size() % 997);
    const QString path = p.home.write(u"long.dat"_s, u"1, 2\r\n"_s + line + u"\u00a0\r\n"_s + line + u"\r\n3, 4\r\n"_s);
    p.open(2, 1, path);
    QPlainTextEdit *text = p.text();
    const int cut = 5 + int(kEditorParagraphLength) + 1;  // where the row after the cut starts
    QCOMPARE(text->document()->findBlock(cut).position(), cut);
    auto placeCursor = [text](int at) {
        QTextCursor c(text->document());
        c.setPosition(at);
        text->setTextCursor(c);
    };

    // Enter after the cut breaks the line; Delete and Backspace at the cut take the
    // characters beside it.
    placeCursor(cut + 10);
    QTest::keyClick(text, Qt::Key_Return);
    placeCursor(cut - 1);
    QTest::keyClick(text, Qt::Key_Delete);
    placeCursor(cut);
    QTest::keyClick(text, Qt::Key_Backspace);
    p.control(u"Command1"_s)->click();
    QString saved = line;
    saved.insert(kEditorParagraphLength + 10, u"\r\n"_s).remove(kEditorParagraphLength - 1, 2);
    QCOMPARE(fileContents(path), (u"1, 2\r\n"_s + saved + u"\u00a0\r\n"_s + line + u"\r\n3, 4\r\n"_s).toUtf8());
}

void CheckerWindowTest::folderMode()
{
    Checker p;
    p.open(1, 1);
    p.control(u"Command6"_s)->click();

    // New folders: a bad name (blanks too) is refused, a good one made and listed.
    p.messages.textAnswer = u" \u3000 "_s;
    p.control(u"Command7"_s)->click();
    QCOMPARE(p.messages.lines.last(), messageLine(programName(), Msg::FolderNameInvalid));
    p.messages.textAnswer = u"new"_s;
    p.control(u"Command7"_s)->click();
    // A file in the way is said with the system's reason.
    const QString file = p.home.write(u"new/file"_s, QByteArray());
    p.messages.textAnswer = u"file"_s;
    p.control(u"Command7"_s)->click();
    QCOMPARE(p.messages.lines.last(), messageLine(programName(), Msg::FolderNotCreated, {file, systemReason(EEXIST)}));

    // A click into the folder box takes the listed folder, the new one, and ends folder mode.
    QTest::mouseClick(p.folderBox(), Qt::LeftButton);
    QCOMPARE(p.folderBox()->text(), p.home.path(u"new/"_s));
    QVERIFY(p.folderBox()->isReadOnly());
    p.control(u"Command1"_s)->click();
    QCOMPARE(p.main->slotBox(1, 1)->text(), p.home.path(u"new/frmnkr1.dat"_s));
}

void CheckerWindowTest::printingWholeText()
{
    Checker p;
    p.open(3, 2);
    // The print dialog offers no page range: the text is printed whole.
    bool rangeOffered = true;
    QTimer::singleShot(0, &p.checker(), [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        auto *range = dialog ? dialog->findChild<QRadioButton *>(u"printRange"_s) : nullptr;
        rangeOffered = !range || range->isEnabled();
        if (dialog)
            dialog->close();
    });
    p.control(u"Command8"_s)->click();
    QVERIFY(!rangeOffered);

    // "印刷" sends it to the chosen printer.
    const QString pdf = p.home.path(u"printout.pdf"_s);
    p.checker().setPrinterChooser([&](QPrinter &printer) {
        printer.setOutputFileName(pdf);
        return true;
    });
    p.control(u"Command8"_s)->click();
    QVERIFY(fileContents(pdf).startsWith("%PDF"));
}

} // namespace

int runCheckerWindowTests(int argc, char **argv)
{
    CheckerWindowTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_checker_window.moc"
