#pragma once
// Whether a redraw nobody asked for (a watched file changed) replaces the page shown: only
// when it brings no problem the page shown did not have. A file caught half-written or an
// edit in progress then leaves the last good page in place. The canvas window and
// "render --watch" follow this one rule; each says the verdict in its own words.

#include <QStringList>

namespace nikra {

enum class RedrawVerdict {
    Replace,              // drawn without problems: shown, nothing to say
    ReplaceWithProblems,  // shown; its problems are said (none of them new)
    KeepNewProblems,      // a problem the page shown did not have: that page stays
    KeepNotDrawn,         // no page came out: the page shown stays
    NothingToShow,        // no page came out and none was shown before
};

class RedrawRule {
public:
    // A redraw's outcome: its messages ("TITLE: TEXT"), and whether a page came out at all.
    RedrawVerdict judge(const QStringList &messages, bool drawn = true) const;
    static bool replaces(RedrawVerdict verdict)
    {
        return verdict == RedrawVerdict::Replace || verdict == RedrawVerdict::ReplaceWithProblems;
    }

    // The page shown now was drawn with these messages (a replacing redraw, or one the user
    // asked for, which always replaces).
    void pageShown(const QStringList &messages);
    // Nothing is shown any more: the next page is a first page again.
    void forget();
    bool showsPage() const { return showsPage_; }

private:
    QStringList shownMessages_;
    bool showsPage_ = false;
};

} // namespace nikra
