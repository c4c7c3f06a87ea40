#pragma once
// A messenger for a worker thread: every message is handed to a messenger on the GUI
// thread, and the worker waits there until the user has answered.

#include "canvas/message_log.h"

class QObject;

namespace nikra {

class GuiThreadMessenger : public Messenger {
public:
    // `guiObject` lives on the GUI thread; `target` is used only there.
    GuiThreadMessenger(Messenger &target, QObject *guiObject) : target_(&target), guiObject_(guiObject) {}

    // On the GUI thread: from now on nothing reaches the target; questions are answered
    // no (or cancel) at once. For a pass whose window has gone.
    void cutOff() { target_ = &nobody_; }

    void warn(const QString &title, const QString &text) override;
    void inform(const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;
    bool askOkCancel(const QString &title, const QString &text) override;
    Reply askYesNoCancel(const QString &title, const QString &text) override;
    std::optional<QString> askText(const QString &title, const QString &prompt, const QString &proposed) override;

private:
    template <class F> auto onGuiThread(F call);

    Messenger *target_;  // read on the GUI thread only
    QObject *guiObject_;
    MessageLog nobody_;
};

} // namespace nikra
