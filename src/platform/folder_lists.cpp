#include "platform/folder_lists.h"

#include "platform/program_folder.h"

#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QStorageInfo>

namespace nikra {

namespace {

constexpr int kFolderRole = Qt::UserRole;

} // namespace

void fillDriveList(QComboBox *drives)
{
    drives->clear();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            drives->addItem(volume.rootPath(), volume.rootPath());
    }
}

void fillFolderList(QListWidget *folders, const QString &folder)
{
    folders->clear();
    QStringList chain;
    for (QDir d(folder);;) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    int depth = 0;
    for (const QString &p : chain) {
        const QString name = QDir(p).isRoot() ? p : QDir(p).dirName();
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + name, folders);
        item->setData(kFolderRole, p);
        ++depth;
        if (p == folder)
            folders->setCurrentItem(item);
    }
    const QStringList subfolders = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &s : subfolders) {
        auto *item = new QListWidgetItem(QString(depth * 2, u' ') + s, folders);
        item->setData(kFolderRole, joinPath(folder, s));
    }
}

QString folderOfEntry(const QListWidgetItem *entry) { return entry->data(kFolderRole).toString(); }

void selectDriveOf(QComboBox *drives, const QString &folder)
{
    const int i = drives->findData(QDir::cleanPath(QStorageInfo(folder).rootPath()));
    if (i >= 0)
        drives->setCurrentIndex(i);
}

} // namespace nikra
