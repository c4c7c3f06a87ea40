#include "canvas/canvas_window.h"

#include "canvas/page_file_name.h"
#include "canvas/message_log.h"
#include "canvas/message_strip.h"
#include "canvas/page_host.h"
#include "canvas/page_watcher.h"
#include "canvas/pass_runner.h"
#include "platform/busy_cursor.h"
#include "platform/named_button.h"
#include "formats/range_writeback.h"
#include "plot/canvas_surface.h"
#include "plot/device_profile.h"
#include "plot/printer_surface.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLocale>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace nikra {

namespace {

const QStringList kSlotChoices{QStringLiteral("1-6"), QStringLiteral("1"),   QStringLiteral("2"),
                               QStringLiteral("3"),   QStringLiteral("4"),   QStringLiteral("5"),
                               QStringLiteral("6"),   QStringLiteral("1-2"), QStringLiteral("3-4"),
                               QStringLiteral("5-6")};

// A pass shorter than this shows no progress bar.
constexpr int kProgressAfterMs = 330;

// Printing to a PDF file makes the file as the save command does: whole or not at all.
bool printsToPdfFile(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

std::unique_ptr<QPrinter> defaultPrinter()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

} // namespace

CanvasWindow::CanvasWindow(PageHost &host, QWidget *parent)
    : QWidget(parent, Qt::Window), host_(host), view_(new PageView(host.selection(), this)),
      slotChooser_(new QComboBox(this)), strip_(new MessageStrip(view_->viewport())),
      progress_(new QProgressBar(view_->viewport())), runner_(new PassRunner(this)),
      watcher_(new PageWatcher(host.settings(), this)), printerFactory_(defaultPrinter)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("NKR Canvas"));

    slotChooser_->setObjectName(QStringLiteral("Combo1"));
    slotChooser_->addItems(kSlotChoices);
    slotChooser_->setToolTip(QStringLiteral("表示を動かすスロット"));

    struct ViewButton {
        QStyle::StandardPixmap icon;
        const char16_t *text;
        const char16_t *tip;
    };
    const ViewButton views[] = {
        {QStyle::SP_ArrowLeft, u"", u"左へ: ｘの範囲を１目盛り小さい方へ"},
        {QStyle::SP_ArrowRight, u"", u"右へ: ｘの範囲を１目盛り大きい方へ"},
        {QStyle::SP_ArrowDown, u"", u"下へ: ｙの範囲を１目盛り小さい方へ"},
        {QStyle::SP_ArrowUp, u"", u"上へ: ｙの範囲を１目盛り大きい方へ"},
        {QStyle::SP_CustomBase, u"⌂", u"元に戻す: ずらしと目盛りの増減を取り消す"},
        {QStyle::SP_CustomBase, u"＋", u"広く: 両軸の目盛りを１つ増やす"},
        {QStyle::SP_CustomBase, u"－", u"狭く: 両軸の目盛りを１つ減らす"},
    };
    // The button row: the view buttons, then the output buttons. A window narrower than the
    // row (the smaller size presets) shows them as two rows instead of growing.
    auto *bar = new QHBoxLayout;
    auto *outputBar = new QHBoxLayout;
    bar->addWidget(slotChooser_);
    for (int i = 0; i < 7; ++i) {
        QPushButton *b = namedButton(this, QStringLiteral("Command6(%1)").arg(i), QString::fromUtf16(views[i].text),
                                QString::fromUtf16(views[i].tip));
        if (views[i].icon != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(views[i].icon));
        b->setFixedWidth(34);
        connect(b, &QPushButton::clicked, this, [this, i] { viewButton(i); });
        bar->addWidget(b);
        passLocked_.push_back(b);
    }
    QPushButton *writeButton = namedButton(this, QStringLiteral("Command2"), QString(), QStringLiteral("ずらした範囲を書式データに書き込む"));
    writeButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    writeButton->setFixedWidth(34);
    connect(writeButton, &QPushButton::clicked, this, &CanvasWindow::writeBack);
    bar->addWidget(writeButton);
    passLocked_.push_back(writeButton);
    bar->addStretch();
    printButton_ = namedButton(this, QStringLiteral("Command1"), QStringLiteral("印刷"), QStringLiteral("既定のプリンタに印刷する"));
    connect(printButton_, &QPushButton::clicked, this, &CanvasWindow::print);
    outputBar->addWidget(printButton_);
    QPushButton *bitmap = namedButton(this, QStringLiteral("Command4"), QStringLiteral("BitMap"), QStringLiteral("ページを画像としてクリップボードへ"));
    connect(bitmap, &QPushButton::clicked, this, &CanvasWindow::copyBitmap);
    outputBar->addWidget(bitmap);
    metaButton_ = namedButton(this, QStringLiteral("Command5"), QStringLiteral("MetaFile"),
                         QStringLiteral("ページ（または選んだ範囲）を図形としてクリップボードへ"));
    connect(metaButton_, &QPushButton::clicked, this, &CanvasWindow::copyMetafile);
    outputBar->addWidget(metaButton_);
    QPushButton *save = namedButton(this, QStringLiteral("SavePage"), QStringLiteral("ファイルに保存…"),
                               QStringLiteral("ページを PDF, SVG, PNG のファイルに保存する"));
    connect(save, &QPushButton::clicked, this, &CanvasWindow::saveToFile);
    outputBar->addWidget(save);
    outputBar->addWidget(watcher_->checkBox());
    outputBar->addStretch();
    backButton_ = namedButton(this, QStringLiteral("Command3"), QStringLiteral("戻る"), QStringLiteral("メイン画面に戻る"));
    connect(backButton_, &QPushButton::clicked, this, &CanvasWindow::back);
    outputBar->addWidget(backButton_);
    buttonRows_ = new QBoxLayout(QBoxLayout::LeftToRight);
    buttonRows_->setSpacing(12);
    buttonRows_->addLayout(bar);
    buttonRows_->addLayout(outputBar, 1);  // in one row the room left goes before "戻る"

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttonRows_);
    layout->addWidget(view_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    passLocked_.insert(passLocked_.end(), {slotChooser_, printButton_, bitmap, metaButton_, save, backButton_});

    progress_->setObjectName(QStringLiteral("PassProgress"));
    progress_->hide();
    progressDelay_.setSingleShot(true);
    progressDelay_.setInterval(kProgressAfterMs);
    connect(&progressDelay_, &QTimer::timeout, this, [this] {
        placeOverlays();
        progress_->show();
        showProgress(latestProgress_, std::exchange(latestPage_, QImage()));
    });
    connect(runner_, &PassRunner::progressed, this, &CanvasWindow::showProgress);
    connect(watcher_, &PageWatcher::redrawWanted, this, &CanvasWindow::liveRedraw);
}

CanvasWindow::~CanvasWindow() = default;

void CanvasWindow::setPrinterFactory(std::function<std::unique_ptr<QPrinter>()> factory)
{
    printerFactory_ = std::move(factory);
}

void CanvasWindow::setClientTwips(int width, int height, bool horizontalBar)
{
    const double tpp = twipsPerPixel(host_.screenDpi());
    view_->setClientSize(QSize(rnd(width / tpp), rnd(height / tpp)), horizontalBar);
    // The window is as wide as the page's window: the buttons take two rows when one is too wide.
    const int oneRow = buttonRows_->itemAt(0)->sizeHint().width() + buttonRows_->spacing()
        + buttonRows_->itemAt(1)->sizeHint().width();
    buttonRows_->setDirection(oneRow <= view_->sizeHint().width() ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
}

void CanvasWindow::place(const QPoint &first)
{
    if (placement_.isEmpty()) {
        move(first);
        return;
    }
    // The size is the preset's, fixed by the layout; what is restored is where the window was.
    layout()->activate();
    restoreGeometry(placement_);
}

CanvasPage CanvasWindow::drawFresh()
{
    returning_ = false;
    printButton_->setVisible(true);
    slotChooser_->setCurrentIndex(0);
    strip_->clear();
    // The page is drawn before the user's eyes, from a blank sheet.
    const double ratio = devicePixelRatioF();
    QImage blank(CanvasSurface::pagePixels(host_.screenDpi() * ratio), QImage::Format_RGB32);
    blank.fill(Qt::white);
    blank.setDevicePixelRatio(ratio);
    showPage(blank);
    show();
    raise();
    activateWindow();
    const CanvasPage page = askedPass();
    backButton_->setFocus();
    return page;
}

CanvasPage CanvasWindow::askedPass()
{
    MessageLog log(&host_.messenger());
    PassOutput out;
    {
        BusyCursor busy;
        out = runPass(log);
    }
    host_.keepSlotNames(out.slots);
    showPage(out.page.image);
    keptOlderPage_ = false;
    if (isVisible())  // not closed during the pass
        watcher_->pageShown(host_.slots(), log.lines());
    return out.page;
}

bool CanvasWindow::passRunning() const { return runner_->isRunning(); }

PassOutput CanvasWindow::runPass(Messenger &messenger)
{
    PassInputs inputs{host_.slots(), host_.view(), host_.header(), host_.screenDpi(), devicePixelRatioF()};
    for (QWidget *w : passLocked_)
        w->setEnabled(false);
    // Busy (no steps) until the pass has points or a whole slot to count.
    progress_->setRange(0, 0);
    latestProgress_ = PassProgress{};
    progressDelay_.start();
    PassOutput out = runner_->run(std::move(inputs), messenger);
    progressDelay_.stop();
    progress_->hide();
    latestPage_ = QImage();
    for (QWidget *w : passLocked_)
        w->setEnabled(true);
    host_.view() = out.view;  // the divisions the pass lifted
    if (closePending_) {
        closePending_ = false;
        handBack();
    } else if (livePending_) {
        livePending_ = false;
        QTimer::singleShot(0, this, &CanvasWindow::liveRedraw);
    }
    return out;
}

void CanvasWindow::showProgress(const PassProgress &progress, const QImage &pageSoFar)
{
    if (!runner_->isRunning())
        return;
    // A short pass shows only its result, without flicker: until the bar is due the
    // latest state is kept for it.
    latestProgress_ = progress;
    latestPage_ = pageSoFar;
    if (!progress_->isVisible())
        return;
    // A live redraw may yet be refused: the page on screen stays until it is done.
    if (!liveRunning_ && !pageSoFar.isNull()) {
        QImage shown = pageSoFar;
        shown.setDevicePixelRatio(devicePixelRatioF());
        showPage(shown);
    }
    if (progress.points == 0 && progress.slotsDone == 0)
        return;
    const int total = std::max(1, progress.slotsTotal);
    progress_->setRange(0, 1000 * total);
    progress_->setValue(int(1000 * progress.slotsDone + 1000 * std::clamp(progress.slotShare, 0.0, 1.0)));
    progress_->setFormat(QStringLiteral("描画中　スロット %1 / %2　%3 点")
                             .arg(std::min(progress.slotsDone + 1, total))
                             .arg(total)
                             .arg(QLocale::system().toString(progress.points)));
}

void CanvasWindow::placeOverlays()
{
    const QSize room = view_->viewport()->size();
    progress_->setGeometry(8, room.height() - 32, room.width() - 16, 24);
    strip_->setGeometry(0, 0, room.width(), strip_->sizeHint().height());
}

void CanvasWindow::showPage(const QImage &page)
{
    view_->setPage(page, DeviceProfile::canvas(host_.screenDpi()).devPerMmX);
}

void CanvasWindow::liveRedraw()
{
    if (!isVisible() || !watcher_->isOn())
        return;
    if (runner_->isRunning()) {
        livePending_ = true;
        return;
    }
    MessageLog log;
    liveRunning_ = true;
    const PassOutput out = runPass(log);
    liveRunning_ = false;
    if (!isVisible())
        return;
    const bool accepted = watcher_->accepts(log.lines());
    if (accepted) {
        showPage(out.page.image);
        watcher_->pageShown(host_.slots(), log.lines());
    }
    keptOlderPage_ = !accepted;
    if (accepted && log.lines().isEmpty())
        strip_->clear();
    else
        strip_->report(log.lines(), !accepted);
    placeOverlays();
}

std::vector<int> CanvasWindow::chosenSlots() const
{
    const int i = slotChooser_->currentIndex();
    if (i >= 1 && i <= 6)
        return {i};
    if (i >= 7 && i <= 9)
        return {2 * (i - 7) + 1, 2 * (i - 7) + 2};
    return {1, 2, 3, 4, 5, 6};
}

void CanvasWindow::viewButton(int index)
{
    ViewState &v = host_.view();
    for (int slot : chosenSlots()) {
        const auto s = std::size_t(slot);
        switch (index) {
        case 0: v.PanX[s] -= 1; break;
        case 1: v.PanX[s] += 1; break;
        case 2: v.PanY[s] -= 1; break;
        case 3: v.PanY[s] += 1; break;
        case 4: v.PanX[s] = v.PanY[s] = 0; v.ZoomSteps[s] = 0; break;
        case 5: v.ZoomSteps[s] = std::int16_t(std::min(v.ZoomSteps[s] + 1, 32767)); break;
        case 6: v.ZoomSteps[s] = std::int16_t(std::max(v.ZoomSteps[s] - 1, -32768)); break;
        default: return;
        }
    }
    redraw();
}

void CanvasWindow::redraw()
{
    askedPass();
    printButton_->setVisible(true);
    backButton_->setFocus();
}

void CanvasWindow::writeBack()
{
    const SlotSet slots = host_.slots();
    ViewState &v = host_.view();
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const QString &path = slots[slot].format;
        if (!path.isEmpty()) {
            const WriteBack result = writeShiftedRanges(path, v.PanX[std::size_t(slot)], v.PanY[std::size_t(slot)]);
            const QString name = QFileInfo(path).fileName();
            const QString title = slotTitle(FileKind::FormatData, slot);
            switch (result.status) {
            case WriteBack::Status::Written:
                break;
            case WriteBack::Status::Missing:
                host_.messenger().warn(title, messageText(Msg::WriteBackMissing, {name}));
                break;
            case WriteBack::Status::Unreadable:
                host_.messenger().warn(title, messageText(Msg::WriteBackUnreadable, {name, QString::number(result.line)}));
                break;
            case WriteBack::Status::NotRead:
                host_.messenger().warn(title, messageText(Msg::WriteBackNotRead, {name, result.failure}));
                break;
            case WriteBack::Status::Unwritable:
                host_.messenger().warn(title, messageText(Msg::WriteBackUnwritable, {name, result.failure}));
                break;
            }
        }
        // The file (if any) now holds the shifted range.
        v.PanX[std::size_t(slot)] = 0;
        v.PanY[std::size_t(slot)] = 0;
    }
}

bool CanvasWindow::mayDrawOtherThanShown()
{
    return !keptOlderPage_ || host_.messenger().askYesNo(programName(), messageText(Msg::PageNotAsShown));
}

void CanvasWindow::print()
{
    if (!mayDrawOtherThanShown())
        return;
    host_.selection().erase();
    view_->viewport()->update();
    const QString caption = printButton_->text();
    std::unique_ptr<QPrinter> printer = printerFactory_ ? printerFactory_() : nullptr;
    if (!printer) {
        host_.messenger().warn(programName(), messageText(Msg::NoPrinter));
        return;
    }
    printButton_->setText(QStringLiteral("計算中"));
    printButton_->repaint();  // on screen before the blocking work starts
    printer->setFullPage(true);
    bool printed = false;
    {
        BusyCursor busy;
        SlotSet slots = host_.slots();
        PageJob job{slots, host_.view(), host_.messenger(), host_.header(), host_.screenDpi()};
        if (printsToPdfFile(*printer)) {
            const PageFile page = writePdfPage(job, printer->outputFileName());
            if (!page.written) {
                printButton_->setText(caption);
                host_.messenger().warn(programName(),
                                       messageText(Msg::PageNotWritten, {printer->outputFileName(), page.failure}));
                return;
            }
            printed = true;
        } else {
            printed = printPage(job, *printer);
        }
    }
    if (!printed) {
        printButton_->setText(caption);
        host_.messenger().warn(programName(), messageText(Msg::PrintFailed));
        return;
    }
    printButton_->setText(QStringLiteral("再印刷"));
}

void CanvasWindow::copyBitmap()
{
    host_.selection().erase();
    view_->viewport()->update();
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setImage(view_->page());
}

void CanvasWindow::copyMetafile()
{
    if (!mayDrawOtherThanShown())
        return;
    metaButton_->setText(QStringLiteral("計算中"));
    metaButton_->repaint();  // on screen before the blocking work starts
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool written = false;
    {
        BusyCursor busy;
        SlotSet slots = host_.slots();
        PageJob job{slots, host_.view(), host_.messenger(), host_.header(), host_.screenDpi()};
        written = writeMetafile(job, host_.selection().metaSelection(), &buffer);
    }
    if (written) {
        auto *data = new QMimeData;
        data->setData(QStringLiteral("image/svg+xml"), buffer.data());
        QGuiApplication::clipboard()->setMimeData(data);
    }
    metaButton_->setText(QStringLiteral("MetaFile"));
}

bool CanvasWindow::savePage(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    // A PNG is the page on screen; the others are drawn anew.
    if ((suffix == u"pdf" || suffix == u"svg") && !mayDrawOtherThanShown())
        return false;
    SlotSet slots = host_.slots();
    PageJob job{slots, host_.view(), host_.messenger(), host_.header(), host_.screenDpi()};
    PageFile page;
    {
        BusyCursor busy;
        if (suffix == u"pdf")
            page = writePdfPage(job, path);
        else if (suffix == u"svg")
            page = writeSvgPage(job, host_.selection().metaSelection(), path);
        else
            page = writePngPage(view_->page(), path);
    }
    if (!page.written)
        host_.messenger().warn(programName(), messageText(Msg::PageNotWritten, {path, page.failure}));
    return page.written;
}

void CanvasWindow::saveToFile()
{
    QFileDialog dialog(this, QStringLiteral("ページを保存"), saveFolder_.isEmpty() ? QDir::currentPath() : saveFolder_);
    dialog.setObjectName(QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(pageFileFilters());
    if (!saveFilter_.isEmpty())
        dialog.selectNameFilter(saveFilter_);
    // A name typed without an ending gets the chosen type's; the final name may still differ
    // from the dialog's (an unknown ending gets one added), so the question about replacing
    // a file is asked here, about the file really written.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(pageFileSuffix(dialog.selectedNameFilter()));
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString &filter) { dialog.setDefaultSuffix(pageFileSuffix(filter)); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    saveFilter_ = dialog.selectedNameFilter();
    const QString path = pageFileName(dialog.selectedFiles().constFirst(), saveFilter_);
    saveFolder_ = QFileInfo(path).absolutePath();
    if (QFileInfo::exists(path) && !host_.messenger().askYesNo(programName(), messageText(Msg::FileExists)))
        return;
    savePage(path);  // says itself why a page was not written
}

void CanvasWindow::back()
{
    ViewState &v = host_.view();
    for (int slot : chosenSlots()) {
        v.PanX[std::size_t(slot)] = v.PanY[std::size_t(slot)] = 0;
        v.ZoomSteps[std::size_t(slot)] = 0;
    }
    host_.selection().erase();
    returning_ = true;
    placement_ = saveGeometry();
    close();
}

void CanvasWindow::keyPressEvent(QKeyEvent *event)
{
    // Page Up/Down, Home and End that no button or list took move the page.
    if (!view_->scrollByKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}

void CanvasWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    // The main window comes back once the pass has ended, so no second pass can start.
    if (runner_->isRunning()) {
        closePending_ = true;
        return;
    }
    handBack();
}

void CanvasWindow::handBack()
{
    watcher_->stop();
    host_.canvasClosed(returning_);
    returning_ = false;
}

} // namespace nikra
