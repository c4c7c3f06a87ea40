#pragma once
// Records what the program would show, as "TITLE: TEXT" lines; questions get set answers.

#include "formats/messages.h"

#include <QStringList>

#include <functional>

namespace nikra::test {

class RecordingMessenger : public Messenger {
public:
    void warn(const QString &title, const QString &text) override;
    void inform(const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;
    bool askOkCancel(const QString &title, const QString &text) override;
    Reply askYesNoCancel(const QString &title, const QString &text) override;
    std::optional<QString> askText(const QString &title, const QString &prompt, const QString &proposed) override;

    QStringList lines;
    bool yesNoAnswer = true;
    bool okCancelAnswer = true;
    Reply yesNoCancelAnswer = Reply::Cancel;
    std::optional<QString> textAnswer;  // nullopt: the input box is cancelled
    std::function<void()> onMessage;    // run as each message arrives, after it is recorded
};

// The line a message becomes: its title, ": ", its text.
QString messageLine(const QString &title, Msg id, const QStringList &args = {});
QString slotMessage(FileKind kind, int slot, Msg id, const QStringList &args = {});

} // namespace nikra::test
