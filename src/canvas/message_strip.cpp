#include "canvas/message_strip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace nikra {

namespace {

constexpr int kMaxLines = 100;  // older lines drop off the end

} // namespace

MessageStrip::MessageStrip(QWidget *parent) : QWidget(parent), note_(new QLabel(this)), list_(new QListWidget(this))
{
    setObjectName(QStringLiteral("MessageStrip"));
    note_->setObjectName(QStringLiteral("MessageStripNote"));
    note_->setText(QStringLiteral("ファイルに問題があるため、前の図を表示しています。"));
    list_->setObjectName(QStringLiteral("MessageStripLines"));
    list_->setFixedHeight(4 * list_->fontMetrics().height() + 6);
    auto *close = new QToolButton(this);
    close->setObjectName(QStringLiteral("MessageStripClose"));
    close->setText(QStringLiteral("×"));
    close->setToolTip(QStringLiteral("メッセージを閉じる"));
    connect(close, &QToolButton::clicked, this, &MessageStrip::clear);

    auto *top = new QHBoxLayout;
    top->addWidget(note_, 1);
    top->addWidget(close, 0, Qt::AlignRight | Qt::AlignTop);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(top);
    layout->addWidget(list_);
    setStyleSheet(QStringLiteral("#MessageStrip { background: #fff4d0; }"));
    setAttribute(Qt::WA_StyledBackground);
    hide();
}

void MessageStrip::report(const QStringList &lines, bool keptPage)
{
    // A message said again moves to the top instead of standing there twice.
    for (const QString &line : lines) {
        for (QListWidgetItem *old : list_->findItems(line, Qt::MatchExactly))
            delete list_->takeItem(list_->row(old));
        list_->insertItem(0, line);
    }
    while (list_->count() > kMaxLines)
        delete list_->takeItem(list_->count() - 1);
    note_->setVisible(keptPage);
    setVisible(list_->count() > 0);
}

QStringList MessageStrip::lines() const
{
    QStringList out;
    for (int i = 0; i < list_->count(); ++i)
        out << list_->item(i)->text();
    return out;
}

bool MessageStrip::keptPage() const { return !isHidden() && !note_->isHidden(); }

void MessageStrip::clear()
{
    list_->clear();
    note_->hide();
    hide();
}

} // namespace nikra
