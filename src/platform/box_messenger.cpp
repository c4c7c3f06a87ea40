#include "platform/box_messenger.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace nikra {

namespace {

int show(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
         QMessageBox::StandardButtons buttons)
{
    QMessageBox box(icon, title, text, buttons, parent);
    return box.exec();
}

} // namespace

QWidget *BoxMessenger::dialogParent() const
{
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

} // namespace nikra
