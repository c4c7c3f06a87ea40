// nikra: the plot program. "nikra render ..." draws a page without a screen.

#include "app/render_command.h"
#include "app/stream_messenger.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

void print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

QString mainUsage()
{
    return QStringLiteral(
        "Usage: nikra render -o PAGE.png|PAGE.pdf|PAGE.svg [options]\n"
        "       nikra render --help\n");
}

// Standard error carries the program's own messages, one line each; Qt's chatter about the
// session (no runtime folder on a headless machine, debug output) is kept out of it.
void keepStandardErrorForMessages(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type == QtDebugMsg || type == QtInfoMsg || text.startsWith(QStringLiteral("QStandardPaths: ")))
        return;
    print(stderr, text + u'\n');
}

int renderMain(int argc, char **argv)
{
    // Rendering needs no window: never wait for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepStandardErrorForMessages);
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(2);
    const nikra::RenderParse parse = nikra::parseRenderArguments(args);
    if (parse.help) {
        print(stdout, nikra::renderUsage());
        return 0;
    }
    if (!parse.options) {
        print(stderr, QStringLiteral("nikra render: %1\n").arg(parse.error));
        print(stderr, QStringLiteral("Try 'nikra render --help'.\n"));
        return 2;
    }
    nikra::StreamMessenger messenger;
    return nikra::runRender(*parse.options, messenger);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 2 && QByteArray(argv[1]) == "render")
        return renderMain(argc, argv);
    if (argc >= 2 && (QByteArray(argv[1]) == "--help" || QByteArray(argv[1]) == "-h")) {
        print(stdout, mainUsage());
        return 0;
    }
    print(stderr, mainUsage());
    return 2;
}
