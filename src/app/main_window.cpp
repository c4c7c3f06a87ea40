#include "app/main_window.h"

#include "app/size_presets.h"
#include "canvas/canvas_window.h"
#include "platform/file_picker.h"
#include "platform/help_window.h"
#include "platform/named_button.h"
#include "platform/program_folder.h"
#include "platform/settings_store.h"
#include "tools/checker_window.h"
#include "tools/checksum_manifest.h"
#include "tools/conversion_window.h"
#include "tools/data_save_window.h"
#include "tools/search_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStorageInfo>
#include <QUrl>
#include <QVBoxLayout>

namespace nikra {

namespace {

const QStringList kHeaderAligns{QStringLiteral("左端"), QStringLiteral("中央"), QStringLiteral("右端")};

constexpr double kTwipsPerScreenPixel = 15;  // window positions are kept in twips

QPoint twipsToPixels(int x, int y) { return QPoint(rnd(x / kTwipsPerScreenPixel), rnd(y / kTwipsPerScreenPixel)); }

// The folder part of a full name, up to and including its last separator (the name's own
// last character never counts); empty when there is none.
QString folderPart(const QString &name)
{
    const qsizetype cut = name.left(name.size() - 1).lastIndexOf(u'/');
    return cut < 0 ? QString() : name.left(cut + 1);
}

const char16_t *kPickerTitles[] = {u"書式データファイル", u"数値データファイル", u"コメントデータファイル"};
const char16_t *kBoxTips[] = {u"書式データファイル（クリックして下のファイル一覧から選ぶ）",
                              u"数値データファイル（クリックして下のファイル一覧から選ぶ）",
                              u"コメントデータファイル（クリックして下のファイル一覧から選ぶ）"};

} // namespace

MainWindow::MainWindow(Messenger &messenger, SettingsStore &settings, const QString &programFolder, QWidget *parent)
    : QWidget(parent), messenger_(messenger), settings_(settings), programFolder_(programFolder),
      canvasPosition_(twipsToPixels(1000, 500))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(programName());

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    buildPickers(grid);
    buildSlots(grid);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addWidget(buildHeaderRow());
    layout->addWidget(buildCommandRow());

    canvas_ = new CanvasWindow(*this);
    connect(canvas_, &CanvasWindow::freshPageDrawn, this, &MainWindow::freshPageDrawn);
    move(twipsToPixels(1000, 1000));
}

MainWindow::~MainWindow()
{
    delete canvas_;
    delete help_;
    delete checker_;
    delete conversion_;
    delete dataSave_;
    delete search_;
}

void MainWindow::buildPickers(QGridLayout *grid)
{
    const QString patterns[] = {QStringLiteral("*.dat"), QStringLiteral("*.dat"), QStringLiteral("*.txt")};
    for (int k = 0; k < 3; ++k) {
        auto *p = new FilePicker(k + 1, QString::fromUtf16(kPickerTitles[k]), patterns[k], this);
        pickers_[std::size_t(k)] = p;
        connect(p, &FilePicker::fileClicked, this, [this, k](const QString &name) { fileChosen(k + 1, name); });
        grid->addWidget(p, 0, 1 + 2 * k, 1, 2);
    }
    // The Format and Graph Data folder lists grow when pressed with the left button and
    // shrink back with the right one (5550, 3660 and 1560 twips).
    pickers_[0]->setFolderListHeights(370, 104);
    pickers_[1]->setFolderListHeights(244, 104);

    // The picker buttons stand under the pickers, above the slots.
    QPushButton *refresh = namedButton(this, QStringLiteral("Command1(0)"), QStringLiteral("◆"), QStringLiteral("フォルダとファイルの一覧を読み直す"));
    connect(refresh, &QPushButton::clicked, this, &MainWindow::refreshPickers);
    QPushButton *copy2 = namedButton(this, QStringLiteral("Command2(0)"), QStringLiteral("▲"),
                                QStringLiteral("書式データと同じフォルダを開く"));
    connect(copy2, &QPushButton::clicked, this, [this] { pickers_[1]->setFolder(pickers_[0]->folder()); });
    QPushButton *copy3 = namedButton(this, QStringLiteral("Command3(0)"), QStringLiteral("▲"),
                                QStringLiteral("数値データと同じフォルダを開く"));
    connect(copy3, &QPushButton::clicked, this, [this] { pickers_[2]->setFolder(pickers_[1]->folder()); });
    for (QPushButton *b : {refresh, copy2, copy3})
        b->setFixedWidth(28);
    grid->addWidget(refresh, 1, 0);
    grid->addWidget(copy2, 1, 3, Qt::AlignLeft);
    grid->addWidget(copy3, 1, 5, Qt::AlignLeft);
}

void MainWindow::buildSlots(QGridLayout *grid)
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const int row = 1 + slot;
        auto *number = new QLabel(QString::number(slot), this);
        number->setAlignment(Qt::AlignCenter);
        grid->addWidget(number, row, 0);
        for (int kind = 1; kind <= 3; ++kind) {
            auto *box = new QLineEdit(this);
            box->setObjectName(QStringLiteral("Text%1(%2)").arg(kind).arg(slot));
            box->setToolTip(QString::fromUtf16(kBoxTips[kind - 1]));
            box->setMinimumWidth(200);
            box->installEventFilter(this);
            boxes_[std::size_t(kind - 1)][std::size_t(slot)] = box;
            QPushButton *open = namedButton(this, QStringLiteral("Command%1(%2)").arg(kind).arg(slot), QStringLiteral("*"),
                                            QStringLiteral("このファイルをチェッカーで開く"));
            open->setFixedWidth(22);
            connect(open, &QPushButton::clicked, this, [this, kind, slot] { openInChecker(kind, slot); });
            grid->addWidget(box, row, 2 * kind - 1);
            grid->addWidget(open, row, 2 * kind);
        }
    }
    // The pattern boxes are the pickers' own: Text1(0) and so on.
    for (int kind = 1; kind <= 3; ++kind)
        boxes_[std::size_t(kind - 1)][0] = pickers_[std::size_t(kind - 1)]->patternBox();
}

QWidget *MainWindow::buildHeaderRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(QStringLiteral("ヘッダー"), row);
    label->setObjectName(QStringLiteral("Label4"));
    headerText_ = new QLineEdit(row);
    headerText_->setObjectName(QStringLiteral("Text4"));
    headerText_->setToolTip(QStringLiteral("ページの一番上に書く見出し"));
    headerFace_ = new QComboBox(row);
    headerFace_->setObjectName(QStringLiteral("Combo1"));
    headerFace_->setEditable(true);  // any face typed there is used as typed
    headerFace_->addItems(headerFaceChoices());
    headerSize_ = new QComboBox(row);
    headerSize_->setObjectName(QStringLiteral("Combo2"));
    headerSize_->setEditable(true);
    for (int i = 1; i <= 9; ++i)
        headerSize_->addItem(QString::number(i));
    headerAlign_ = new QComboBox(row);
    headerAlign_->setObjectName(QStringLiteral("Combo3"));
    headerAlign_->addItems(kHeaderAligns);
    headerFace_->setCurrentIndex(0);
    headerSize_->setCurrentIndex(2);   // "3"
    headerAlign_->setCurrentIndex(1);  // "中央"
    headerFace_->setToolTip(QStringLiteral("見出しの書体"));
    headerSize_->setToolTip(QStringLiteral("見出しの大きさ"));
    headerAlign_->setToolTip(QStringLiteral("見出しの位置"));
    layout->addWidget(label);
    layout->addWidget(headerText_, 1);
    layout->addWidget(headerFace_);
    layout->addWidget(headerSize_);
    layout->addWidget(headerAlign_);
    return row;
}

QWidget *MainWindow::buildCommandRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    QPushButton *drawButton = namedButton(this, QStringLiteral("Command4"), QStringLiteral("描画"), QStringLiteral("ページを描く"));
    drawButton->setDefault(true);
    connect(drawButton, &QPushButton::clicked, this, &MainWindow::draw);
    sizeButton_ = namedButton(this, QStringLiteral("Command7"), QStringLiteral("サイズ Ａ"), QStringLiteral("キャンバス画面の大きさを切り替える"));
    connect(sizeButton_, &QPushButton::clicked, this, &MainWindow::cycleSize);
    saveButton_ = namedButton(this, QStringLiteral("Command8"), QStringLiteral("保存"),
                              QStringLiteral("スロットのファイル一式を日付の名前のフォルダに保存する"));
    connect(saveButton_, &QPushButton::clicked, this, &MainWindow::showDataSave);
    saveButton_->hide();
    QPushButton *search = namedButton(this, QStringLiteral("Command9"), QStringLiteral("検索"),
                                      QStringLiteral("保存したスロットの組を呼び戻す"));
    connect(search, &QPushButton::clicked, this, &MainWindow::showSearch);
    QPushButton *convert = namedButton(this, QStringLiteral("Command12"), QStringLiteral("≫"),
                                       QStringLiteral("数値データの並べ方を変換する"));
    connect(convert, &QPushButton::clicked, this, &MainWindow::showConversion);
    QPushButton *pathView = namedButton(this, QStringLiteral("Command11"), QStringLiteral("<=>"),
                                   QStringLiteral("ファイル名の先頭と末尾の表示を切り替える"));
    connect(pathView, &QPushButton::clicked, this, &MainWindow::togglePathView);
    QPushButton *help = namedButton(this, QStringLiteral("Command6"), QStringLiteral("ヘルプ"), QStringLiteral("使い方を見る"));
    connect(help, &QPushButton::clicked, this, &MainWindow::showHelp);
    QPushButton *home = namedButton(this, QStringLiteral("Command10"), QStringLiteral("HP"), QStringLiteral("ホームページを開く"));
    connect(home, &QPushButton::clicked, this, &MainWindow::openHomePage);
    QPushButton *quit = namedButton(this, QStringLiteral("Command5"), QStringLiteral("終了"), QStringLiteral("Nikra を終わる"));
    connect(quit, &QPushButton::clicked, this, &MainWindow::close);
    for (QPushButton *b : {drawButton, sizeButton_, saveButton_, search, convert, pathView, help, home})
        layout->addWidget(b);
    layout->addStretch();
    layout->addWidget(quit);
    return row;
}

QLineEdit *MainWindow::slotBox(int kind, int slot) const { return boxes_[std::size_t(kind - 1)][std::size_t(slot)]; }

FilePicker *MainWindow::picker(int kind) const { return pickers_[std::size_t(kind - 1)]; }

void MainWindow::start()
{
    sizeButton_->setText(presetForLetter(settings_.sizeLetter()).caption);
    QDir::setCurrent(programFolder_);
    // The pickers open in the program's folder; a drive or folder line of the path memory
    // file that cannot be used leaves them there.
    for (FilePicker *p : pickers_)
        p->setFolder(programFolder_);
    const QString pth = joinPath(programFolder_, pathMemoryFileName());
    QString failure;
    const auto memory = PathMemory::read(pth, &failure);
    if (memory) {
        restore(*memory);
        return;
    }
    // A file that is there but no path memory file (a pipe, a device, something large) is
    // said, so that the next draw's new Nikra.pth does not come as a surprise.
    if (!PathMemory::remembersNothing(pth))
        messenger_.warn(programName(), messageText(Msg::FileNotRead, {pth, failure}));
    firstStart();
}

void MainWindow::firstStart()
{
    messenger_.inform(programName(), messageText(Msg::Welcome));
    pickers_[0]->setPattern(QStringLiteral("*.dat"));
    pickers_[1]->setPattern(QStringLiteral("*.dat"));
    pickers_[2]->setPattern(QStringLiteral("*.txt"));
    headerFace_->setCurrentIndex(0);
    headerSize_->setCurrentIndex(3);  // "4"
    headerAlign_->setCurrentIndex(0); // "左端"
    setSlots(sampleSlots(programFolder_));
}

void MainWindow::restore(const PathMemory &memory)
{
    // Every line the file has is used; controls without a line keep their values, and a
    // drive or folder that is no longer there is passed over.
    for (int k = 1; k <= 3; ++k) {
        const auto kind = PickerKind(k - 1);
        if (const auto drive = memory.pickerDrive(kind))
            picker(k)->setDrive(*drive);
        if (const auto folder = memory.pickerFolder(kind))
            picker(k)->setFolder(*folder);
        if (const auto pattern = memory.pickerPattern(kind))
            picker(k)->setPattern(*pattern);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            if (const auto name = memory.name(kind, slot))
                slotBox(k, slot)->setText(*name);
        }
    }
    if (const auto text = memory.headerText())
        headerText_->setText(*text);
    auto position = [](QComboBox *box, std::optional<int> index) {
        if (index && *index >= -1 && *index < box->count())
            box->setCurrentIndex(*index);
    };
    position(headerFace_, memory.headerFontIndex());
    position(headerSize_, memory.headerSizeIndex());
    position(headerAlign_, memory.headerAlignIndex());
}

void MainWindow::loadSlotSet(const PathMemory &memory)
{
    // Fields after the file's end stay cleared.
    setSlots(SlotSet{});
    headerText_->clear();
    restore(memory);
}

SlotSet MainWindow::slots() const
{
    SlotSet s;
    for (int slot = 1; slot <= kSlotCount; ++slot)
        s[slot] = {slotBox(1, slot)->text(), slotBox(2, slot)->text(), slotBox(3, slot)->text()};
    return s;
}

void MainWindow::setSlots(const SlotSet &s)
{
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        slotBox(1, slot)->setText(s[slot].format);
        slotBox(2, slot)->setText(s[slot].graph);
        slotBox(3, slot)->setText(s[slot].comment);
    }
}

HeaderSettings MainWindow::header() const
{
    const int align = headerAlign_->currentIndex();
    return {headerText_->text(), headerFace_->currentText(), headerSize_->currentText(),
            align >= 0 && align <= 2 ? HeaderAlign(align) : HeaderAlign::None};
}

CanvasPage MainWindow::drawPage()
{
    SlotSet s = slots();
    PageJob job{s, view_, messenger_, header(), screenDpi_};
    // On a screen of more physical pixels than logical ones the page is drawn at its
    // physical resolution: as large as ever, but crisp.
    job.pixelRatio = canvas_ ? canvas_->devicePixelRatioF() : devicePixelRatioF();
    CanvasPage page = drawCanvasPage(job);
    setSlots(s);  // the names of missing files are gone
    return page;
}

PathMemory::Contents MainWindow::pathMemoryContents() const
{
    PathMemory::Contents c;
    for (int k = 1; k <= 3; ++k)
        c.pickers[std::size_t(k - 1)] = {picker(k)->drive(), picker(k)->folder(), picker(k)->patternBox()->text()};
    c.slots = slots();
    c.headerText = headerText_->text();
    c.headerFontIndex = headerFace_->currentIndex();
    c.headerSizeIndex = headerSize_->currentIndex();
    c.headerAlignIndex = headerAlign_->currentIndex();
    return c;
}

void MainWindow::writePathMemoryCopies()
{
    // Housekeeping: a copy that cannot be written is passed over.
    QDir::setCurrent(programFolder_);
    const PathMemory::Contents contents = pathMemoryContents();
    PathMemory::write(joinPath(programFolder_, pathMemoryFileName()), contents);
    // The copies beside the first Format and Graph Data files let the search window find
    // the set again; a saved set's folder keeps the Nikra.pth its checksums cover.
    for (int kind : {1, 2}) {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const QString name = slotBox(kind, slot)->text();
            if (!name.isEmpty()) {
                const QString folder = folderPart(name);
                if (!holdsSavedSet(folder.isEmpty() ? programFolder_ : folder))
                    PathMemory::write(joinPath(folder, pathMemoryFileName()), contents);
                break;
            }
        }
    }
}

void MainWindow::draw()
{
    view_.resetPans();
    // Scaling: the canvas window at the preset's size and its remembered place.
    if (const auto preset = presetForCaption(sizeButton_->text()))
        canvas_->setClientTwips(preset->widthTwips, preset->heightTwips, preset->horizontalBar);
    canvas_->place(canvasPosition_);
    hide();

    // A slot without a Format Data file keeps no other names.
    SlotSet s = slots();
    s.dropUndrawnSlots();
    setSlots(s);

    canvas_->drawFresh();
}

void MainWindow::freshPageDrawn(const CanvasPage &page)
{
    writePathMemoryCopies();
    warnIfBeyondPrintedPage(page, messenger_);
}

void MainWindow::canvasClosed(bool back)
{
    if (back)
        saveButton_->show();
    show();
}

void MainWindow::fileChosen(int kind, const QString &fullName)
{
    if (slotTarget_ / 10 != kind || slotTarget_ % 10 < 1 || slotTarget_ % 10 > kSlotCount)
        return;
    slotBox(kind, slotTarget_ % 10)->setText(fullName);
    slotTarget_ = 0;
}

void MainWindow::refreshPickers()
{
    for (FilePicker *p : pickers_)
        p->refresh();
}

void MainWindow::cycleSize()
{
    if (const auto next = nextPreset(sizeButton_->text())) {
        sizeButton_->setText(next->caption);
        settings_.setSizeLetter(next->letter);
    }
}

void MainWindow::togglePathView()
{
    // The start of every path, or its end (where the file name is).
    for (int kind = 1; kind <= 3; ++kind) {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            QLineEdit *box = slotBox(kind, slot);
            box->setCursorPosition(pathViewEnd_ ? std::min<int>(1, int(box->text().size())) : int(box->text().size()));
        }
    }
    pathViewEnd_ = !pathViewEnd_;
}

void MainWindow::showHelp()
{
    if (!help_)
        help_ = new HelpWindow(nullptr);
    help_->showAt();
}

void MainWindow::openHomePage()
{
    const QString address = settings_.homePage();
    if (address.isEmpty())
        showHelp();
    else
        QDesktopServices::openUrl(QUrl(address));  // a failing browser start says nothing
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        for (int kind = 1; kind <= 3; ++kind) {
            for (int slot = 1; slot <= kSlotCount; ++slot) {
                if (watched != slotBox(kind, slot))
                    continue;
                if (event->type() == QEvent::MouseButtonPress) {
                    // A click empties the box and makes it the one the file list fills.
                    slotBox(kind, slot)->clear();
                    slotTarget_ = 10 * kind + slot;
                } else {
                    // A double click steps through the folder's files.
                    slotBox(kind, slot)->setText(picker(kind)->stepSelection());
                }
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Ending the main window ends the program with all its windows, once the checker's
    // unsaved edits are saved or dropped; cancelled, nothing closes.
    if (checker_ && !checker_->settleUnsavedEdits()) {
        event->ignore();
        return;
    }
    if (help_)
        help_->close();
    for (QWidget *w : {static_cast<QWidget *>(checker_), static_cast<QWidget *>(conversion_),
                       static_cast<QWidget *>(dataSave_), static_cast<QWidget *>(search_)}) {
        if (w)
            w->hide();
    }
    canvas_->hide();
    event->accept();
    QApplication::quit();
}

} // namespace nikra
