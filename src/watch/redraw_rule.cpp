#include "watch/redraw_rule.h"

namespace nikra {

RedrawVerdict RedrawRule::judge(const QStringList &messages, bool drawn) const
{
    if (!drawn)
        return showsPage_ ? RedrawVerdict::KeepNotDrawn : RedrawVerdict::NothingToShow;
    // A first page is shown whatever it says: there is nothing better to keep.
    if (showsPage_) {
        for (const QString &line : messages) {
            if (!shownMessages_.contains(line))
                return RedrawVerdict::KeepNewProblems;
        }
    }
    return messages.isEmpty() ? RedrawVerdict::Replace : RedrawVerdict::ReplaceWithProblems;
}

void RedrawRule::pageShown(const QStringList &messages)
{
    shownMessages_ = messages;
    showsPage_ = true;
}

void RedrawRule::forget()
{
    shownMessages_.clear();
    showsPage_ = false;
}

} // namespace nikra
