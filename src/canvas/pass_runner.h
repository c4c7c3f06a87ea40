#pragma once
// Runs the canvas pass on a worker thread with its own surface, so the window stays alive
// while a long page is drawn. The caller waits in run() while the GUI thread keeps serving
// its events; the pass's messages are handed to the GUI thread, the pass waiting for each
// answer; progress comes back as signals with the page drawn so far.

#include "formats/slot_set.h"
#include "output/page_output.h"
#include "plot/view_state.h"

#include <QImage>
#include <QObject>

namespace nikra {

// What a pass reads, copied: nothing the GUI thread holds is touched while it runs.
struct PassInputs {
    SlotSet slots;
    ViewState view;
    HeaderSettings header;
    double screenDpi = 96;
    double pixelRatio = 1;
};

// What it gives back: the page, the slot names with the missing files cleared, and the view
// with the division lifts the pass made.
struct PassOutput {
    CanvasPage page;
    SlotSet slots;
    ViewState view;
};

class PassRunner : public QObject {
    Q_OBJECT

public:
    explicit PassRunner(QObject *parent = nullptr);

    PassOutput run(PassInputs inputs, Messenger &messenger);
    bool isRunning() const { return running_; }

Q_SIGNALS:
    // At most a few times a second. The bar counts slots and the share of the current one.
    void progressed(const nikra::PassProgress &progress, const QImage &pageSoFar);

private:
    bool running_ = false;
};

} // namespace nikra

Q_DECLARE_METATYPE(nikra::PassProgress)
