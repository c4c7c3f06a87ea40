#pragma once
// A file picker of the main window and the tool windows: a drive list, a folder list, a file list and the
// file-pattern box. The folder list shows the way from the drive's root to the current
// folder and the current folder's subfolders; activating an entry opens it. Changing the
// drive or the folder also changes the program's current folder.

#include <QString>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace nikra {

class FilePicker : public QWidget {
    Q_OBJECT

public:
    // index: 1, 2 or 3 (the names Drive1, Dir1, File1, Text1(0), Label1 and so on); an empty
    // title leaves the label out.
    FilePicker(int index, const QString &title, const QString &pattern, QWidget *parent = nullptr);

    QString drive() const { return drive_; }
    QString folder() const { return folder_; }
    QString pattern() const;

    // Each returns false (and changes nothing) when the place does not exist.
    bool setDrive(const QString &root);
    bool setFolder(const QString &path);
    void setPattern(const QString &pattern);
    void refresh();

    QStringList files() const { return files_; }
    // The full name of a file of the list: the folder, one separator, the name.
    QString fullName(const QString &file) const;
    // Moves the file list's selection one entry down; the newly selected file's full name,
    // or an empty text past the last file.
    QString stepSelection();

    // The folder list's heights when pressed with the left and the right button (0: fixed).
    // The tall list covers what lies below it; the picker keeps its size.
    void setFolderListHeights(int tallPx, int shortPx);

    QLineEdit *patternBox() const { return pattern_; }
    QListWidget *fileList() const { return fileList_; }
    QListWidget *folderList() const { return folderList_; }

Q_SIGNALS:
    void fileClicked(const QString &fullName);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillDrives();
    void fillFolders();
    void fillFiles();
    // The file list's filters from a pattern; false (nothing changes) when it cannot use them.
    bool takePattern(const QString &pattern);
    void placeFolderList();

    QLabel *label_;
    QComboBox *driveList_;
    QLineEdit *pattern_;
    QListWidget *folderList_;
    QListWidget *fileList_;
    QString drive_;
    QString folder_;
    QStringList files_;
    QStringList filters_{QStringLiteral("*")};  // the last pattern the list could use
    int tallPx_ = 0;
    int shortPx_ = 0;
    bool tall_ = false;
    QWidget *folderPlace_ = nullptr;  // the folder list's place in the layout, once it can grow
};

} // namespace nikra
