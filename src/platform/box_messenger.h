#pragma once
// Messages as modal boxes: problems with the exclamation icon and an OK button, the
// welcome without an icon, questions with Yes/No, OK/Cancel or Yes/No/Cancel. A window of
// its own (the checker) speaks through a WindowMessenger, so its boxes stand over it and
// never bring the main window in front of it.

#include "formats/messages.h"

class QWidget;

namespace nikra {

class BoxMessenger : public Messenger {
public:
    explicit BoxMessenger(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    // The window a box stands over: the window whose WindowMessenger speaks, while it is
    // shown; else the parent while it is shown, else the window in use (the canvas window
    // while the main window is hidden), so no box appears on its own.
    QWidget *dialogParent() const;

    void warn(const QString &title, const QString &text) override;
    void inform(const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;
    bool askOkCancel(const QString &title, const QString &text) override;
    Reply askYesNoCancel(const QString &title, const QString &text) override;
    std::optional<QString> askText(const QString &title, const QString &prompt, const QString &proposed) override;

private:
    QWidget *parent_;
};

// Passes every message on to the shared messenger (the boxes, or a test's recorder) with
// its window named as the one the boxes stand over.
class WindowMessenger : public Messenger {
public:
    WindowMessenger(Messenger &shared, QWidget *window) : shared_(shared), window_(window) {}

    void warn(const QString &title, const QString &text) override;
    void inform(const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;
    bool askOkCancel(const QString &title, const QString &text) override;
    Reply askYesNoCancel(const QString &title, const QString &text) override;
    std::optional<QString> askText(const QString &title, const QString &prompt, const QString &proposed) override;
    void fileProblem(int slot, const Diagnostic &problem, const QString &file) override;

private:
    template <class Ask> auto overWindow(Ask ask);

    Messenger &shared_;
    QWidget *window_;
};

} // namespace nikra
