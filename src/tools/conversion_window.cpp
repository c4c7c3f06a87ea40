#include "tools/conversion_window.h"

#include "platform/busy_cursor.h"
#include "platform/file_picker.h"
#include "platform/help_window.h"
#include "platform/named_button.h"
#include "tools/checker_window.h"
#include "tools/conversion.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace nikra {

namespace {

// The modes in the order of the mode list.
constexpr ConversionMode kModes[] = {ConversionMode::ParallelToSerial, ConversionMode::SerialToParallel,
                                     ConversionMode::SerialDifference};

// Who opened the checker: the input and the output path box of this window.
constexpr int kInputTarget = 211;
constexpr int kOutputTarget = 212;

QString convertCaption() { return QStringLiteral("変換"); }

} // namespace

ConversionWindow::ConversionWindow(Messenger &messenger, CheckerWindow &checker, const QString &programFolder,
                                   QWidget *mainWindow, QWidget *parent)
    : QWidget(parent), messenger_(messenger), checker_(checker), programFolder_(programFolder), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("NKR Conversion"));

    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("Combo1"));
    mode_->addItems({QStringLiteral("並列→直列"), QStringLiteral("直列→並列"), QStringLiteral("直列差分")});
    mode_->setToolTip(QStringLiteral("並列: x と各系列の y を並べた表　直列: 点数と x, y のブロック"));
    connect(mode_, &QComboBox::currentIndexChanged, this, [this] { showOutput(false); });

    picker_ = new FilePicker(1, QString(), QStringLiteral("*.dat"), this);
    picker_->patternBox()->setObjectName(QStringLiteral("Text1"));
    connect(picker_, &FilePicker::fileClicked, this, [this](const QString &fullName) {
        showOutput(false);
        input_->setText(fullName);
    });

    // A file saved in the checker may be new in the folder shown.
    connect(&checker_, &CheckerWindow::saved, picker_, &FilePicker::refresh);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mode_);
    layout->addWidget(picker_, 1);
    layout->addWidget(buildPathRows());
    layout->addWidget(buildCommandRow());
    resize(460, 520);

    reset();
    picker_->setFolder(programFolder_);
}

ConversionWindow::~ConversionWindow() { delete help_; }

QWidget *ConversionWindow::buildPathRows()
{
    auto *rows = new QWidget(this);
    auto *grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);

    input_ = new QLineEdit(rows);
    input_->setObjectName(QStringLiteral("Text11"));
    input_->setToolTip(QStringLiteral("変換するファイル（下の一覧から選ぶ）"));
    input_->installEventFilter(this);
    output_ = new QLineEdit(rows);
    output_->setObjectName(QStringLiteral("Text12"));
    output_->setToolTip(QStringLiteral("変換結果のファイル"));

    QPushButton *openInput = namedButton(rows, QStringLiteral("Command11"), QStringLiteral("*"),
                                         QStringLiteral("変換するファイルをチェッカーで開く"));
    openOutput_ = namedButton(rows, QStringLiteral("Command12"), QStringLiteral("*"),
                              QStringLiteral("変換結果をチェッカーで開く"));
    for (QPushButton *b : {openInput, openOutput_})
        b->setFixedWidth(28);
    connect(openInput, &QPushButton::clicked, this, [this] { checker_.openFile(kInputTarget, input_, false); });
    connect(openOutput_, &QPushButton::clicked, this, [this] { checker_.openFile(kOutputTarget, output_, false); });

    grid->addWidget(new QLabel(QStringLiteral("入力"), rows), 0, 0);
    grid->addWidget(input_, 0, 1);
    grid->addWidget(openInput, 0, 2);
    outputLabel_ = new QLabel(QStringLiteral("出力"), rows);
    grid->addWidget(outputLabel_, 1, 0);
    grid->addWidget(output_, 1, 1);
    grid->addWidget(openOutput_, 1, 2);
    return rows;
}

QWidget *ConversionWindow::buildCommandRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);

    QPushButton *pathView = namedButton(row, QStringLiteral("Command15"), QStringLiteral("<=>"),
                                        QStringLiteral("ファイル名の先頭と末尾の表示を切り替える"));
    connect(pathView, &QPushButton::clicked, this, &ConversionWindow::togglePathView);
    convertButton_ = namedButton(row, QStringLiteral("Command1"), convertCaption(), QStringLiteral("変換する"));
    connect(convertButton_, &QPushButton::clicked, this, &ConversionWindow::convert);
    QPushButton *clear = namedButton(row, QStringLiteral("Command6"), QStringLiteral("◆"),
                                     QStringLiteral("欄を消してフォルダとファイルの一覧を読み直す"));
    connect(clear, &QPushButton::clicked, this, [this] {
        reset();
        picker_->refresh();
    });
    QPushButton *help = namedButton(row, QStringLiteral("Command4"), QStringLiteral("ヘルプ"), QStringLiteral("使い方を見る"));
    connect(help, &QPushButton::clicked, this, &ConversionWindow::showHelp);
    QPushButton *back = namedButton(row, QStringLiteral("Command3"), QStringLiteral("戻る"),
                                    QStringLiteral("メイン画面に戻る"));
    connect(back, &QPushButton::clicked, this, &ConversionWindow::backToMain);
    QPushButton *quit = namedButton(row, QStringLiteral("Command2"), QStringLiteral("終了"), QStringLiteral("Nikra を終わる"));
    connect(quit, &QPushButton::clicked, this, &ConversionWindow::quitProgram);
    for (QPushButton *b : {pathView, convertButton_, clear, help, back, quit})
        layout->addWidget(b);
    return row;
}

void ConversionWindow::convert()
{
    // The button says "変換中" while a conversion runs; a second press then does nothing.
    if (convertButton_->text() != convertCaption())
        return;
    const QString input = input_->text();
    if (input.trimmed().isEmpty()) {
        messenger_.warn(conversionTitle(), messageText(Msg::ConversionNoInput));
        return;
    }
    output_->setText(conversionOutputPath(input));
    showOutput(true);

    ConversionOutcome outcome;
    {
        convertButton_->setText(QStringLiteral("変換中"));
        convertButton_->repaint();
        const BusyCursor busy;
        outcome = convertFile(kModes[mode_->currentIndex()], input, output_->text());
        convertButton_->setText(convertCaption());
    }
    if (outcome.written) {
        picker_->refresh();  // the new file joins the list
        return;
    }
    // Nothing was written: no output path to open.
    showOutput(false);
    messenger_.warn(conversionTitle(), outcome.message());
}

void ConversionWindow::showOutput(bool shown)
{
    for (QWidget *w : {static_cast<QWidget *>(output_), outputLabel_, static_cast<QWidget *>(openOutput_)})
        w->setVisible(shown);
}

void ConversionWindow::reset()
{
    mode_->setCurrentIndex(0);
    input_->clear();
    showOutput(false);
}

void ConversionWindow::togglePathView()
{
    // The start of both paths, or their end (where the file names are).
    for (QLineEdit *box : {input_, output_})
        box->setCursorPosition(pathViewEnd_ ? 0 : int(box->text().size()));
    pathViewEnd_ = !pathViewEnd_;
}

void ConversionWindow::showHelp()
{
    picker_->setFolder(programFolder_);
    if (!help_)
        help_ = new HelpWindow(nullptr);
    help_->showAt(QStringLiteral("tools-conversion"));
}

void ConversionWindow::backToMain()
{
    reset();
    hide();
    if (mainWindow_)
        mainWindow_->show();
}

void ConversionWindow::quitProgram()
{
    // Closing the main window ends the program with all its windows.
    hide();
    if (help_)
        help_->close();
    if (mainWindow_)
        mainWindow_->close();
    else
        QCoreApplication::quit();
}

void ConversionWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (mainWindow_)
        mainWindow_->show();
}

bool ConversionWindow::eventFilter(QObject *watched, QEvent *event)
{
    // A click into the input path empties it for the next choice from the file list.
    if (watched == input_ && event->type() == QEvent::MouseButtonPress)
        input_->clear();
    return QWidget::eventFilter(watched, event);
}

} // namespace nikra
