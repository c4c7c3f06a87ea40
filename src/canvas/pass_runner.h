#pragma once
// Runs the canvas pass on a worker thread with its own surface, so the window stays alive
// while a long page is drawn. start() returns at once; the pass's messages are handed to
// the GUI thread (the pass waiting for each answer), progress comes back as signals with
// the page drawn so far, and finished() brings the page.

#include "canvas/gui_thread_messenger.h"
#include "canvas/message_log.h"
#include "formats/slot_set.h"
#include "output/page_output.h"
#include "plot/view_state.h"

#include <QImage>
#include <QObject>
#include <QStringList>

#include <memory>

class QThread;

namespace nikra {

// What a pass reads, copied: nothing the GUI thread holds is touched while it runs.
struct PassInputs {
    SlotSet slots;
    ViewState view;
    HeaderSettings header;
    double screenDpi = 96;
    double pixelRatio = 1;
};

// What it gives back: the page, the slot names with the missing files cleared, the view
// with the division lifts the pass made, and its messages ("TITLE: TEXT").
struct PassOutput {
    CanvasPage page;
    SlotSet slots;
    ViewState view;
    QStringList messages;
};

class PassRunner : public QObject {
    Q_OBJECT

public:
    explicit PassRunner(QObject *parent = nullptr);
    // Waits for a pass still running, its questions answered no and its page dropped.
    ~PassRunner() override;

    // One pass at a time: the caller starts the next after finished(). Its messages go to
    // `messenger` as they come (none: only kept), which must outlive the pass.
    void start(PassInputs inputs, Messenger *messenger);
    bool isRunning() const { return pass_ != nullptr; }
    // The pass (if any) ends unseen: nothing more is asked or signalled, and the call
    // returns once the worker has stopped.
    void abandon();

Q_SIGNALS:
    // At most a few times a second. The bar counts slots and the share of the current one.
    void progressed(const nikra::PassProgress &progress, const QImage &pageSoFar);
    void finished(const nikra::PassOutput &output);

private:
    struct Pass;
    void workerDone();

    std::unique_ptr<Pass> pass_;
};

} // namespace nikra

Q_DECLARE_METATYPE(nikra::PassProgress)
