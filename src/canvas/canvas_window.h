#pragma once
// The canvas window ("NKR Canvas"): the page, the slot selector and the view buttons that
// shift or widen the chosen slots by whole divisions, the write-back of the shifted ranges,
// printing, the bitmap and metafile copies, saving the page to a file, and "戻る".

#include "canvas/page_view.h"
#include "output/page_output.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QBoxLayout;
class QComboBox;
class QPrinter;
class QProgressBar;
class QPushButton;

namespace nikra {

class MessageStrip;
class PageHost;
class PageWatcher;
class PassRunner;
struct PassOutput;

class CanvasWindow : public QWidget {
    Q_OBJECT

public:
    explicit CanvasWindow(PageHost &host, QWidget *parent = nullptr);
    ~CanvasWindow() override;

    // Scaling: the page window at the preset's inner size in twips.
    void setClientTwips(int width, int height, bool horizontalBar);
    // Places the window where "戻る" last left it (position and frame as they were), or at
    // `first` before that.
    void place(const QPoint &first);
    // The draw command's pass: the window comes up at once and shows the page as it is
    // drawn, with its progress on a long pass; its messages are shown over it.
    CanvasPage drawFresh();

    // The slots the selector stands for.
    std::vector<int> chosenSlots() const;
    // The view buttons: 0 left, 1 right, 2 down, 3 up, 4 reset, 5 more divisions, 6 fewer.
    void viewButton(int index);
    void redraw();
    // A redraw nobody asked for (a drawn file changed): no boxes, no busy pointer; its
    // messages go to the strip, and a page with new problems does not replace the last good one.
    void liveRedraw();
    bool passRunning() const;
    void writeBack();
    void print();
    void copyBitmap();
    void copyMetafile();
    // The page as a PDF, SVG or PNG file; false when it was not written (declined, or why is said).
    bool savePage(const QString &path);
    // "ファイルに保存…": asks for a name and a type, starting where the last page was saved.
    void saveToFile();
    void back();

    PageView *pageView() const { return view_; }
    MessageStrip *messageStrip() const { return strip_; }
    PageWatcher *pageWatcher() const { return watcher_; }
    // Where printing goes: the default printer unless a test gives another.
    void setPrinterFactory(std::function<std::unique_ptr<QPrinter>()> factory);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // The pass over the slots as they stand, on the worker, with the buttons off meanwhile.
    PassOutput runPass(Messenger &messenger);
    // A pass the user asked for: its messages in boxes, the busy pointer, missing names cleared.
    CanvasPage askedPass();
    void showProgress(const PassProgress &progress, const QImage &pageSoFar);
    void placeOverlays();
    void showPage(const QImage &page);
    // Print, MetaFile and a saved PDF or SVG draw from the files once more. While the page
    // on screen is one kept from before the files went wrong that is another page: the
    // user is asked first. False: leave it.
    bool mayDrawOtherThanShown();
    // The window is closed: files are no longer watched and the main window comes back.
    void handBack();

    PageHost &host_;
    PageView *view_;
    QComboBox *slotChooser_;
    QPushButton *printButton_;
    QPushButton *metaButton_;
    QPushButton *backButton_;
    QBoxLayout *buttonRows_;
    QByteArray placement_;  // the window's geometry when "戻る" was last pressed
    QString saveFolder_;  // where the last page was saved; the current folder before that
    QString saveFilter_;  // the type chosen last
    std::vector<QWidget *> passLocked_;  // off while a pass runs
    MessageStrip *strip_;
    QProgressBar *progress_;
    QTimer progressDelay_;
    PassProgress latestProgress_;  // the latest news of the running pass
    QImage latestPage_;
    PassRunner *runner_;
    PageWatcher *watcher_;
    std::function<std::unique_ptr<QPrinter>()> printerFactory_;
    bool returning_ = false;
    bool livePending_ = false;   // a file changed while a pass ran
    bool liveRunning_ = false;   // the pass running is a live redraw
    bool keptOlderPage_ = false; // the files have changed into ones the page shown was not drawn from
    bool closePending_ = false;  // the window was closed while a pass ran
};

} // namespace nikra
