#include "app/render_watch.h"

#include "app/render_command.h"
#include "app/stop_signals.h"
#include "app/stream_messenger.h"
#include "watch/file_change_watcher.h"
#include "watch/redraw_rule.h"

#include <QCoreApplication>
#include <QTime>

#include <cstdio>

namespace nikra {

namespace {

// The messages of one drawing, "TITLE: TEXT" each, in the order they came; questions
// take the command line's safe answers.
class MessageList : public StreamMessenger {
public:
    void warn(const QString &title, const QString &text) override { lines.append(title + QStringLiteral(": ") + text); }
    QStringList lines;
};

// One line on standard output per drawing, at once: the user (or a script) watches it.
void report(const QString &what, const QStringList &messages = {})
{
    QString line = QTime::currentTime().toString(QStringLiteral("HH:mm:ss")) + u' ' + what;
    for (const QString &message : messages)
        line += QStringLiteral(" | ") + message;
    print(stdout, line + u'\n');
    std::fflush(stdout);
}

class PageWatch : public QObject {
public:
    explicit PageWatch(const RenderOptions &options) : options_(options)
    {
        connect(&watcher_, &FileChangeWatcher::changed, this, &PageWatch::draw);
    }

    // The first page. False when it cannot be written at all.
    bool start()
    {
        // Watched before the first reading, so a change while drawing is not missed.
        watcher_.setFiles(readPageSource(options_.inputs).files);
        return draw();
    }

    // Draws the page and writes it unless the drawing found a problem the page on disk
    // does not have: an edit in progress or a file caught half-written leaves the last
    // good page. False when the page could not be made or written.
    bool draw()
    {
        MessageList messages;
        const RenderedPage page = renderPage(options_, messages);
        watcher_.setFiles(page.inputs);
        if (page.error.isEmpty() && watcher_.changedSinceSignal()) {
            // Read while it changed: the change is signalled, and the page drawn again.
            report(QStringLiteral("files changed while drawing: drawing again"));
            return true;
        }
        switch (rule_.judge(messages.lines, page.error.isEmpty())) {
        case RedrawVerdict::NothingToShow:
            report(QStringLiteral("page not written: %1").arg(page.error));
            return false;
        case RedrawVerdict::KeepNotDrawn:
            report(QStringLiteral("page kept: %1").arg(page.error));
            return false;
        case RedrawVerdict::KeepNewProblems:
            report(QStringLiteral("page kept, new problems:"), messages.lines);
            return true;
        case RedrawVerdict::Replace:
        case RedrawVerdict::ReplaceWithProblems:
            break;
        }
        if (const QString failure = writeRenderedPage(options_.output, page); !failure.isEmpty()) {
            report(failure);
            return false;
        }
        rule_.pageShown(messages.lines);
        report(messages.lines.isEmpty() ? QStringLiteral("ok") : QStringLiteral("written:"), messages.lines);
        return true;
    }

private:
    const RenderOptions &options_;
    FileChangeWatcher watcher_;
    RedrawRule rule_;  // the page on disk is the page shown
};

} // namespace

int watchRender(const RenderOptions &options)
{
    StopSignals stop;
    PageWatch watch(options);
    if (!watch.start())
        return 1;
    QCoreApplication::exec();
    return 0;
}

} // namespace nikra
