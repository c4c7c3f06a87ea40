#include "platform/folder_lists.h"

#include "platform/program_folder.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace nikra {

namespace {

constexpr int kFolderRole = Qt::UserRole;

} // namespace

void fillDriveList(QComboBox *list)
{
    list->clear();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            list->addItem(volume.rootPath(), volume.rootPath());
    }
}

void fillFolderList(QListWidget *list, const QString &folder)
{
    list->clear();
    QStringList chain;
    for (QDir d(folder);; ) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &p : chain) {
        const QString name = QDir(p).isRoot() ? p : QDir(p).dirName();
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + name, list);
        item->setData(kFolderRole, p);
        ++depth;
        if (p == folder)
            list->setCurrentItem(item);
    }
    const QStringList subfolders = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &s : subfolders) {
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + s, list);
        item->setData(kFolderRole, joinPath(folder, s));
    }
}

QString folderOfEntry(const QListWidgetItem *entry) { return entry->data(kFolderRole).toString(); }

void selectDriveOf(QComboBox *list, const QString &folder)
{
    const int i = list->findData(QStorageInfo(folder).rootPath());
    if (i >= 0)
        list->setCurrentIndex(i);
}

DriveFolderLists::DriveFolderLists(QWidget *parent)
    : QWidget(parent), driveList_(new QComboBox(this)), folderList_(new QListWidget(this))
{
    driveList_->setObjectName(QStringLiteral("Drive1"));
    folderList_->setObjectName(QStringLiteral("Dir1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(driveList_);
    layout->addWidget(folderList_, 1);

    fillDriveList(driveList_);
    // A drive that is not ready any more is passed over.
    connect(driveList_, &QComboBox::activated, this, [this](int i) { setFolder(driveList_->itemData(i).toString()); });
    connect(folderList_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { setFolder(folderOfEntry(item)); });
}

bool DriveFolderLists::setFolder(const QString &path)
{
    const QDir dir(path);
    if (path.isEmpty() || !dir.exists())
        return false;
    folder_ = QDir::cleanPath(dir.absolutePath());
    const int i = driveList_->findData(QDir::cleanPath(QStorageInfo(folder_).rootPath()));
    if (i >= 0)
        driveList_->setCurrentIndex(i);
    QDir::setCurrent(folder_);
    fillFolderList(folderList_, folder_);
    Q_EMIT folderChanged(folder_);
    return true;
}

} // namespace nikra
