#include "platform/box_messenger.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>

namespace nikra {

namespace {

// The window whose messages are being shown; boxes are modal, so one at a time is asked
// for, and a box asked for from inside another's answer puts the earlier window back after.
QPointer<QWidget> &speakingWindow()
{
    static QPointer<QWidget> window;
    return window;
}

int show(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
         QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    return box.exec();
}

} // namespace

QWidget *BoxMessenger::dialogParent() const
{
    if (QWidget *speaking = speakingWindow(); speaking && speaking->isVisible())
        return speaking;
    if (parent_ && parent_->isVisible())
        return parent_;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->isWindow() && !w->isModal())
            return w;
    }
    return parent_;
}

void BoxMessenger::warn(const QString &title, const QString &text)
{
    show(dialogParent(), QMessageBox::Warning, title, text, QMessageBox::Ok);
}

void BoxMessenger::inform(const QString &title, const QString &text)
{
    show(dialogParent(), QMessageBox::NoIcon, title, text, QMessageBox::Ok);
}

bool BoxMessenger::askYesNo(const QString &title, const QString &text)
{
    return show(dialogParent(), QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool BoxMessenger::askOkCancel(const QString &title, const QString &text)
{
    return show(dialogParent(), QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

Reply BoxMessenger::askYesNoCancel(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    dialogParent());
    // Enter and Escape both keep things as they are: nothing is saved or dropped by a slip.
    box.setDefaultButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Reply::Yes;
    case QMessageBox::No:
        return Reply::No;
    default:
        return Reply::Cancel;
    }
}

std::optional<QString> BoxMessenger::askText(const QString &title, const QString &prompt, const QString &proposed)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(dialogParent(), title, prompt, QLineEdit::Normal, proposed, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

template <class Ask> auto WindowMessenger::overWindow(Ask ask)
{
    QPointer<QWidget> &speaking = speakingWindow();
    const QPointer<QWidget> before = speaking;
    speaking = window_;
    struct Restore {
        QPointer<QWidget> &speaking;
        QPointer<QWidget> before;
        ~Restore() { speaking = before; }
    } restore{speaking, before};
    return ask();
}

void WindowMessenger::warn(const QString &title, const QString &text)
{
    overWindow([&] { shared_.warn(title, text); });
}

void WindowMessenger::inform(const QString &title, const QString &text)
{
    overWindow([&] { shared_.inform(title, text); });
}

bool WindowMessenger::askYesNo(const QString &title, const QString &text)
{
    return overWindow([&] { return shared_.askYesNo(title, text); });
}

bool WindowMessenger::askOkCancel(const QString &title, const QString &text)
{
    return overWindow([&] { return shared_.askOkCancel(title, text); });
}

Reply WindowMessenger::askYesNoCancel(const QString &title, const QString &text)
{
    return overWindow([&] { return shared_.askYesNoCancel(title, text); });
}

std::optional<QString> WindowMessenger::askText(const QString &title, const QString &prompt, const QString &proposed)
{
    return overWindow([&] { return shared_.askText(title, prompt, proposed); });
}

void WindowMessenger::fileProblem(int slot, const Diagnostic &problem, const QString &file)
{
    overWindow([&] { shared_.fileProblem(slot, problem, file); });
}

} // namespace nikra
