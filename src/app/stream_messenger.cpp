#include "app/stream_messenger.h"

namespace nikra {

void print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

void StreamMessenger::warn(const QString &title, const QString &text)
{
    print(stream_, title + QStringLiteral(": ") + text + u'\n');
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
