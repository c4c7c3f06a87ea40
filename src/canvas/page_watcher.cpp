#include "canvas/page_watcher.h"

#include "platform/settings_store.h"

#include <QCheckBox>

namespace nikra {

PageWatcher::PageWatcher(SettingsStore &settings, QWidget *checkBoxParent)
    : QObject(checkBoxParent), settings_(settings), checkBox_(new QCheckBox(QStringLiteral("自動更新"), checkBoxParent))
{
    checkBox_->setObjectName(QStringLiteral("AutoRefresh"));
    checkBox_->setToolTip(QStringLiteral("ファイルが保存されるたびに描き直す"));
    checkBox_->setChecked(settings_.autoRefresh());
    connect(checkBox_, &QCheckBox::toggled, this, &PageWatcher::toggled);
    connect(&files_, &FileChangeWatcher::changed, this, &PageWatcher::redrawWanted);
}

bool PageWatcher::isOn() const { return checkBox_->isChecked(); }

void PageWatcher::pageShown(const SlotSet &slots)
{
    active_ = true;
    const QStringList files = slots.drawnFiles();
    if (files != shownFiles_ || files_.files().isEmpty()) {
        shownFiles_ = files;
        if (isOn())
            files_.setFiles(shownFiles_);
    }
}

void PageWatcher::stop()
{
    active_ = false;
    shownFiles_.clear();
    files_.setFiles({});
}

void PageWatcher::toggled(bool on)
{
    settings_.setAutoRefresh(on);
    if (!on) {
        files_.setFiles({});
    } else if (active_) {
        // Whatever changed while it was off is drawn now.
        files_.setFiles(shownFiles_);
        Q_EMIT redrawWanted();
    }
}

} // namespace nikra
