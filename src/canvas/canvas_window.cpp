#include "canvas/canvas_window.h"

#include "canvas/message_strip.h"
#include "canvas/page_clipboard.h"
#include "canvas/page_host.h"
#include "canvas/page_passes.h"
#include "canvas/page_printing.h"
#include "canvas/page_watcher.h"
#include "canvas/pass_progress_bar.h"
#include "canvas/slot_writeback.h"
#include "platform/named_button.h"
#include "plot/canvas_surface.h"
#include "plot/device_profile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPrinter>
#include <QPrinterInfo>
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
      progress_(new PassProgressBar(view_->viewport())), passes_(new PagePasses(host, this)),
      watcher_(new PageWatcher(host.settings(), this)), printerFactory_(defaultPrinter)
{
    buildControls();
    connect(passes_->runner(), &PassRunner::progressed, progress_, &PassProgressBar::show);
    connect(progress_, &PassProgressBar::pageSoFar, this, [this](QImage page) {
        // A live redraw may yet be refused: the page on screen stays until it is done.
        if (passes_->runsLive())
            return;
        page.setDevicePixelRatio(devicePixelRatioF());
        showPage(page);
    });
    connect(passes_, &PagePasses::started, this, &CanvasWindow::passStarted);
    connect(passes_, &PagePasses::ended, this, &CanvasWindow::passEnded);
    connect(passes_, &PagePasses::pageReady, this, &CanvasWindow::showPage);
    connect(passes_, &PagePasses::askedPassDone, this, &CanvasWindow::askedPassDone);
    connect(passes_, &PagePasses::liveRedrawDone, this, &CanvasWindow::liveRedrawDone);
    connect(watcher_, &PageWatcher::redrawWanted, this, &CanvasWindow::liveRedraw);
}

// The pass still running (the program ends) is abandoned before the window it reports to goes.
CanvasWindow::~CanvasWindow() { passes_->runner()->abandon(); }

void CanvasWindow::buildControls()
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
}

void CanvasWindow::setPrinterFactory(std::function<std::unique_ptr<QPrinter>()> factory)
{
    printerFactory_ = std::move(factory);
}

void CanvasWindow::drawFresh()
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
    passes_->drawFresh();
}

bool CanvasWindow::passRunning() const { return passes_->isRunning(); }

void CanvasWindow::passStarted()
{
    for (QWidget *w : passLocked_)
        w->setEnabled(false);
    progress_->begin();
}

void CanvasWindow::passEnded()
{
    progress_->end();
    for (QWidget *w : passLocked_)
        w->setEnabled(true);
}

void CanvasWindow::askedPassDone(const CanvasPage &page, bool fresh)
{
    if (isVisible()) {  // not closed during the pass
        watcher_->pageShown(host_.slots());
        // The page shown is the files' now, however they are.
        if (strip_->keptPage())
            strip_->report({}, false);
    }
    printButton_->setVisible(true);
    backButton_->setFocus();
    if (fresh)
        Q_EMIT freshPageDrawn(page);
}

void CanvasWindow::liveRedrawDone(const QStringList &messages, RedrawVerdict verdict)
{
    if (!isVisible())
        return;
    if (RedrawRule::replaces(verdict))
        watcher_->pageShown(host_.slots());
    if (verdict == RedrawVerdict::Replace)
        strip_->clear();
    else
        strip_->report(messages, !RedrawRule::replaces(verdict));
    placeOverlays();
}

void CanvasWindow::placeOverlays()
{
    progress_->place();
    strip_->setGeometry(0, 0, view_->viewport()->width(), strip_->sizeHint().height());
}

void CanvasWindow::showPage(const QImage &page)
{
    view_->setPage(page, DeviceProfile::canvas(host_.screenDpi()).devPerMmX);
}

void CanvasWindow::liveRedraw()
{
    if (isVisible() && watcher_->isOn())
        passes_->liveRedraw();
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

void CanvasWindow::redraw() { passes_->redraw(); }

void CanvasWindow::writeBack() { writeBackShiftedRanges(host_.slots(), host_.view(), host_.messenger()); }

bool CanvasWindow::mayDrawOtherThanShown()
{
    return !passes_->showsOlderPage() || host_.messenger().askYesNo(programName(), messageText(Msg::PageNotAsShown));
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
    const QString failure = printPageFromFiles(host_, *printer);
    if (!failure.isEmpty()) {
        printButton_->setText(caption);
        host_.messenger().warn(programName(), failure);
        return;
    }
    printButton_->setText(QStringLiteral("再印刷"));
}

void CanvasWindow::copyBitmap()
{
    host_.selection().erase();
    view_->viewport()->update();
    copyPageBitmap(view_->page());
}

void CanvasWindow::copyMetafile()
{
    if (!mayDrawOtherThanShown())
        return;
    metaButton_->setText(QStringLiteral("計算中"));
    metaButton_->repaint();  // on screen before the blocking work starts
    copyPageMetafile(host_);
    metaButton_->setText(QStringLiteral("MetaFile"));
}

bool CanvasWindow::savePage(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    // A PNG is the page on screen; the others are drawn anew.
    if ((suffix == u"pdf" || suffix == u"svg") && !mayDrawOtherThanShown())
        return false;
    return writePageFile(host_, path, view_->page());
}

void CanvasWindow::saveToFile()
{
    const QString path = saveDialog_.ask(this, host_);
    if (!path.isEmpty())
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
    passes_->dropWaiting();
    // The main window comes back once the pass has ended, so no second pass can start.
    if (passes_->isRunning())
        connect(passes_, &PagePasses::idle, this, &CanvasWindow::handBack,
                Qt::ConnectionType(Qt::SingleShotConnection | Qt::UniqueConnection));
    else
        handBack();
}

void CanvasWindow::handBack()
{
    watcher_->stop();
    host_.canvasClosed(returning_);
    returning_ = false;
}

} // namespace nikra
