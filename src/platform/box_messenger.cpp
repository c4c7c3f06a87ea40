#include "platform/box_messenger.h"

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

void BoxMessenger::warn(const QString &title, const QString &text)
{
    show(parent_, QMessageBox::Warning, title, text, QMessageBox::Ok);
}

void BoxMessenger::inform(const QString &title, const QString &text)
{
    show(parent_, QMessageBox::NoIcon, title, text, QMessageBox::Ok);
}

bool BoxMessenger::askYesNo(const QString &title, const QString &text)
{
    return show(parent_, QMessageBox::Warning, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool BoxMessenger::askOkCancel(const QString &title, const QString &text)
{
    return show(parent_, QMessageBox::Warning, title, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

std::optional<QString> BoxMessenger::askText(const QString &title, const QString &prompt, const QString &proposed)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, proposed, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

} // namespace nikra
