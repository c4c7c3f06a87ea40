#include "app/stream_messenger.h"

namespace nikra {

void StreamMessenger::warn(const QString &title, const QString &text)
{
    const QByteArray line = (title + QStringLiteral(": ") + text + u'\n').toUtf8();
    std::fwrite(line.constData(), 1, std::size_t(line.size()), stream_);
    std::fflush(stream_);
}

void StreamMessenger::inform(const QString &title, const QString &text) { warn(title, text); }

bool StreamMessenger::askYesNo(const QString &title, const QString &text)
{
    warn(title, text);
    return false;
}

bool StreamMessenger::askOkCancel(const QString &title, const QString &text)
{
    warn(title, text);
    return true;
}

std::optional<QString> StreamMessenger::askText(const QString &title, const QString &prompt, const QString &)
{
    // No one to type an answer: the box counts as cancelled.
    warn(title, prompt);
    return std::nullopt;
}

} // namespace nikra
