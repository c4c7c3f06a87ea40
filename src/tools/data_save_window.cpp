#include "tools/data_save_window.h"

namespace nikra {

DataSaveWindow::DataSaveWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("NKR Data Save"));
}

} // namespace nikra
