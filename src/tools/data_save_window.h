#pragma once
// The data save window ("NKR Data Save"): the name of the folder to make, proposed from
// the date and time, and the drive and folder lists. "ＯＫ" keeps a copy of the main
// window's whole slot set in that folder inside the program folder; the lists only move
// the current folder, never where the set is saved, so the folder the set goes to is shown
// under the name.

#include "formats/path_memory.h"

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace nikra {

class DriveFolderLists;
class Messenger;

class DataSaveWindow : public QWidget {
    Q_OBJECT

public:
    // contents: the main window's slot set and picker lines, as they stand at "ＯＫ".
    DataSaveWindow(Messenger &messenger, std::function<PathMemory::Contents()> contents, QWidget *parent = nullptr);

    // Shows the window with a proposed folder name, the lists at the program folder.
    void open(const QString &programFolder, const QString &proposedName);

Q_SIGNALS:
    // After a completed save, with the folder made.
    void saved(const QString &folder);

private:
    void save();
    void showTarget();

    Messenger &messenger_;
    std::function<PathMemory::Contents()> contents_;
    QString programFolder_;
    QLabel *instruction_;
    QLineEdit *name_;
    QLabel *target_;
    DriveFolderLists *lists_;
    QPushButton *ok_;
    QPushButton *back_;
};

} // namespace nikra
