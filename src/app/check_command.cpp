#include "app/check_command.h"
#include "platform/program_folder.h"

#include "app/stream_messenger.h"
#include "formats/messages.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace nikra {

namespace {

QString kindName(FileKind kind)
{
    switch (kind) {
    case FileKind::FormatData:
        return QStringLiteral("format");
    case FileKind::GraphData:
        return QStringLiteral("graph");
    case FileKind::CommentData:
        return QStringLiteral("comment");
    }
    return {};
}

// Counts the pass's messages and prints them in the chosen form. A message about the page
// as a whole (its length) has no slot, file kind, file or line.
class CheckReport : public StreamMessenger {
public:
    CheckReport(CheckOutput output, std::FILE *stream) : StreamMessenger(stream), output_(output), stream_(stream) {}

    int count() const { return count_; }

    void warn(const QString &title, const QString &text) override
    {
        QJsonObject entry{{QStringLiteral("slot"), QJsonValue::Null},  {QStringLiteral("kind"), QJsonValue::Null},
                          {QStringLiteral("file"), QJsonValue::Null},  {QStringLiteral("line"), QJsonValue::Null},
                          {QStringLiteral("title"), title},            {QStringLiteral("text"), text}};
        print(entry);
    }

    void fileProblem(int slot, const Diagnostic &problem, const QString &file) override
    {
        const QString title = slotTitle(problem.kind, slot);
        const QString text = messageText(problem.id, problem.args);
        QJsonObject entry{{QStringLiteral("slot"), slot},
                          {QStringLiteral("kind"), kindName(problem.kind)},
                          {QStringLiteral("file"), file},
                          {QStringLiteral("line"), problem.line > 0 ? QJsonValue(problem.line) : QJsonValue()},
                          {QStringLiteral("title"), title},
                          {QStringLiteral("text"), text}};
        print(entry);
    }

private:
    void print(const QJsonObject &entry)
    {
        ++count_;
        switch (output_) {
        case CheckOutput::Lines:
            StreamMessenger::warn(entry.value(QStringLiteral("title")).toString(),
                                  entry.value(QStringLiteral("text")).toString());
            break;
        case CheckOutput::Json: {
            const QByteArray line = QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n';
            std::fwrite(line.constData(), 1, std::size_t(line.size()), stream_);
            std::fflush(stream_);
            break;
        }
        case CheckOutput::Quiet:
            break;
        }
    }

    CheckOutput output_;
    std::FILE *stream_;
    int count_ = 0;
};

} // namespace

QString checkUsage()
{
    return QStringLiteral(
        "Usage: nikra check [--slot N FORMAT [GRAPH [COMMENT]]]... | --pth FILE [options]\n"
        "\n"
        "Reads and checks the page's files as drawing on the canvas does, without writing\n"
        "a page, and prints every message drawing would show, as TITLE: TEXT lines on\n"
        "standard output in the order they are met.\n"
        "\n"
        "Options:\n"
        "%1"
        "  --quiet                      print nothing; the exit status tells\n"
        "  --json                       one JSON object a line: slot, kind (format, graph,\n"
        "                               comment; null for the page), file, line (null when\n"
        "                               not known), title, text\n"
        "\n"
        "Without --slot or --pth the program folder's Nikra.pth is used, else the samples.\n"
        "Exit status: 0 no messages, 1 messages, 2 bad arguments or an unreadable --pth.\n")
        .arg(pageInputUsage());
}

CheckParse parseCheckArguments(const QStringList &args)
{
    CheckParse result;
    CheckOptions o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        QString error;
        if (a == u"-h" || a == u"--help") {
            result.help = true;
            return result;
        } else if (takePageInput(args, i, o.inputs, error)) {
            if (!error.isEmpty()) {
                result.error = error;
                return result;
            }
        } else if (a == u"--quiet" || a == u"-q") {
            o.output = CheckOutput::Quiet;
        } else if (a == u"--json") {
            o.output = CheckOutput::Json;
        } else {
            result.error = QStringLiteral("unknown argument '%1'").arg(a);
            return result;
        }
    }
    if (!o.inputs.morePthFiles.isEmpty()) {
        result.error = messageText(Msg::OneSetOnly);
        return result;
    }
    result.error = chosenHomeProblem(o.inputs.home);
    if (!result.error.isEmpty())
        return result;
    result.options = o;
    return result;
}

int runCheck(const CheckOptions &options, std::FILE *out)
{
    PageSource source = readPageSource(options.inputs);
    if (!source.error.isEmpty()) {
        print(stderr, QStringLiteral("nikra check: %1\n").arg(source.error));
        return 2;
    }
    // The real canvas pass, its page thrown away: the same reading, the same checks in the
    // same order, the same corrections, and the page-length warning.
    CheckReport report(options.output, out);
    ViewState view;
    PageJob job{source.slots, view, report, source.header};
    canvasPassWithPageCheck(job, CanvasPaint::NoPicture);
    return report.count() == 0 ? 0 : 1;
}

} // namespace nikra
