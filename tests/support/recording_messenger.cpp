#include "support/recording_messenger.h"

namespace nikra::test {

void RecordingMessenger::warn(const QString &title, const QString &text)
{
    lines.append(title + QStringLiteral(": ") + text);
    if (onMessage)
        onMessage();
}

void RecordingMessenger::inform(const QString &title, const QString &text) { warn(title, text); }

bool RecordingMessenger::askYesNo(const QString &title, const QString &text)
{
    warn(title, text);
    return yesNoAnswer;
}

bool RecordingMessenger::askOkCancel(const QString &title, const QString &text)
{
    warn(title, text);
    return okCancelAnswer;
}

Reply RecordingMessenger::askYesNoCancel(const QString &title, const QString &text)
{
    warn(title, text);
    return yesNoCancelAnswer;
}

std::optional<QString> RecordingMessenger::askText(const QString &title, const QString &prompt, const QString &)
{
    warn(title, prompt);
    return textAnswer;
}

QString messageLine(const QString &title, Msg id, const QStringList &args)
{
    return title + QStringLiteral(": ") + messageText(id, args);
}

QString slotMessage(FileKind kind, int slot, Msg id, const QStringList &args)
{
    return messageLine(slotTitle(kind, slot), id, args);
}

} // namespace nikra::test
