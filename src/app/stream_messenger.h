#pragma once
// Messages for the command line: one line each on standard error, "TITLE: TEXT", the title
// exactly as it stands (leading blank included). Questions take their safe answer.

#include "formats/messages.h"

#include <cstdio>

namespace nikra {

// A text on a standard stream, as UTF-8 (the program's own lines go out this way).
void print(std::FILE *stream, const QString &text);

class StreamMessenger : public Messenger {
public:
    explicit StreamMessenger(std::FILE *stream = stderr) : stream_(stream) {}
    void warn(const QString &title, const QString &text) override;
    void inform(const QString &title, const QString &text) override;
    bool askYesNo(const QString &title, const QString &text) override;
    bool askOkCancel(const QString &title, const QString &text) override;
    std::optional<QString> askText(const QString &title, const QString &prompt, const QString &proposed) override;

private:
    std::FILE *stream_;
};

} // namespace nikra
