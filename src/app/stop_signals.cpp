#include "app/stop_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace nikra {

namespace {

// The handler's only way out: the writing end of the pipe of the one StopSignals alive.
volatile std::sig_atomic_t stopPipeWriter = -1;

extern "C" void noteStopSignal(int)
{
    const int fd = stopPipeWriter;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    }
}

void handle(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

StopSignals::StopSignals(QObject *parent) : QObject(parent)
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // no pipe: the signals keep their usual effect and end the process
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
        }
        QCoreApplication::quit();
    });
    stopPipeWriter = pipe_[1];
    handle(SIGINT, noteStopSignal);
    handle(SIGTERM, noteStopSignal);
}

StopSignals::~StopSignals()
{
    if (pipe_[0] < 0)
        return;
    handle(SIGINT, SIG_DFL);
    handle(SIGTERM, SIG_DFL);
    stopPipeWriter = -1;
    delete notifier_;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

} // namespace nikra
