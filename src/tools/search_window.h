#pragma once
// The search window ("NKR Search"): drive and folder lists to find a folder that holds a
// path memory file "Nikra.pth"; "選択" (shown only where that file has a line) loads it
// into the main window. A line under the lists tells whether the folder's files still
// match the checksums the data save wrote.

#include "formats/path_memory.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace nikra {

class DriveFolderLists;
class Messenger;

class SearchWindow : public QWidget {
    Q_OBJECT

public:
    explicit SearchWindow(Messenger &messenger, QWidget *parent = nullptr);

    // Shows the window; the first time with the lists at startFolder, later where they were.
    void open(const QString &startFolder);

    // The folder the lists show.
    QString folder() const;
    bool setFolder(const QString &folder);

Q_SIGNALS:
    // "選択": the path memory file of the folder shown, to be loaded into the main window.
    void selected(const nikra::PathMemory &memory);

private:
    void folderShown(const QString &folder);
    void select();

    Messenger &messenger_;
    DriveFolderLists *lists_;
    QLabel *status_;
    QPushButton *select_;
    QPushButton *back_;
};

} // namespace nikra
