#include "canvas/pass_progress_bar.h"

#include <QLocale>
#include <QProgressBar>
#include <QWidget>

#include <algorithm>
#include <utility>

namespace nikra {

namespace {

// A pass shorter than this shows no progress bar.
constexpr int kProgressAfterMs = 330;

} // namespace

PassProgressBar::PassProgressBar(QWidget *viewport)
    : QObject(viewport), viewport_(viewport), bar_(new QProgressBar(viewport))
{
    bar_->setObjectName(QStringLiteral("PassProgress"));
    bar_->hide();
    delay_.setSingleShot(true);
    delay_.setInterval(kProgressAfterMs);
    connect(&delay_, &QTimer::timeout, this, [this] {
        place();
        bar_->show();
        show(latest_, std::exchange(latestPage_, QImage()));
    });
}

void PassProgressBar::begin()
{
    // Busy (no steps) until the pass has points or a whole slot to count.
    bar_->setRange(0, 0);
    latest_ = PassProgress{};
    delay_.start();
}

void PassProgressBar::end()
{
    delay_.stop();
    bar_->hide();
    latestPage_ = QImage();
}

void PassProgressBar::show(const PassProgress &progress, const QImage &pageSoFar)
{
    // A short pass shows only its result, without flicker: until the bar is due the
    // latest state is kept for it.
    latest_ = progress;
    latestPage_ = pageSoFar;
    if (!bar_->isVisible())
        return;
    if (!pageSoFar.isNull())
        Q_EMIT this->pageSoFar(pageSoFar);
    if (progress.points == 0 && progress.slotsDone == 0)
        return;
    const int total = std::max(1, progress.slotsTotal);
    bar_->setRange(0, 1000 * total);
    bar_->setValue(int(1000 * progress.slotsDone + 1000 * std::clamp(progress.slotShare, 0.0, 1.0)));
    bar_->setFormat(QStringLiteral("描画中　スロット %1 / %2　%3 点")
                        .arg(std::min(progress.slotsDone + 1, total))
                        .arg(total)
                        .arg(QLocale::system().toString(progress.points)));
}

void PassProgressBar::place()
{
    const QSize room = viewport_->size();
    bar_->setGeometry(8, room.height() - 32, room.width() - 16, 24);
}

} // namespace nikra
