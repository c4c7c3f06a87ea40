#include "tools/checker_window.h"

#include "formats/messages.h"

#include <QLineEdit>

namespace nikra {

CheckerWindow::CheckerWindow(Messenger &messenger, QWidget *parent) : QWidget(parent), messenger_(messenger)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("NKR Checker"));
}

void CheckerWindow::openFile(int target, QLineEdit *pathBox, bool)
{
    checkerTarget_ = target;
    opener_ = pathBox;
}

} // namespace nikra
