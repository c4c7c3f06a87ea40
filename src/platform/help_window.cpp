#include "platform/help_window.h"

#include <QUrl>

namespace nikra {

HelpWindow::HelpWindow(QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Nikra ヘルプ"));
    setOpenExternalLinks(true);
    setSource(QUrl(QStringLiteral("qrc:/help/nikra_help.html")));
    resize(820, 720);
}

void HelpWindow::showAt(const QString &anchor)
{
    if (!anchor.isEmpty())
        scrollToAnchor(anchor);
    show();
    raise();
    activateWindow();
}

} // namespace nikra
