#include "tools/checker_window.h"

#include "formats/file_bytes.h"
#include "formats/messages.h"
#include "platform/busy_cursor.h"
#include "platform/folder_lists.h"
#include "platform/named_button.h"
#include "platform/program_folder.h"
#include "platform/screen_fit.h"
#include "plot/curves/colour_table.h"
#include "tools/checker_editor.h"
#include "tools/checker_reference.h"
#include "tools/checker_save.h"
#include "tools/checker_text.h"
#include "tools/data_save.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace nikra {

namespace {

// The text pane alone, and with the reference beside it (a Format Data file).
constexpr int kNarrowWidth = 540;
constexpr int kWideWidth = 880;
constexpr int kReferenceWidth = 330;

const QColor kFolderModeColour(255, 255, 192);

// Full-width characters take two half-width cells in this face, so the reference's columns
// line up.
QFont columnFont()
{
    QFont font(QStringLiteral("IPAGothic"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(10);
    return font;
}

// The text is printed whole. Qt's dialog on Linux sets its controls up again as it is shown
// and keeps offering "from page ... to page" although the option is cleared, so the choice
// is taken away once it shows.
class NoPageRange : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            for (const char *range : {"printRange", "from", "to"}) {
                if (auto *control = watched->findChild<QWidget *>(QLatin1String(range)))
                    control->setEnabled(false);
            }
        }
        return false;
    }
};

bool askPrinter(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    NoPageRange noPageRange;
    dialog.installEventFilter(&noPageRange);
    // Whatever the dialog lets through, the range is the whole text.
    if (dialog.exec() != QDialog::Accepted)
        return false;
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
    return true;
}

} // namespace

CheckerWindow::CheckerWindow(Messenger &messenger, QWidget *parent)
    : QWidget(parent, Qt::Window), messenger_(messenger, this)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("NKR Checker"));
    choosePrinter_ = [this](QPrinter &printer) { return askPrinter(this, printer); };
    buildControls();
    fillReference();
    setFolderMode(false);
    showChangeCommands(false);
    resize(kWideWidth, 620);
}

CheckerWindow::~CheckerWindow() = default;

void CheckerWindow::buildControls()
{
    folderBox_ = new QLineEdit(this);
    folderBox_->setObjectName(QStringLiteral("Text2(0)"));
    folderBox_->setToolTip(QStringLiteral("ファイルのフォルダ（▼ で変更）"));
    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName(QStringLiteral("Text2(1)"));
    nameBox_->setToolTip(QStringLiteral("ファイル名（Insert キーで上書き／挿入を切り替え）"));
    folderBox_->installEventFilter(this);
    nameBox_->installEventFilter(this);

    folderModeButton_ = namedButton(this, QStringLiteral("Command6"), QStringLiteral("▼"), QStringLiteral("保存先のフォルダを選ぶ"));
    newFolderButton_ = namedButton(this, QStringLiteral("Command7"), QString(), QStringLiteral("新しいフォルダを作る"));
    newFolderButton_->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    QPushButton *pathView = namedButton(this, QStringLiteral("Command11"), QStringLiteral("<=>"),
                                        QStringLiteral("パスの先頭と末尾の表示を切り替える"));
    for (QPushButton *b : {folderModeButton_, newFolderButton_, pathView})
        b->setFixedWidth(36);
    // The name box types over the characters after the caret until Insert is pressed; a
    // line edit draws the same thin caret either way, so the mode is said beside it.
    typingMode_ = new QLabel(this);
    typingMode_->setObjectName(QStringLiteral("TypingMode"));
    typingMode_->setToolTip(QStringLiteral("ファイル名欄の入力モード（Insert キーで切り替え）"));
    typingMode_->setAlignment(Qt::AlignCenter);
    typingMode_->setFrameShape(QFrame::StyledPanel);
    showTypingMode();

    saveButton_ = namedButton(this, QStringLiteral("Command1"), QStringLiteral("保存"), QStringLiteral("上の名前で保存する"));
    renameButton_ = namedButton(this, QStringLiteral("Command5"), QStringLiteral("改名"),
                                QStringLiteral("上の名前で保存し、開いたファイルを削除する"));
    undoButton_ = namedButton(this, QStringLiteral("Command3"), QStringLiteral("Undo"), QStringLiteral("最後の編集を元に戻す"));
    QPushButton *breaks = namedButton(this, QStringLiteral("Command4"), QStringLiteral("改行変換"),
                                      QStringLiteral("すべての改行を CR LF にそろえる"));
    QPushButton *printButton = namedButton(this, QStringLiteral("Command8"), QStringLiteral("印刷"), QStringLiteral("テキストを印刷する"));
    QPushButton *back = namedButton(this, QStringLiteral("Command2"), QStringLiteral("戻る"), QStringLiteral("チェッカーを閉じる"));

    drives_ = new QComboBox(this);
    drives_->setObjectName(QStringLiteral("Drive1"));
    folders_ = new QListWidget(this);
    folders_->setObjectName(QStringLiteral("Dir1"));
    folders_->setFixedHeight(130);
    folders_->setToolTip(QStringLiteral("ダブルクリックでフォルダを開き、フォルダ欄をクリックすると決まります"));

    text_ = new CheckerEditor(this);
    text_->setObjectName(QStringLiteral("RichTextBox1"));
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(columnFont());
    reference_ = new QTextEdit(this);
    reference_->setObjectName(QStringLiteral("RichTextBox2"));
    reference_->setReadOnly(true);
    reference_->setLineWrapMode(QTextEdit::NoWrap);
    reference_->setFont(columnFont());
    reference_->setFixedWidth(kReferenceWidth);

    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(folderBox_, 3);
    pathRow->addWidget(nameBox_, 2);
    pathRow->addWidget(typingMode_);
    pathRow->addWidget(folderModeButton_);
    pathRow->addWidget(newFolderButton_);
    pathRow->addWidget(pathView);
    auto *commandRow = new QHBoxLayout;
    for (QPushButton *b : {saveButton_, renameButton_, undoButton_, breaks, printButton})
        commandRow->addWidget(b);
    commandRow->addStretch();
    commandRow->addWidget(back);

    textPane_ = new QWidget(this);
    auto *pane = new QVBoxLayout(textPane_);
    pane->setContentsMargins(0, 0, 0, 0);
    pane->addLayout(pathRow);
    pane->addWidget(drives_);
    pane->addWidget(folders_);
    pane->addLayout(commandRow);
    pane->addWidget(text_, 1);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(textPane_, 1);
    layout->addWidget(reference_);

    connect(saveButton_, &QPushButton::clicked, this, [this] { save(false); });
    connect(renameButton_, &QPushButton::clicked, this, [this] { save(true); });
    connect(undoButton_, &QPushButton::clicked, this, &CheckerWindow::undo);
    connect(breaks, &QPushButton::clicked, this, &CheckerWindow::convertBreaks);
    connect(printButton, &QPushButton::clicked, this, &CheckerWindow::print);
    connect(folderModeButton_, &QPushButton::clicked, this, [this] { setFolderMode(!folderMode_); });
    connect(newFolderButton_, &QPushButton::clicked, this, &CheckerWindow::makeFolder);
    connect(pathView, &QPushButton::clicked, this, &CheckerWindow::togglePathView);
    connect(back, &QPushButton::clicked, this, [this] {
        if (!settleUnsavedEdits())
            return;
        setFolderMode(false);
        hide();
    });
    connect(drives_, &QComboBox::activated, this, [this](int i) { showFolder(drives_->itemData(i).toString()); });
    connect(folders_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *entry) { showFolder(folderOfEntry(entry)); });
    connect(text_, &QPlainTextEdit::textChanged, this, [this] { changed(true); });
    connect(folderBox_, &QLineEdit::textChanged, this, [this] { changed(false); });
    connect(nameBox_, &QLineEdit::textChanged, this, [this] { changed(false); });
}

void CheckerWindow::fillReference()
{
    const QString text = keyReferenceText();
    reference_->setPlainText(text);
    // The panel's text is the reference with CR LF line ends; the control holds one
    // character per line end, so the positions are counted on the same text it shows.
    const QString shown = reference_->toPlainText();
    const QList<qsizetype> squares = colourSquarePositions(shown);
    QTextCursor cursor(reference_->document());
    for (qsizetype i = 0; i < squares.size(); ++i) {
        cursor.setPosition(int(squares[i]));
        cursor.setPosition(int(squares[i]) + 1, QTextCursor::KeepAnchor);
        QTextCharFormat colour;
        colour.setForeground(pclColour(int(i)));  // past 15: white
        cursor.mergeCharFormat(colour);
    }
}

void CheckerWindow::openFile(int target, QLineEdit *pathBox, bool wide)
{
    if (isMinimized())
        showNormal();
    if (!pathBox || pathBox->text().isEmpty())
        return;
    if (!settleUnsavedEdits())
        return;
    // Read after the question: saving may have written a new name into the box.
    const QString path = pathBox->text();
    if (!QFileInfo::exists(path)) {
        messenger_.warn(programName(), messageText(Msg::FileMissing));
        pathBox->clear();
        return;
    }
    // Only an opened file changes where saves write back to: the text still shown belongs
    // to the previous opener.
    checkerTarget_ = target;
    opener_ = pathBox;
    const FolderAndName place = splitPath(path);

    loading_ = true;
    setFolderMode(false);
    text_->setFileText({});  // the previous text's memory goes before the next file is read
    folderBox_->clear();
    nameBox_->clear();
    showChangeCommands(false);
    setWide(wide);
    show();
    raise();
    activateWindow();
    std::optional<CheckerText> read;
    QString failure;
    {
        BusyCursor busy;
        read = readCheckerFile(path, [this] {
            // The question gets the normal pointer; the reading goes on busy.
            QApplication::restoreOverrideCursor();
            const bool stop = messenger_.askOkCancel(readOverTitle(), messageText(Msg::ReadOver));
            QApplication::setOverrideCursor(Qt::WaitCursor);
            return stop;
        }, &failure);
        if (read)
            text_->setFileText(read->text);
    }
    text_->document()->setModified(false);  // what stands now is the file, or nothing
    if (!read) {
        // Nothing on show that a save could write over the unread file with.
        loading_ = false;
        hide();
        messenger_.warn(programName(), messageText(Msg::FileNotRead, {path, failure}));
        return;
    }
    folderBox_->setText(place.folder);
    nameBox_->setText(place.name);
    openedPath_ = place.folder + place.name;
    encoding_ = read->encoding;
    exactlyDecoded_ = read->exact;
    loading_ = false;
}

bool CheckerWindow::settleUnsavedEdits()
{
    // The document knows whether the text differs from what was opened or saved: an edit
    // undone again is no edit.
    if (!text_->document()->isModified())
        return true;
    switch (messenger_.askYesNoCancel(programName(), messageText(Msg::UnsavedChanges, {openedPath_}))) {
    case Reply::Yes:
        save(false);
        return !text_->document()->isModified();
    case Reply::No:
        text_->document()->setModified(false);
        return true;
    case Reply::Cancel:
        break;
    }
    return false;
}

void CheckerWindow::setWide(bool wide)
{
    reference_->setVisible(wide);
    // The layout learns only at its next pass that the reference is gone; until then the
    // window may not be narrower than text and reference together.
    layout()->activate();
    resize(wide ? kWideWidth : kNarrowWidth, height());
    fitIntoScreen(*this);
}

void CheckerWindow::showChangeCommands(bool shown)
{
    for (QPushButton *b : {saveButton_, renameButton_, undoButton_})
        b->setVisible(shown);
}

void CheckerWindow::changed(bool inText)
{
    if (loading_)
        return;
    undoInText_ = inText;
    showChangeCommands(true);
}

QString CheckerWindow::editorText() const
{
    // Line breaks come out as LF, soft line breaks (Shift+Enter) included.
    return text_->fileText();
}

void CheckerWindow::save(bool rename)
{
    CheckerSave request;
    request.openedPath = openedPath_;
    request.targetPath = joinPath(folderBox_->text(), nameBox_->text());
    request.text = editorText();
    request.encoding = encoding_;
    request.exactlyDecoded = exactlyDecoded_;
    request.rename = rename;
    const CheckerSaveResult result = saveCheckerText(request, messenger_);
    if (!result.saved)
        return;
    openedPath_ = request.targetPath;
    encoding_ = result.encoding;
    exactlyDecoded_ = true;  // the file now holds what the editor shows
    text_->document()->setModified(false);
    showChangeCommands(false);
    if (opener_)
        opener_->setText(request.targetPath);
    Q_EMIT saved(request.targetPath);
}

void CheckerWindow::undo()
{
    if (undoInText_)
        text_->undo();
    else
        nameBox_->undo();
}

void CheckerWindow::convertBreaks()
{
    // The editor shows every CR LF, LF CR, lone CR and lone LF as one line break already,
    // and every line break in it, a soft one (Shift+Enter) included, is saved as CR LF: the
    // text stays as it is. A file whose breaks are not all CR LF is changed by the
    // conversion even so: it is made an edit (one step of the undo history that leaves the
    // text as it was), so "保存" and "Undo" appear as after any other.
    if (text_->document()->isModified() || !fileHasOtherLineBreaks())
        return;
    QTextCursor cursor(text_->document());
    cursor.beginEditBlock();
    cursor.insertText(QStringLiteral(" "));
    cursor.deletePreviousChar();
    cursor.endEditBlock();
}

bool CheckerWindow::fileHasOtherLineBreaks() const
{
    // CR and LF are single bytes in UTF-8 and Shift_JIS alike (no other character's bytes
    // take their values), so the file's bytes tell without decoding.
    const FileBytes file = readWholeFile(openedPath_);
    const QByteArray &bytes = file.bytes;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        else if (bytes[i] == '\r' || bytes[i] == '\n')
            return true;
    }
    return false;
}

std::unique_ptr<QTextDocument> CheckerWindow::printout(const QDateTime &when) const
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(text_->font());
    QTextCursor cursor(document.get());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    cursor.insertText(printoutHeader(when, folderBox_->text(), nameBox_->text()), bold);
    cursor.insertBlock(QTextBlockFormat(), plain);
    cursor.insertBlock(QTextBlockFormat(), plain);
    cursor.insertText(editorText(), plain);
    return document;
}

void CheckerWindow::setPrinterChooser(std::function<bool(QPrinter &)> chooser) { choosePrinter_ = std::move(chooser); }

void CheckerWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choosePrinter_ || !choosePrinter_(printer))
        return;
    BusyCursor busy;
    printout(QDateTime::currentDateTime())->print(&printer);
}

void CheckerWindow::setFolderMode(bool on)
{
    folderMode_ = on;
    folderModeButton_->setText(on ? QStringLiteral("▲") : QStringLiteral("▼"));
    folderBox_->setReadOnly(!on);
    QPalette colours = folderBox_->palette();
    colours.setColor(QPalette::Base, on ? kFolderModeColour : palette().color(QPalette::Window));
    folderBox_->setPalette(colours);
    for (QWidget *w : std::initializer_list<QWidget *>{newFolderButton_, drives_, folders_})
        w->setVisible(on);
    if (on) {
        fillDriveList(drives_);
        if (!showFolder(folderBox_->text()))
            showFolder(QDir::currentPath());
    }
}

bool CheckerWindow::showFolder(const QString &path)
{
    // A drive or folder that is not there is passed over.
    if (path.isEmpty() || !QDir(path).exists())
        return false;
    listedFolder_ = QDir::cleanPath(QDir(path).absolutePath());
    selectDriveOf(drives_, listedFolder_);
    QDir::setCurrent(listedFolder_);
    fillFolderList(folders_, listedFolder_);
    return true;
}

void CheckerWindow::takeListedFolder()
{
    folderBox_->setText(listedFolder_.endsWith(u'/') ? listedFolder_ : listedFolder_ + u'/');
    setFolderMode(false);
}

void CheckerWindow::makeFolder()
{
    const std::optional<QString> answer = messenger_.askText(QStringLiteral("フォルダの作成"), messageText(Msg::NewFolderPrompt),
                                                             QStringLiteral("新しいフォルダ"));
    if (!answer || answer->isEmpty())
        return;
    // Names are taken as the data save takes them: blanks around a name are dropped, and a
    // name of blanks only (an invisible folder) is refused with the other bad names.
    const QString name = answer->trimmed();
    if (!isSafeFolderName(name)) {
        messenger_.warn(programName(), messageText(Msg::FolderNameInvalid));
        return;
    }
    const QString folder = joinPath(listedFolder_, name);
    if (QFileInfo(folder).isDir())
        messenger_.warn(programName(), messageText(Msg::FolderNotMade));
    else if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0)
        messenger_.warn(programName(), messageText(Msg::FolderNotCreated, {folder, QString::fromLocal8Bit(std::strerror(errno))}));
    showFolder(folder);
}

void CheckerWindow::togglePathView()
{
    pathViewEnd_ = !pathViewEnd_;
    for (QLineEdit *box : {folderBox_, nameBox_})
        box->setCursorPosition(pathViewEnd_ ? int(box->text().size()) : 0);
}

bool CheckerWindow::typeOverNameCharacter(const QKeyEvent *key)
{
    if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
        insertMode_ = !insertMode_;
        showTypingMode();
        return true;
    }
    // Overwriting: a typed character first selects the one after the caret, so it replaces it.
    const QString typed = key->text();
    if (!insertMode_ && !typed.isEmpty() && typed.front().isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        && !nameBox_->hasSelectedText() && nameBox_->cursorPosition() < nameBox_->text().size())
        nameBox_->cursorForward(true, 1);
    return false;
}

void CheckerWindow::showTypingMode() { typingMode_->setText(insertMode_ ? QStringLiteral("挿入") : QStringLiteral("上書")); }

bool CheckerWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == nameBox_ && event->type() == QEvent::KeyPress)
        return typeOverNameCharacter(static_cast<QKeyEvent *>(event));
    if (watched == folderBox_ && event->type() == QEvent::MouseButtonPress && folderMode_)
        takeListedFolder();
    return QWidget::eventFilter(watched, event);
}

void CheckerWindow::closeEvent(QCloseEvent *event)
{
    if (!settleUnsavedEdits()) {
        event->ignore();
        return;
    }
    setFolderMode(false);
    event->accept();
}

} // namespace nikra
