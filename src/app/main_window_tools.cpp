// The main window's side tools: the checker behind the slots' "*" buttons, the conversion
// window ("≫"), the data save ("保存") and the search window ("検索").

#include "app/main_window.h"

#include "app/file_picker.h"
#include "tools/checker_window.h"
#include "tools/conversion_window.h"
#include "tools/data_save_window.h"
#include "tools/search_window.h"

#include <QLineEdit>

namespace nikra {

CheckerWindow *MainWindow::checker()
{
    if (!checker_) {
        checker_ = new CheckerWindow(messenger_);
        // A saved file may be new in a folder the pickers show.
        connect(checker_, &CheckerWindow::saved, this, [this] {
            for (FilePicker *p : pickers_)
                p->refresh();
        });
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
}

// ---------------------------------------------------------------- data save

void MainWindow::showDataSave()
{
}

// ---------------------------------------------------------------- search

void MainWindow::showSearch()
{
}

} // namespace nikra
