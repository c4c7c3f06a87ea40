#pragma once
// Ctrl-C (SIGINT) and SIGTERM as an ordinary event: while an instance lives, either signal
// quits the application's event loop, so a long-running command ends its work cleanly and
// exits with the status it chooses. The signal handler itself only writes one byte to a
// pipe (all a handler may safely do); the event loop reads it.

#include <QObject>

class QSocketNotifier;

namespace nikra {

class StopSignals : public QObject {
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;
    StopSignals(const StopSignals &) = delete;
    StopSignals &operator=(const StopSignals &) = delete;

private:
    int pipe_[2] = {-1, -1};
    QSocketNotifier *notifier_ = nullptr;
};

} // namespace nikra
