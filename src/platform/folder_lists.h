#pragma once
// The drive list and folder list as every window of the program shows them. The drive
// list holds the mounted volumes; the folder list holds the way from the drive's root to
// the current folder, then the current folder's subfolders, each entry carrying its full
// path. Opening a drive or a folder also makes it the program's current folder.

#include <QString>
#include <QWidget>

class QComboBox;
class QListWidget;
class QListWidgetItem;

namespace nikra {

// Fills a drive list with the ready volumes (the root path as text and as data).
void fillDriveList(QComboBox *list);
// Fills a folder list for a folder (see above) and selects the folder's own entry.
void fillFolderList(QListWidget *list, const QString &folder);
// The full path an entry of a folder list stands for.
QString folderOfEntry(const QListWidgetItem *entry);
// Selects the drive entry that holds folder, if the list has it.
void selectDriveOf(QComboBox *list, const QString &folder);

// A drive list "Drive1" above a folder list "Dir1" that follow each other.
class DriveFolderLists : public QWidget {
    Q_OBJECT

public:
    explicit DriveFolderLists(QWidget *parent = nullptr);

    QString folder() const { return folder_; }
    // Opens a folder; false (and nothing changes) when it does not exist.
    bool setFolder(const QString &path);


Q_SIGNALS:
    void folderChanged(const QString &folder);

private:
    QComboBox *driveList_;
    QListWidget *folderList_;
    QString folder_;
};

} // namespace nikra
