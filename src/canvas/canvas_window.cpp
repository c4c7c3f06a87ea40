#include "canvas/canvas_window.h"

#include "canvas/page_host.h"
#include "platform/busy_cursor.h"
#include "platform/named_button.h"
#include "formats/range_writeback.h"
#include "plot/device_profile.h"
#include "plot/printer_surface.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace nikra {

namespace {

const QStringList kSlotChoices{QStringLiteral("1-6"), QStringLiteral("1"),   QStringLiteral("2"),
                               QStringLiteral("3"),   QStringLiteral("4"),   QStringLiteral("5"),
                               QStringLiteral("6"),   QStringLiteral("1-2"), QStringLiteral("3-4"),
                               QStringLiteral("5-6")};

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
      slotChooser_(new QComboBox(this)), printerFactory_(defaultPrinter)
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
    auto *bar = new QHBoxLayout;
    bar->addWidget(slotChooser_);
    for (int i = 0; i < 7; ++i) {
        QPushButton *b = namedButton(this, QStringLiteral("Command6(%1)").arg(i), QString::fromUtf16(views[i].text),
                                QString::fromUtf16(views[i].tip));
        if (views[i].icon != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(views[i].icon));
        b->setFixedWidth(34);
        connect(b, &QPushButton::clicked, this, [this, i] { viewButton(i); });
        bar->addWidget(b);
    }
    QPushButton *writeButton = namedButton(this, QStringLiteral("Command2"), QString(), QStringLiteral("ずらした範囲を書式データに書き込む"));
    writeButton->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    writeButton->setFixedWidth(34);
    connect(writeButton, &QPushButton::clicked, this, &CanvasWindow::writeBack);
    bar->addWidget(writeButton);
    bar->addSpacing(12);
    printButton_ = namedButton(this, QStringLiteral("Command1"), QStringLiteral("印刷"), QStringLiteral("既定のプリンタに印刷する"));
    connect(printButton_, &QPushButton::clicked, this, &CanvasWindow::print);
    bar->addWidget(printButton_);
    QPushButton *bitmap = namedButton(this, QStringLiteral("Command4"), QStringLiteral("BitMap"), QStringLiteral("ページを画像としてクリップボードへ"));
    connect(bitmap, &QPushButton::clicked, this, &CanvasWindow::copyBitmap);
    bar->addWidget(bitmap);
    metaButton_ = namedButton(this, QStringLiteral("Command5"), QStringLiteral("MetaFile"),
                         QStringLiteral("ページ（または選んだ範囲）を図形としてクリップボードへ"));
    connect(metaButton_, &QPushButton::clicked, this, &CanvasWindow::copyMetafile);
    bar->addWidget(metaButton_);
    QPushButton *save = namedButton(this, QStringLiteral("SavePage"), QStringLiteral("ファイルに保存…"),
                               QStringLiteral("ページを PDF, SVG, PNG のファイルに保存する"));
    connect(save, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("ページを保存"), QString(),
                                                          QStringLiteral("PDF (*.pdf);;SVG (*.svg);;PNG (*.png)"));
        if (!path.isEmpty())
            savePage(path);
    });
    bar->addWidget(save);
    bar->addStretch();
    backButton_ = namedButton(this, QStringLiteral("Command3"), QStringLiteral("戻る"), QStringLiteral("メイン画面に戻る"));
    connect(backButton_, &QPushButton::clicked, this, &CanvasWindow::back);
    bar->addWidget(backButton_);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(view_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
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
}

void CanvasWindow::present(const QImage &page)
{
    view_->setPage(page, DeviceProfile::canvas(host_.screenDpi()).devPerMmX);
    returning_ = false;
    printButton_->setVisible(true);
    slotChooser_->setCurrentIndex(0);
    show();
    raise();
    activateWindow();
    backButton_->setFocus();
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
    CanvasPage page;
    {
        BusyCursor busy;
        page = host_.drawPage();
    }
    view_->setPage(page.image, DeviceProfile::canvas(host_.screenDpi()).devPerMmX);
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
            case WriteBack::Status::Unwritable:
                host_.messenger().warn(title, messageText(Msg::WriteBackUnwritable, {name}));
                break;
            }
        }
        // The file (if any) now holds the shifted range.
        v.PanX[std::size_t(slot)] = 0;
        v.PanY[std::size_t(slot)] = 0;
    }
}

void CanvasWindow::print()
{
    host_.selection().erase();
    view_->viewport()->update();
    const QString caption = printButton_->text();
    std::unique_ptr<QPrinter> printer = printerFactory_ ? printerFactory_() : nullptr;
    if (!printer) {
        host_.messenger().warn(QStringLiteral("Nikra"), messageText(Msg::NoPrinter));
        return;
    }
    printButton_->setText(QStringLiteral("計算中"));
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
        host_.messenger().warn(QStringLiteral("Nikra"), messageText(Msg::PrintFailed));
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
    metaButton_->setText(QStringLiteral("計算中"));
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

void CanvasWindow::back()
{
    ViewState &v = host_.view();
    for (int slot : chosenSlots()) {
        v.PanX[std::size_t(slot)] = v.PanY[std::size_t(slot)] = 0;
        v.ZoomSteps[std::size_t(slot)] = 0;
    }
    host_.selection().erase();
    returning_ = true;
    close();
}

void CanvasWindow::closeEvent(QCloseEvent *event)
{
    host_.canvasClosed(returning_);
    returning_ = false;
    event->accept();
}

} // namespace nikra
