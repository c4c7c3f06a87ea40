#pragma once
// The checker ("NKR Checker"): the program's own editor for its data files, with the
// reference of every Format Data key beside the text.

#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace nikra {

class Messenger;

class CheckerWindow : public QWidget {
    Q_OBJECT

public:
    explicit CheckerWindow(Messenger &messenger, QWidget *parent = nullptr);

    // Opens the file named in pathBox. target: who opened it (10, 20 or 30 plus the slot for
    // the main window's boxes, 211 and 212 for the conversion window's input and output);
    // wide: show the key reference beside the text (Format Data files). A save or rename
    // writes the saved path back into pathBox.
    void openFile(int target, QLineEdit *pathBox, bool wide);

    int checkerTarget() const { return checkerTarget_; }

Q_SIGNALS:
    // After every save and rename: the opener refreshes its file lists.
    void saved(const QString &path);

private:
    Messenger &messenger_;
    int checkerTarget_ = 0;
    QPointer<QLineEdit> opener_;
};

} // namespace nikra
