// nikra: the plot program. Without arguments it starts the desktop program; "nikra render"
// draws a page without a screen.

#include "app/convert_command.h"
#include "app/main_window.h"
#include "app/qt_diagnostics.h"
#include "app/render_command.h"
#include "app/save_command.h"
#include "app/stream_messenger.h"
#include "platform/box_messenger.h"
#include "platform/program_folder.h"
#include "platform/qt_translations.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QHashFunctions>
#include <QScreen>

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
        "Usage: nikra [--home DIR]          start the desktop program\n"
        "       nikra render -o PAGE.png|PAGE.pdf|PAGE.svg [options]\n"
        "       nikra render --help\n"
        "       nikra convert MODE INPUT [-o OUTPUT]\n"
        "       nikra save --pth FILE [--name NAME] [--replace] [--home DIR]\n");
}

int renderMain(int argc, char **argv)
{
    // Rendering needs no window: never wait for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The arguments are read before the application exists: --verbose decides where Qt's
    // own diagnostics go from the very start.
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const nikra::RenderParse parse = nikra::parseRenderArguments(args);
    nikra::routeQtDiagnostics(parse.options && parse.options->verbose);
    QGuiApplication app(argc, argv);
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

// A command that needs no window and no fonts: a plain core application.
int toolMain(int argc, char **argv, int (*run)(const QStringList &))
{
    nikra::routeQtDiagnostics(false);
    QCoreApplication app(argc, argv);
    return run(app.arguments().mid(2));
}

int guiMain(int argc, char **argv)
{
    QApplication app(argc, argv);
    nikra::installQtJapanese(app);  // without the catalogue Qt's dialogs stay in English
    const QStringList args = app.arguments().mid(1);
    QString home;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == u"--home" && i + 1 < args.size()) {
            home = args.at(++i);
        } else {
            print(stderr, QStringLiteral("nikra: unknown argument '%1'\n").arg(args.at(i)) + mainUsage());
            return 2;
        }
    }
    nikra::BoxMessenger messenger;
    nikra::SettingsStore settings;
    nikra::MainWindow window(messenger, settings, nikra::resolveProgramFolder(home));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        window.setScreenDpi(screen->logicalDotsPerInch());
    messenger.setParent(&window);
    window.start();
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    // Hash tables iterate in the same order on every run: the PDF writer lists its fonts in
    // that order, and the same files must give the same bytes. Set before any table exists.
    QHashSeed::setDeterministicGlobalSeed();
    if (argc >= 2 && QByteArray(argv[1]) == "render")
        return renderMain(argc, argv);
    if (argc >= 2 && QByteArray(argv[1]) == "convert")
        return toolMain(argc, argv, nikra::runConvertCommand);
    if (argc >= 2 && QByteArray(argv[1]) == "save")
        return toolMain(argc, argv, nikra::runSaveCommand);
    if (argc >= 2 && (QByteArray(argv[1]) == "--help" || QByteArray(argv[1]) == "-h")) {
        print(stdout, mainUsage());
        return 0;
    }
    return guiMain(argc, argv);
}
