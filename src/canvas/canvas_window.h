#pragma once
// The canvas window ("NKR Canvas"): the page, the slot selector and the view buttons that
// shift or widen the chosen slots by whole divisions, the write-back of the shifted ranges,
// printing, the bitmap and metafile copies, saving the page to a file, and "戻る". The
// passes, the progress bar and each output have their own pieces; this one holds the
// controls and hands each press on.

#include "canvas/page_saving.h"
#include "canvas/page_view.h"
#include "output/page_output.h"

#include <QWidget>

#include <functional>
#include <memory>

class QBoxLayout;
class QComboBox;
class QPrinter;
class QPushButton;

namespace nikra {

class MessageStrip;
class PageHost;
class PagePasses;
class PageWatcher;
class PassProgressBar;
enum class RedrawVerdict;

class CanvasWindow : public QWidget {
    Q_OBJECT

public:
    explicit CanvasWindow(PageHost &host, QWidget *parent = nullptr);
    ~CanvasWindow() override;

    // Scaling: the page window at the preset's inner size in twips, or smaller where the
    // screen has not the room (the page scrolls).
    void setClientTwips(int width, int height, bool horizontalBar);
    // Places the window where "戻る" last left it (position and frame as they were), or at
    // `first` before that; always within the screen's free area.
    void place(const QPoint &first);
    // The draw command's pass: the window comes up at once and shows the page as it is
    // drawn, with its progress on a long pass; its messages are shown over it.
    // freshPageDrawn() follows.
    void drawFresh();

    // The slots the selector stands for.
    std::vector<int> chosenSlots() const;
    // The view buttons: 0 left, 1 right, 2 down, 3 up, 4 reset, 5 more divisions, 6 fewer.
    void viewButton(int index);
    // A pass the user asked for; made while one runs, it is drawn after that one.
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
    PagePasses *passes() const { return passes_; }
    // Where printing goes: the default printer unless a test gives another.
    void setPrinterFactory(std::function<std::unique_ptr<QPrinter>()> factory);

Q_SIGNALS:
    // The draw command's page is on screen (the window may have been closed meanwhile).
    void freshPageDrawn(const nikra::CanvasPage &page);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void passStarted();
    void passEnded();
    void askedPassDone(const CanvasPage &page, bool fresh);
    void liveRedrawDone(const QStringList &messages, RedrawVerdict verdict);
    void placeOverlays();
    void showPage(const QImage &page);
    // The page window at the wanted size, or as much of it as the screen leaves room for.
    void fitToScreen();
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
    QSize wantedClient_;       // the preset's page window, in pixels
    bool wantedBar_ = false;   // the preset shows the horizontal bar
    QByteArray placement_;  // the window's geometry when "戻る" was last pressed
    PageSaveDialog saveDialog_;
    std::vector<QWidget *> passLocked_;  // off while a pass runs
    MessageStrip *strip_;
    PassProgressBar *progress_;
    PagePasses *passes_;
    PageWatcher *watcher_;
    std::function<std::unique_ptr<QPrinter>()> printerFactory_;
    bool returning_ = false;
};

} // namespace nikra
