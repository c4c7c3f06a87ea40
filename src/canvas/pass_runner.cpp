#include "canvas/pass_runner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEvent>
#include <QThread>

namespace nikra {

namespace {

constexpr int kProgressEveryMs = 150;

} // namespace

// Everything one pass touches, kept together until its worker has stopped.
struct PassRunner::Pass {
    Pass(PassInputs inputs, Messenger *messenger, QObject *guiObject)
        : out{{}, std::move(inputs.slots), inputs.view, {}}, log(messenger), toGui(log, guiObject),
          job{out.slots, out.view, toGui, inputs.header, inputs.screenDpi}
    {
        job.pixelRatio = inputs.pixelRatio;
    }

    PassOutput out;
    MessageLog log;  // used on the GUI thread only
    GuiThreadMessenger toGui;
    PageJob job;
    std::unique_ptr<QThread> worker;
};

PassRunner::PassRunner(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<PassProgress>();
    qRegisterMetaType<PassOutput>();
}

PassRunner::~PassRunner() { abandon(); }

void PassRunner::start(PassInputs inputs, Messenger *messenger)
{
    Q_ASSERT(!pass_);
    pass_ = std::make_unique<Pass>(std::move(inputs), messenger, this);
    Pass *pass = pass_.get();
    auto sinceLast = std::make_shared<QElapsedTimer>();
    sinceLast->start();
    pass->job.progress = [this, pass, sinceLast](const PassProgress &p, const QImage &pageSoFar) {
        // A frame drawn or a slot finished (share 0) is always shown; points now and then.
        if (p.slotShare != 0 && sinceLast->elapsed() < kProgressEveryMs)
            return;
        sinceLast->restart();
        // A deep copy: the worker goes on painting into its own image. Handed over on the
        // GUI thread, and only while this pass is still the one shown.
        QMetaObject::invokeMethod(
            this,
            [this, pass, p, page = pageSoFar.copy()] {
                if (pass_.get() == pass)
                    Q_EMIT progressed(p, page);
            },
            Qt::QueuedConnection);
    };
    pass->worker.reset(QThread::create([pass] { pass->out.page = drawCanvasPage(pass->job); }));
    connect(pass->worker.get(), &QThread::finished, this, &PassRunner::workerDone);
    pass->worker->start();
}

void PassRunner::workerDone()
{
    std::unique_ptr<Pass> pass = std::move(pass_);
    pass->worker->wait();
    pass->out.messages = pass->log.lines();
    const PassOutput out = std::move(pass->out);
    pass.reset();
    // The receiver may start the next pass at once.
    Q_EMIT finished(out);
}

void PassRunner::abandon()
{
    if (!pass_)
        return;
    std::unique_ptr<Pass> pass = std::move(pass_);
    pass->worker->disconnect(this);
    pass->toGui.cutOff();
    // The worker may be waiting for an answer on this thread: answer (no, cancel) each
    // question it hands over until it has stopped.
    while (!pass->worker->wait(QDeadlineTimer(20)))
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

} // namespace nikra
