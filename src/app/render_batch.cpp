#include "app/render_batch.h"

#include "app/render_command.h"
#include "app/shell_words.h"
#include "app/stream_messenger.h"
#include "formats/file_bytes.h"
#include "formats/messages.h"
#include "formats/text_codec.h"
#include "platform/program_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <QWaitCondition>

#include <optional>
#include <vector>

namespace nikra {

namespace {

struct BatchPage {
    int line = 0;
    QString output;                        // the line's first word, as written
    std::optional<RenderOptions> options;  // nothing when the line cannot be drawn
    QString problem;                       // why not
};

struct PageOutcome {
    QStringList messages;  // TITLE: TEXT
    QString failure;       // why the page was not written; empty when it was
};

// The messages of one page, kept until its result line is printed; questions take the
// command line's safe answers.
class PageMessages : public StreamMessenger {
public:
    void warn(const QString &title, const QString &text) override { lines.append(title + QStringLiteral(": ") + text); }
    QStringList lines;
};

// Where a page file really is: the writer follows links to the file they name, so two
// names of one file (a link, "./", "..") must be known as one. A folder that does not exist
// yet is taken as named.
QString pageFileIdentity(const QString &path)
{
    QString where = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40 && QFileInfo(where).isSymLink(); ++hop)
        where = QFileInfo(where).symLinkTarget();
    const QFileInfo file(where);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return QDir::cleanPath((folder.isEmpty() ? file.absolutePath() : folder) + u'/' + file.fileName());
}

// What keeps a line's parsed arguments from being one page of a batch.
QString batchLineProblem(const RenderParse &parsed, const QString &output)
{
    if (parsed.help)
        return QStringLiteral("--help is not an argument of a page");
    if (!parsed.options)
        return parsed.error;
    const RenderOptions &o = *parsed.options;
    if (o.output != output)
        return QStringLiteral("-o has no place on a line: its first word is the page to write");
    if (o.watch)
        return QStringLiteral("--watch has no place on a line: each page is drawn once");
    if (o.verbose)
        return QStringLiteral("--verbose is for the whole batch: nikra render --batch FILE --verbose");
    return {};
}

// The pages of the lines, each read by the render command's own argument reader. A line
// whose page file an earlier line writes is not drawn: two pages must never be written
// into one file at the same time.
std::vector<BatchPage> batchPages(const std::vector<ShellLine> &lines)
{
    std::vector<BatchPage> pages;
    QHash<QString, int> writtenBy;  // page file -> the line that writes it
    for (const ShellLine &line : lines) {
        BatchPage page{line.number, line.words.first(), std::nullopt, {}};
        const QString file = pageFileIdentity(page.output);
        if (const auto earlier = writtenBy.constFind(file); earlier != writtenBy.constEnd()) {
            page.problem = messageText(Msg::BatchOutputRepeated, {QString::number(*earlier)});
        } else {
            writtenBy.insert(file, line.number);
            const RenderParse parsed =
                parseRenderArguments(QStringList{QStringLiteral("-o"), page.output} + line.words.mid(1));
            page.problem = batchLineProblem(parsed, page.output);
            if (page.problem.isEmpty())
                page.options = parsed.options;
        }
        pages.push_back(std::move(page));
    }
    return pages;
}

// A program folder gets the samples it lacks when a page is read from it: seeded here, once
// for each folder, so that pages drawn side by side never copy the same files at once.
void seedProgramFolders(const std::vector<BatchPage> &pages)
{
    QSet<QString> homes;
    for (const BatchPage &page : pages) {
        if (page.options && !page.options->inputs.slots)
            homes.insert(page.options->inputs.home);
    }
    for (const QString &home : std::as_const(homes))
        resolveProgramFolder(home);
}

// One page drawn and written as "nikra render" does it, on whichever thread runs it: each
// pass has its own surfaces, fonts and messenger.
PageOutcome drawPage(const RenderOptions &options)
{
    PageMessages messages;
    const RenderedPage page = renderPage(options, messages);
    if (!page.error.isEmpty())
        return {messages.lines, page.error};
    return {messages.lines, writeRenderedPage(options.output, page)};
}

void report(const QString &output, const PageOutcome &outcome)
{
    for (const QString &message : outcome.messages)
        print(stderr, output + QStringLiteral(": ") + message + u'\n');
    std::fflush(stderr);
    print(stdout, outcome.failure.isEmpty() ? QStringLiteral("ok %1\n").arg(output)
                                            : QStringLiteral("failed %1: %2\n").arg(output, outcome.failure));
    std::fflush(stdout);
}

// The batch file's text, or why it cannot be had.
std::optional<QString> batchText(const QString &path, QString &failure)
{
    QByteArray bytes;
    if (path == u"-") {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            failure = in.errorString();
            return std::nullopt;
        }
        bytes = in.readAll();
    } else {
        FileBytes read = readWholeFile(path);
        if (!read) {
            failure = read.failure;
            return std::nullopt;
        }
        bytes = std::move(read.bytes);
    }
    const DecodedText decoded = decodeText(bytes);
    if (!decoded.exact) {
        failure = messageText(Msg::NotDecodable);
        return std::nullopt;
    }
    return decoded.text;
}

} // namespace

QString batchUsage()
{
    return QStringLiteral(
        "With --batch, each line of FILE (- for standard input) is one page: the page to\n"
        "write, then its options as above (not -o, --watch or --verbose), in words quoted\n"
        "as in a POSIX shell ('...', \"...\", backslash; nothing is expanded). Blank lines\n"
        "and # comments are skipped. The pages are drawn on all cores, each the same as its\n"
        "own render. Standard output has one line per page, in the file's order:\n"
        "\"ok PAGE\" or \"failed PAGE: REASON\"; file problems go to standard error as\n"
        "PAGE: TITLE: TEXT. A line that writes the page of an earlier line fails. Exit\n"
        "status: 0 every page written, 1 some page not, 2 bad arguments, or FILE cannot be\n"
        "read or leaves a quote open (then nothing is drawn).\n");
}

int runBatch(const QString &file)
{
    QString failure;
    const std::optional<QString> text = batchText(file, failure);
    if (!text) {
        print(stderr, QStringLiteral("nikra render: cannot read '%1': %2\n").arg(file, failure));
        return 2;
    }
    const ShellLines lines = splitShellLines(*text);
    if (lines.unclosedQuoteLine != 0) {
        print(stderr, QStringLiteral("nikra render: %1: %2\n")
                          .arg(file, messageText(Msg::BatchQuoteUnclosed, {QString::number(lines.unclosedQuoteLine)})));
        return 2;
    }
    const std::vector<BatchPage> pages = batchPages(lines.lines);
    seedProgramFolders(pages);

    // The pages are drawn side by side; their results are printed in the file's order, each
    // as soon as it and all before it are done.
    std::vector<std::optional<PageOutcome>> outcomes(pages.size());
    QMutex mutex;
    QWaitCondition finished;
    QThreadPool pool;
    pool.setMaxThreadCount(QThread::idealThreadCount());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (!pages[i].options)
            continue;
        pool.start([&, i] {
            PageOutcome outcome = drawPage(*pages[i].options);
            const QMutexLocker lock(&mutex);
            outcomes[i] = std::move(outcome);
            finished.wakeAll();
        });
    }
    bool allWritten = true;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        PageOutcome outcome;
        if (pages[i].options) {
            QMutexLocker lock(&mutex);
            while (!outcomes[i])
                finished.wait(&mutex);
            outcome = std::move(*outcomes[i]);
        } else {
            outcome.failure = pages[i].problem;
        }
        allWritten = allWritten && outcome.failure.isEmpty();
        report(pages[i].output, outcome);
    }
    return allWritten ? 0 : 1;
}

} // namespace nikra
