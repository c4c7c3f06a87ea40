#include "platform/file_picker.h"

#include "platform/folder_lists.h"
#include "platform/program_folder.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace nikra {

namespace {

// The name filters a pattern box stands for: "*.dat;*.txt" lists both, an empty box all.
QStringList filtersOf(const QString &pattern)
{
    const QString p = pattern.trimmed();
    return (p.isEmpty() ? QStringLiteral("*") : p).split(u';', Qt::SkipEmptyParts);
}

// Whether the file list can use the filters: each must turn into a valid expression
// (an unclosed "[" does not, and using it would only print a complaint).
bool listable(const QStringList &filters)
{
    for (const QString &f : filters) {
        if (!QRegularExpression(QRegularExpression::wildcardToRegularExpression(f)).isValid())
            return false;
    }
    return !filters.isEmpty();
}

} // namespace

FilePicker::FilePicker(int index, const QString &title, const QString &pattern, QWidget *parent)
    : QWidget(parent), label_(new QLabel(title, this)), driveList_(new QComboBox(this)),
      pattern_(new QLineEdit(pattern, this)), folderList_(new QListWidget(this)), fileList_(new QListWidget(this))
{
    const QString n = QString::number(index);
    label_->setObjectName(QStringLiteral("Label") + n);
    driveList_->setObjectName(QStringLiteral("Drive") + n);
    pattern_->setObjectName(QStringLiteral("Text%1(0)").arg(n));
    folderList_->setObjectName(QStringLiteral("Dir") + n);
    fileList_->setObjectName(QStringLiteral("File") + n);
    pattern_->setToolTip(QStringLiteral("ファイルの種類（例: *.dat）"));
    if (title.isEmpty())
        label_->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(label_);
    layout->addWidget(driveList_);
    layout->addWidget(pattern_);
    layout->addWidget(folderList_, 2);
    layout->addWidget(fileList_, 3);
    folderList_->setMinimumHeight(90);
    fileList_->setMinimumHeight(110);
    folderList_->viewport()->installEventFilter(this);

    fillDrives();
    connect(driveList_, &QComboBox::activated, this, [this](int i) { setDrive(driveList_->itemData(i).toString()); });
    takePattern(pattern);
    connect(pattern_, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (takePattern(text))
            fillFiles();
    });
    connect(folderList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setFolder(folderOfEntry(item)); });
    connect(fileList_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { Q_EMIT fileClicked(fullName(item->text())); });
}

void FilePicker::fillDrives() { fillDriveList(driveList_); }

QString FilePicker::pattern() const
{
    const QString p = pattern_->text().trimmed();
    return p.isEmpty() ? QStringLiteral("*") : p;
}

bool FilePicker::setDrive(const QString &root)
{
    // The folder list moves to the drive's root; a drive that is not there is passed over.
    return setFolder(root);
}

bool FilePicker::setFolder(const QString &path)
{
    const QDir dir(path);
    if (path.isEmpty() || !dir.exists())
        return false;
    folder_ = QDir::cleanPath(dir.absolutePath());
    drive_ = QDir::cleanPath(QStorageInfo(folder_).rootPath());
    selectDriveOf(driveList_, folder_);
    QDir::setCurrent(folder_);
    fillFolders();
    fillFiles();
    return true;
}

void FilePicker::setPattern(const QString &pattern) { pattern_->setText(pattern); }

bool FilePicker::takePattern(const QString &pattern)
{
    // A pattern the list cannot use is ignored: the list keeps its pattern and its files.
    const QStringList filters = filtersOf(pattern);
    if (!listable(filters))
        return false;
    filters_ = filters;
    return true;
}

void FilePicker::refresh()
{
    fillDrives();
    if (!folder_.isEmpty() && !QDir(folder_).exists())
        folder_ = drive_;
    setFolder(folder_);
}

void FilePicker::fillFolders() { fillFolderList(folderList_, folder_); }

void FilePicker::fillFiles()
{
    fileList_->clear();
    files_.clear();
    if (folder_.isEmpty())
        return;
    files_ = QDir(folder_).entryList(filters_, QDir::Files, QDir::Name);
    fileList_->addItems(files_);
}

QString FilePicker::fullName(const QString &file) const { return joinPath(folder_, file); }

QString FilePicker::stepSelection()
{
    const int next = fileList_->currentRow() + 1;
    if (next >= fileList_->count()) {
        fileList_->setCurrentRow(-1);
        return {};
    }
    fileList_->setCurrentRow(next);
    return fullName(fileList_->item(next)->text());
}

void FilePicker::setFolderListHeights(int tallPx, int shortPx)
{
    tallPx_ = tallPx;
    shortPx_ = shortPx;
    if (shortPx_ <= 0 || folderPlace_)
        return;
    // The tall list lies over the controls below it instead of pushing them down (and the
    // window with them): the layout holds a stand-in of the short height, and the list
    // itself is a child of the window, kept over the stand-in.
    folderPlace_ = new QWidget(this);
    folderPlace_->setFixedHeight(shortPx_);
    delete layout()->replaceWidget(folderList_, folderPlace_);
    folderList_->setParent(window());
    setTabOrder(pattern_, folderList_);
    setTabOrder(folderList_, fileList_);
    folderPlace_->installEventFilter(this);
    installEventFilter(this);
    placeFolderList();
    folderList_->show();
}

void FilePicker::placeFolderList()
{
    const QPoint at = folderPlace_->mapTo(folderList_->parentWidget(), QPoint(0, 0));
    folderList_->setGeometry(QRect(at, QSize(folderPlace_->width(), tall_ ? tallPx_ : shortPx_)));
    if (tall_)
        folderList_->raise();
}

bool FilePicker::eventFilter(QObject *watched, QEvent *event)
{
    if (folderPlace_ && (watched == folderPlace_ || watched == this)) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            placeFolderList();
            break;
        case QEvent::Show:
        case QEvent::Hide:
            folderList_->setVisible(folderPlace_->isVisible());
            break;
        default:
            break;
        }
    }
    // A press on the folder list makes it tall (left button) or short again (right).
    if (watched == folderList_->viewport() && event->type() == QEvent::MouseButtonPress && folderPlace_) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton || mouse->button() == Qt::RightButton) {
            tall_ = mouse->button() == Qt::LeftButton;
            placeFolderList();
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace nikra
