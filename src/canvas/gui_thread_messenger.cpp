#include "canvas/gui_thread_messenger.h"

#include <QMetaObject>
#include <QObject>
#include <QThread>

#include <type_traits>

namespace nikra {

template <class F> auto GuiThreadMessenger::onGuiThread(F call)
{
    using Result = decltype(call());
    if (QThread::currentThread() == guiObject_->thread())
        return call();
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(guiObject_, call, Qt::BlockingQueuedConnection);
    } else {
        Result answer{};
        QMetaObject::invokeMethod(guiObject_, [&] { answer = call(); }, Qt::BlockingQueuedConnection);
        return answer;
    }
}

void GuiThreadMessenger::warn(const QString &title, const QString &text)
{
    onGuiThread([&] { target_->warn(title, text); });
}

void GuiThreadMessenger::inform(const QString &title, const QString &text)
{
    onGuiThread([&] { target_->inform(title, text); });
}

bool GuiThreadMessenger::askYesNo(const QString &title, const QString &text)
{
    return onGuiThread([&] { return target_->askYesNo(title, text); });
}

bool GuiThreadMessenger::askOkCancel(const QString &title, const QString &text)
{
    return onGuiThread([&] { return target_->askOkCancel(title, text); });
}

Reply GuiThreadMessenger::askYesNoCancel(const QString &title, const QString &text)
{
    return onGuiThread([&] { return target_->askYesNoCancel(title, text); });
}

std::optional<QString> GuiThreadMessenger::askText(const QString &title, const QString &prompt, const QString &proposed)
{
    return onGuiThread([&] { return target_->askText(title, prompt, proposed); });
}

} // namespace nikra
