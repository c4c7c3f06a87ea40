#pragma once
// The checker ("NKR Checker"): the program's own editor for its data files, with the
// reference of every Format Data key beside the text.

#include "formats/text_codec.h"
#include "platform/box_messenger.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QDateTime;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QTextDocument;
class QTextEdit;

namespace nikra {

class CheckerEditor;
class Messenger;

class CheckerWindow : public QWidget {
    Q_OBJECT

public:
    explicit CheckerWindow(Messenger &messenger, QWidget *parent = nullptr);
    ~CheckerWindow() override;

    // Opens the file named in pathBox. target: who opened it (10, 20 or 30 plus the slot for
    // the main window's boxes, 211 and 212 for the conversion window's input and output);
    // wide: show the key reference beside the text (Format Data files). A save or rename
    // writes the saved path back into pathBox.
    void openFile(int target, QLineEdit *pathBox, bool wide);

    int checkerTarget() const { return checkerTarget_; }

    // Before the text is put away (another file opened, "戻る", closing): edits not yet
    // saved are saved or dropped as the user answers. False when the user cancels, or when
    // the text could not be saved: then the text and the window stay as they are.
    bool settleUnsavedEdits();

    // What "印刷" sends to the printer: the bold header line, an empty line, the text.
    std::unique_ptr<QTextDocument> printout(const QDateTime &when) const;
    // Lets the user choose the printer; false when cancelled. The print dialog by default.
    void setPrinterChooser(std::function<bool(QPrinter &)> chooser);

Q_SIGNALS:
    // After every save and rename: the opener refreshes its file lists.
    void saved(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void fillReference();
    void setWide(bool wide);
    void showChangeCommands(bool shown);
    void changed(bool inText);
    QString editorText() const;
    void save(bool rename);
    void undo();
    void convertBreaks();
    bool fileHasOtherLineBreaks() const;
    void print();
    void setFolderMode(bool on);
    bool showFolder(const QString &path);
    void takeListedFolder();
    void makeFolder();
    void togglePathView();
    bool typeOverNameCharacter(const QKeyEvent *key);
    void showTypingMode();

    WindowMessenger messenger_;  // the boxes stand over this window
    int checkerTarget_ = 0;
    QPointer<QLineEdit> opener_;
    QString openedPath_;
    TextEncoding encoding_ = TextEncoding::Utf8;
    bool exactlyDecoded_ = true;  // false: the opened file's bytes were not all readable text

    CheckerEditor *text_ = nullptr;        // RichTextBox1
    QTextEdit *reference_ = nullptr;       // RichTextBox2
    QLineEdit *folderBox_ = nullptr;       // Text2(0)
    QLineEdit *nameBox_ = nullptr;         // Text2(1)
    QPushButton *saveButton_ = nullptr;    // Command1
    QPushButton *renameButton_ = nullptr;  // Command5
    QPushButton *undoButton_ = nullptr;    // Command3
    QPushButton *folderModeButton_ = nullptr;  // Command6
    QPushButton *newFolderButton_ = nullptr;   // Command7
    QLabel *typingMode_ = nullptr;         // overwriting or inserting in the file-name box
    QComboBox *drives_ = nullptr;          // Drive1
    QListWidget *folders_ = nullptr;       // Dir1
    QWidget *textPane_ = nullptr;

    bool loading_ = false;       // filling the controls from a file is no change
    bool undoInText_ = false;    // what "Undo" undoes: the text, or the file-name box
    bool insertMode_ = false;    // typing in the file-name box inserts instead of overwriting
    bool pathViewEnd_ = false;   // the path boxes show the end of their text
    bool folderMode_ = false;
    QString listedFolder_;       // the folder the folder list shows
    std::function<bool(QPrinter &)> choosePrinter_;
};

} // namespace nikra
