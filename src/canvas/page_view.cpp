#include "canvas/page_view.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>

namespace nikra {

namespace {

// One notch of the wheel (120 eighths of a degree) moves the bar this many of its 100 steps,
// about three lines of text on the page.
constexpr int kStepsPerNotch = 5;

} // namespace

PageView::PageView(SelectionState &selection, QWidget *parent)
    : QWidget(parent), sel_(selection), viewport_(new QWidget(this)), hBar_(new QScrollBar(Qt::Horizontal, this)),
      vBar_(new QScrollBar(Qt::Vertical, this))
{
    viewport_->setObjectName(QStringLiteral("Picture1"));
    hBar_->setObjectName(QStringLiteral("HScroll1"));
    vBar_->setObjectName(QStringLiteral("VScroll1"));
    for (QScrollBar *bar : {hBar_, vBar_}) {
        bar->setRange(0, 100);
        bar->setSingleStep(1);
        bar->setPageStep(10);
        // The page follows the thumb while it is dragged.
        connect(bar, &QScrollBar::valueChanged, viewport_, qOverload<>(&QWidget::update));
    }
    viewport_->setMouseTracking(false);
    viewport_->setCursor(Qt::CrossCursor);
    viewport_->installEventFilter(this);
    viewport_->setAttribute(Qt::WA_OpaquePaintEvent);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    grid->addWidget(viewport_, 0, 0);
    grid->addWidget(vBar_, 0, 1);
    grid->addWidget(hBar_, 1, 0);
}

void PageView::setPage(const QImage &page, double screenPxPerMm)
{
    page_ = page;
    pxPerMm_ = screenPxPerMm;
    viewport_->update();
}

void PageView::setClientSize(const QSize &pixels, bool horizontalBar)
{
    viewport_->setFixedSize(pixels);
    hBar_->setVisible(horizontalBar);
}

QPoint PageView::pageOffset() const
{
    // DoHScroll and DoVScroll: the page moves by its overhang times value / maximum, in
    // screen pixels.
    const QSize page = page_.deviceIndependentSize().toSize();
    const int overX = std::max(0, page.width() - viewport_->width());
    const int overY = std::max(0, page.height() - viewport_->height());
    return {hBar_->isVisible() ? overX * hBar_->value() / hBar_->maximum() : 0,
            overY * vBar_->value() / vBar_->maximum()};
}

QPointF PageView::pageMm(const QPoint &p) const
{
    const QPoint at = p + pageOffset();
    return {at.x() / pxPerMm_, at.y() / pxPerMm_};
}

void PageView::paintViewport()
{
    QPainter painter(viewport_);
    painter.fillRect(viewport_->rect(), palette().color(QPalette::Dark));
    const QPoint offset = pageOffset();
    painter.drawImage(-offset, page_);
    // The box: in invert mode, from where the drag began to the corner last drawn (while
    // dragging) or to where it ended.
    QPointF corner;
    if (sel_.SelDragging && sel_.drawnDuringDrag())
        corner = {sel_.SelLastX, sel_.SelLastY};
    else if (!sel_.SelDragging && sel_.finished())
        corner = {sel_.SelX2, sel_.SelY2};
    else
        return;
    const QPointF start(sel_.SelX1, sel_.SelY1);
    const QRect box = QRectF(start * pxPerMm_, corner * pxPerMm_).normalized().toRect().translated(-offset);
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
}

bool PageView::overBar(const QPoint &viewportPoint) const
{
    const QPoint p = viewport_->mapTo(this, viewportPoint);
    return (vBar_->isVisible() && vBar_->geometry().contains(p)) || (hBar_->isVisible() && hBar_->geometry().contains(p));
}

void PageView::press(const QPoint &at)
{
    sel_.erase();
    const QPointF mm = pageMm(at);
    sel_.SelX1 = float(mm.x());
    sel_.SelY1 = float(mm.y());
    sel_.SelDragging = true;
    viewport_->update();
}

void PageView::stepTowards(QScrollBar *bar, int along, int start, int length)
{
    const int v = bar->value();
    const int vmax = bar->maximum();
    if (along < start + (v - 1) * length / vmax && v >= 1)
        bar->setValue(v - 1);
    else if (along > start + (v + 1) * length / vmax && v < vmax)
        bar->setValue(v + 1);
}

void PageView::move(const QPoint &at, Qt::MouseButtons buttons)
{
    if (!sel_.SelDragging || buttons != Qt::LeftButton)
        return;
    const QPointF mm = pageMm(at);
    sel_.SelLastX = float(mm.x());
    sel_.SelLastY = float(mm.y());
    const QPoint p = viewport_->mapTo(this, at);
    const QRect v = vBar_->geometry();
    if (vBar_->isVisible() && p.x() > v.left() && p.x() < v.right() && p.y() > v.top() && p.y() < v.bottom())
        stepTowards(vBar_, p.y(), v.top(), v.height());
    const QRect h = hBar_->geometry();
    if (hBar_->isVisible() && p.x() > h.left() && p.x() < h.right() && p.y() > h.top() && p.y() < h.bottom())
        stepTowards(hBar_, p.x(), h.left(), h.width());
    viewport_->update();
}

void PageView::release(const QPoint &at)
{
    if (!sel_.SelDragging)
        return;
    if (overBar(at)) {  // the corner last drawn, not the scroll bar
        sel_.SelX2 = sel_.SelLastX;
        sel_.SelY2 = sel_.SelLastY;
    } else {
        const QPointF mm = pageMm(at);
        sel_.SelX2 = float(mm.x());
        sel_.SelY2 = float(mm.y());
    }
    sel_.SelDragging = false;
    viewport_->update();
}

void PageView::wheel(const QWheelEvent &event)
{
    QPoint turn = event.angleDelta();
    if (event.modifiers() & Qt::ShiftModifier && turn.x() == 0)
        turn = QPoint(turn.y(), 0);
    wheelRest_ += turn * kStepsPerNotch;
    // Whole steps, toward zero: the rest waits for more turning.
    const QPoint steps(wheelRest_.x() / 120, wheelRest_.y() / 120);
    wheelRest_ -= steps * 120;
    // Turning away (a positive turn) shows what lies above or to the left.
    if (steps.x() != 0 && hBar_->isVisible())
        hBar_->setValue(hBar_->value() - steps.x());
    if (steps.y() != 0)
        vBar_->setValue(vBar_->value() - steps.y());
}

bool PageView::scrollByKey(int key, Qt::KeyboardModifiers modifiers)
{
    QScrollBar *bar = modifiers & Qt::ShiftModifier ? hBar_ : vBar_;
    switch (key) {
    case Qt::Key_PageUp: bar->setValue(bar->value() - bar->pageStep()); return true;
    case Qt::Key_PageDown: bar->setValue(bar->value() + bar->pageStep()); return true;
    case Qt::Key_Home: bar->setValue(bar->minimum()); return true;
    case Qt::Key_End: bar->setValue(bar->maximum()); return true;
    default: return false;
    }
}

bool PageView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != viewport_)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Paint:
        paintViewport();
        return true;
    case QEvent::MouseButtonPress:
        press(static_cast<QMouseEvent *>(event)->position().toPoint());
        return true;
    case QEvent::MouseMove: {
        const auto *m = static_cast<QMouseEvent *>(event);
        move(m->position().toPoint(), m->buttons());
        return true;
    }
    case QEvent::MouseButtonRelease:
        release(static_cast<QMouseEvent *>(event)->position().toPoint());
        return true;
    case QEvent::Wheel:
        wheel(*static_cast<QWheelEvent *>(event));
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace nikra
