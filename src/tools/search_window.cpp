#include "tools/search_window.h"

namespace nikra {

SearchWindow::SearchWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("NKR Search"));
}

} // namespace nikra
