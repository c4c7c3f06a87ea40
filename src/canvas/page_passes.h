#pragma once
// The canvas window's passes, one at a time: those the user asks for (the draw command, the
// view buttons) and the live redraws after a file change. A request made while a pass runs
// waits and is drawn after it; a waiting request the user made stands for a live one too,
// since it reads the files as they are then. A live redraw's page replaces the one shown
// only when it brings no new problem.

#include "canvas/pass_runner.h"
#include "platform/busy_cursor.h"
#include "watch/redraw_rule.h"

#include <QObject>

#include <optional>

class QWidget;

namespace nikra {

class PageHost;

class PagePasses : public QObject {
    Q_OBJECT

public:
    // `window` gives the pixel ratio the page is drawn at.
    PagePasses(PageHost &host, QWidget *window);

    // The draw command's pass: a page from a blank sheet, the old page's messages forgotten.
    void drawFresh();
    // A pass the user asked for: its messages in boxes, missing names cleared.
    void redraw();
    void liveRedraw();
    // The window has gone: the passes waiting are dropped.
    void dropWaiting();

    bool isRunning() const { return runner_->isRunning(); }
    // The pass running is a live redraw, which may yet be refused.
    bool runsLive() const { return running_ == Kind::Live; }
    // The page on screen is one kept from before the files went wrong.
    bool showsOlderPage() const { return showsOlderPage_; }
    PassRunner *runner() const { return runner_; }

Q_SIGNALS:
    // The buttons go off until ended().
    void started();
    // Before the page and messages of that pass are handed on.
    void ended();
    // The page on screen from now on.
    void pageReady(const QImage &page);
    // A pass the user asked for has ended; `fresh`: it was the draw command's.
    void askedPassDone(const nikra::CanvasPage &page, bool fresh);
    // A live redraw has ended: its messages and what became of its page.
    void liveRedrawDone(const QStringList &messages, nikra::RedrawVerdict verdict);
    // No pass runs and none waits.
    void idle();

private:
    enum class Kind { None, Live, Asked, Fresh };
    void request(Kind kind);
    void start(Kind kind);
    void passDone(const PassOutput &out);

    PageHost &host_;
    QWidget *window_;
    PassRunner *runner_;
    RedrawRule rule_;
    Kind running_ = Kind::None;
    Kind waiting_ = Kind::None;
    ViewState startView_;  // the view the running pass was given
    bool showsOlderPage_ = false;
    std::optional<BusyCursor> busy_;  // while a pass the user asked for runs
};

} // namespace nikra
