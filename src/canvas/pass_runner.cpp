#include "canvas/pass_runner.h"

#include "canvas/gui_thread_messenger.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

#include <memory>

namespace nikra {

namespace {

constexpr int kProgressEveryMs = 150;

} // namespace

PassRunner::PassRunner(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<PassProgress>();
}

PassOutput PassRunner::run(PassInputs inputs, Messenger &messenger)
{
    running_ = true;
    PassOutput out{{}, std::move(inputs.slots), inputs.view};
    GuiThreadMessenger forward(messenger, this);
    PageJob job{out.slots, out.view, forward, inputs.header, inputs.screenDpi};
    job.pixelRatio = inputs.pixelRatio;
    QElapsedTimer sinceLast;
    sinceLast.start();
    job.progress = [this, &sinceLast](const PassProgress &p, const QImage &pageSoFar) {
        // A frame drawn or a slot finished (share 0) is always shown; points now and then.
        if (p.slotShare != 0 && sinceLast.elapsed() < kProgressEveryMs)
            return;
        sinceLast.restart();
        // A deep copy: the worker goes on painting into its own image.
        Q_EMIT progressed(p, pageSoFar.copy());
    };

    std::unique_ptr<QThread> worker(QThread::create([&] { out.page = drawCanvasPage(job); }));
    QEventLoop wait;
    connect(worker.get(), &QThread::finished, &wait, &QEventLoop::quit);
    worker->start();
    wait.exec();
    worker->wait();
    running_ = false;
    return out;
}

} // namespace nikra
