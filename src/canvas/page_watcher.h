#pragma once
// Live redraw: while the canvas window shows a page, the files drawn on it are watched and
// a change asks for a redraw. "自動更新" turns it on and off, kept in the settings store.

#include "formats/slot_set.h"
#include "watch/file_change_watcher.h"

#include <QObject>
#include <QStringList>

class QCheckBox;
class QWidget;

namespace nikra {

class SettingsStore;

class PageWatcher : public QObject {
    Q_OBJECT

public:
    PageWatcher(SettingsStore &settings, QWidget *checkBoxParent);

    QCheckBox *checkBox() const { return checkBox_; }
    bool isOn() const;

    // The page on screen: drawn from these slots.
    void pageShown(const SlotSet &slots);
    void stop();  // the window has gone

Q_SIGNALS:
    void redrawWanted();

private:
    void toggled(bool on);

    SettingsStore &settings_;
    QCheckBox *checkBox_;
    FileChangeWatcher files_;
    QStringList shownFiles_;
    bool active_ = false;  // a page is on screen
};

} // namespace nikra
