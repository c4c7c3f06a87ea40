#pragma once
// The drive and folder lists of the windows that choose a place on disk. The drive list
// holds the roots of the volumes that are ready; the folder list shows the way from the
// drive's root down to the current folder, then the current folder's subfolders, indented
// by depth, each entry carrying its full path.

#include <QString>

class QComboBox;
class QListWidget;
class QListWidgetItem;

namespace nikra {

void fillDriveList(QComboBox *drives);

// Fills the list for folder and selects folder's own entry.
void fillFolderList(QListWidget *folders, const QString &folder);

// The full path an entry of a folder list stands for.
QString folderOfEntry(const QListWidgetItem *entry);

// Selects the drive entry that holds folder, if the list has it.
void selectDriveOf(QComboBox *drives, const QString &folder);

} // namespace nikra
