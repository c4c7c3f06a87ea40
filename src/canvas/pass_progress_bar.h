#pragma once
// The bar over the page while a pass runs: it comes only when the pass is not a short one,
// counts slots and the share of the current one, and says which slot and how many points.

#include "plot/plot_pass.h"

#include <QImage>
#include <QObject>
#include <QTimer>

class QProgressBar;
class QWidget;

namespace nikra {

class PassProgressBar : public QObject {
    Q_OBJECT

public:
    explicit PassProgressBar(QWidget *viewport);

    QProgressBar *bar() const { return bar_; }
    // A pass starts: the bar comes if it is still running a moment later.
    void begin();
    void end();
    // The latest news of the running pass.
    void show(const nikra::PassProgress &progress, const QImage &pageSoFar);
    // Along the bottom of the page's window.
    void place();

Q_SIGNALS:
    // The page drawn so far, once the bar is up.
    void pageSoFar(const QImage &page);

private:
    QWidget *viewport_;
    QProgressBar *bar_;
    QTimer delay_;
    PassProgress latest_;
    QImage latestPage_;
};

} // namespace nikra
