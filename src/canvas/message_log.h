#pragma once
// Keeps the "TITLE: TEXT" line of every message a pass gives, and hands each on to another
// messenger when there is one; without one, questions are answered no (or cancel).

#include "formats/messages.h"

#include <QStringList>

namespace nikra {

class MessageLog : public Messenger {
public:
    explicit MessageLog(Messenger *forward = nullptr) : forward_(forward) {}

    void warn(const QString &title, const QString &text) override
    {
        keep(title, text);
        if (forward_)
            forward_->warn(title, text);
    }
    void inform(const QString &title, const QString &text) override
    {
        keep(title, text);
        if (forward_)
            forward_->inform(title, text);
    }
    bool askYesNo(const QString &title, const QString &text) override
    {
        keep(title, text);
        return forward_ && forward_->askYesNo(title, text);
    }
    bool askOkCancel(const QString &title, const QString &text) override
    {
        keep(title, text);
        return forward_ && forward_->askOkCancel(title, text);
    }
    Reply askYesNoCancel(const QString &title, const QString &text) override
    {
        keep(title, text);
        return forward_ ? forward_->askYesNoCancel(title, text) : Reply::Cancel;
    }
    std::optional<QString> askText(const QString &title, const QString &prompt, const QString &proposed) override
    {
        keep(title, prompt);
        return forward_ ? forward_->askText(title, prompt, proposed) : std::nullopt;
    }

    const QStringList &lines() const { return lines_; }

private:
    void keep(const QString &title, const QString &text) { lines_ << title + QStringLiteral(": ") + text; }

    Messenger *forward_;
    QStringList lines_;
};

} // namespace nikra
