#pragma once
// Live redraw: while the canvas window shows a page, the files drawn on it are watched and
// a change asks for a redraw. The redraw's page replaces the one on screen unless it has a
// message the page on screen did not have (a file caught half-written, an edit in
// progress): then the last good page stays. "自動更新" turns it on and off, kept in the
// settings store.

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

    // The page on screen: drawn from these slots with these messages.
    void pageShown(const SlotSet &slots, const QStringList &messages);
    void stop();  // the window has gone
    // A redraw's messages: may its page replace the one on screen?
    bool accepts(const QStringList &messages) const;


Q_SIGNALS:
    void redrawWanted();

private:
    void toggled(bool on);

    SettingsStore &settings_;
    QCheckBox *checkBox_;
    FileChangeWatcher files_;
    QStringList shownFiles_;
    QStringList shownMessages_;
    bool active_ = false;  // a page is on screen
};

} // namespace nikra
