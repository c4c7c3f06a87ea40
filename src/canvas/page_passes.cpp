#include "canvas/page_passes.h"

#include "canvas/page_host.h"

#include <QWidget>

#include <algorithm>

namespace nikra {

PagePasses::PagePasses(PageHost &host, QWidget *window)
    : QObject(window), host_(host), window_(window), runner_(new PassRunner(this))
{
    connect(runner_, &PassRunner::finished, this, &PagePasses::passDone);
}

void PagePasses::drawFresh() { request(Kind::Fresh); }

void PagePasses::redraw() { request(Kind::Asked); }

void PagePasses::liveRedraw() { request(Kind::Live); }

void PagePasses::dropWaiting() { waiting_ = Kind::None; }

void PagePasses::request(Kind kind)
{
    if (!runner_->isRunning()) {
        start(kind);
        return;
    }
    // The stronger request stands for the weaker: each reads the files as they are.
    waiting_ = std::max(waiting_, kind);
}

void PagePasses::start(Kind kind)
{
    running_ = kind;
    startView_ = host_.view();
    if (kind == Kind::Fresh)
        rule_.forget();
    if (kind != Kind::Live)
        busy_.emplace();
    Q_EMIT started();
    PassInputs inputs{host_.slots(), startView_, host_.header(), host_.screenDpi(), window_->devicePixelRatioF()};
    runner_->start(std::move(inputs), kind == Kind::Live ? nullptr : &host_.messenger());
}

void PagePasses::passDone(const PassOutput &out)
{
    // The divisions the pass lifted, added to the view as it stands now: a pan or zoom
    // pressed meanwhile is kept for the pass that waits.
    ViewState &view = host_.view();
    for (std::size_t s = 1; s < view.ZoomSteps.size(); ++s) {
        const int lifted = out.view.ZoomSteps[s] - startView_.ZoomSteps[s];
        view.ZoomSteps[s] = std::int16_t(std::clamp(view.ZoomSteps[s] + lifted, -32768, 32767));
    }
    const Kind kind = std::exchange(running_, Kind::None);
    busy_.reset();
    Q_EMIT ended();
    if (kind == Kind::Live) {
        const RedrawVerdict verdict = rule_.judge(out.messages);
        if (RedrawRule::replaces(verdict)) {
            rule_.pageShown(out.messages);
            Q_EMIT pageReady(out.page.image);
        }
        showsOlderPage_ = !RedrawRule::replaces(verdict);
        Q_EMIT liveRedrawDone(out.messages, verdict);
    } else {
        host_.keepSlotNames(out.slots);
        rule_.pageShown(out.messages);
        showsOlderPage_ = false;
        Q_EMIT pageReady(out.page.image);
        Q_EMIT askedPassDone(out.page, kind == Kind::Fresh);
    }
    if (runner_->isRunning())
        return;  // a receiver started one
    if (const Kind next = std::exchange(waiting_, Kind::None); next != Kind::None)
        start(next);
    else
        Q_EMIT idle();
}

} // namespace nikra
