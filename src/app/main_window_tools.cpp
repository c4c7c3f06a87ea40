// The main window's side tools: the checker behind the slots' "*" buttons, the conversion
// window ("≫"), the data save ("保存") and the search window ("検索").

#include "app/main_window.h"

#include "tools/checker_window.h"
#include "tools/conversion_window.h"
#include "tools/data_save.h"
#include "tools/data_save_window.h"
#include "tools/search_window.h"

#include <QDateTime>
#include <QPushButton>

namespace nikra {

CheckerWindow *MainWindow::checker()
{
    if (!checker_) {
        checker_ = new CheckerWindow(messenger_);
        // A saved file may be new in a folder the pickers show.
        connect(checker_, &CheckerWindow::saved, this, &MainWindow::refreshPickers);
    }
    return checker_;
}

// ---------------------------------------------------------------- checker

void MainWindow::openInChecker(int kind, int slot)
{
    // A Format Data file opens wide, with the key reference beside the text.
    checker()->openFile(10 * kind + slot, slotBox(kind, slot), kind == 1);
}

// ---------------------------------------------------------------- conversion

void MainWindow::showConversion()
{
    if (!conversion_)
        conversion_ = new ConversionWindow(messenger_, *checker(), programFolder_, this);
    hide();
    conversion_->show();
    conversion_->raise();
    conversion_->activateWindow();
}

// ---------------------------------------------------------------- data save

void MainWindow::showDataSave()
{
    if (!dataSave_) {
        dataSave_ = new DataSaveWindow(messenger_, [this] { return pathMemoryContents(); });
        // A completed save hides "保存" until the next page comes back from the canvas; the
        // new folder shows in the pickers' lists.
        connect(dataSave_, &DataSaveWindow::saved, saveButton_, &QWidget::hide);
        connect(dataSave_, &DataSaveWindow::saved, this, &MainWindow::refreshPickers);
    }
    dataSave_->open(programFolder_, dateTimeFolderName(QDateTime::currentDateTime()));
}

// ---------------------------------------------------------------- search

void MainWindow::showSearch()
{
    if (!search_) {
        search_ = new SearchWindow(messenger_);
        connect(search_, &SearchWindow::selected, this, &MainWindow::loadSlotSet);
    }
    search_->open(programFolder_);
}

} // namespace nikra
