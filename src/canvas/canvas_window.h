#pragma once
// The canvas window ("NKR Canvas"): the page, the slot selector and the view buttons that
// shift or widen the chosen slots by whole divisions, the write-back of the shifted ranges,
// printing, the bitmap and metafile copies, saving the page to a file, and "戻る".

#include "canvas/page_view.h"

#include <QWidget>

#include <functional>
#include <memory>

class QBoxLayout;
class QComboBox;
class QPrinter;
class QPushButton;

namespace nikra {

class PageHost;

class CanvasWindow : public QWidget {
    Q_OBJECT

public:
    explicit CanvasWindow(PageHost &host, QWidget *parent = nullptr);
    ~CanvasWindow() override;

    // Scl: the page window at the preset's inner size in twips.
    void setClientTwips(int width, int height, bool horizontalBar);
    // Places the window where "戻る" last left it (position and frame as they were), or at
    // `first` before that.
    void place(const QPoint &first);
    // Shows a freshly drawn page, as the draw command hands it over.
    void present(const QImage &page);

    // The slots the selector stands for.
    std::vector<int> chosenSlots() const;
    // The view buttons: 0 left, 1 right, 2 down, 3 up, 4 reset, 5 more divisions, 6 fewer.
    void viewButton(int index);
    void redraw();
    void writeBack();
    void print();
    void copyBitmap();
    void copyMetafile();
    bool savePage(const QString &path);
    // "ファイルに保存…": asks for a name and a type, starting where the last page was saved.
    void saveToFile();
    void back();

    PageView *pageView() const { return view_; }
    // Where printing goes: the default printer unless a test gives another.
    void setPrinterFactory(std::function<std::unique_ptr<QPrinter>()> factory);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:

    PageHost &host_;
    PageView *view_;
    QComboBox *slotChooser_;
    QPushButton *printButton_;
    QPushButton *metaButton_;
    QPushButton *backButton_;
    QBoxLayout *buttonRows_;
    QByteArray placement_;  // the window's geometry when "戻る" was last pressed
    std::function<std::unique_ptr<QPrinter>()> printerFactory_;
    bool returning_ = false;
    QString saveFolder_;  // where the last page was saved; the current folder before that
    QString saveFilter_;  // the type chosen last
};

} // namespace nikra
