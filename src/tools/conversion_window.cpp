#include "tools/conversion_window.h"

namespace nikra {

ConversionWindow::ConversionWindow(Messenger &messenger, CheckerWindow &checker, const QString &programFolder,
                                   QWidget *mainWindow, QWidget *parent)
    : QWidget(parent), messenger_(messenger), checker_(checker), programFolder_(programFolder), mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("NKR Conversion"));
}

} // namespace nikra
