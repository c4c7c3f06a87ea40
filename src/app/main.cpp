// nikra: the plot program. Without arguments it starts the desktop program; "nikra render"
// draws a page without a screen, "nikra check" checks its files.
//
// The desktop program is a module beside the executable (desktop_main.cpp), loaded only
// when it starts: the commands link no widgets, so they start without loading QtWidgets
// and QtPrintSupport, which are most of the dynamic linking a small page waits for.

#include "app/check_command.h"
#include "app/convert_command.h"
#include "app/qt_diagnostics.h"
#include "app/render_command.h"
#include "app/save_command.h"
#include "app/stream_messenger.h"

#include <QGuiApplication>
#include <QHashFunctions>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

using namespace nikra;

QString mainUsage()
{
    return QStringLiteral(
        "Usage: nikra [--home DIR]          start the desktop program\n"
        "       nikra render -o PAGE.png|PAGE.pdf|PAGE.svg [options]\n"
        "       nikra render --batch FILE [--verbose]\n"
        "       nikra render --help\n"
        "       nikra check [--slot N FORMAT [GRAPH [COMMENT]]]... | --pth FILE [--quiet] [--json]\n"
        "       nikra convert MODE INPUT [-o OUTPUT]\n"
        "       nikra save --pth FILE [--name NAME] [--replace] [--home DIR]\n"
        "       nikra --version\n");
}

// A command that draws: no window, but fonts and images, so a GUI application on the
// offscreen platform (its event loop also serves render --watch).
template <class Options>
int drawingMain(int argc, char **argv, CommandArguments<Options> (*parse)(const QStringList &), QString (*usage)(),
                int (*run)(const Options &))
{
    // Rendering needs no window: never wait for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The arguments are read before the application exists: --verbose decides where Qt's
    // own diagnostics go from the very start.
    QStringList args;
    for (int i = 2; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const QString command = QString::fromLocal8Bit(argv[1]);
    const CommandArguments<Options> parsed = parse(args);
    bool verbose = false;
    if constexpr (requires(const Options &o) { o.verbose; })
        verbose = parsed.options && parsed.options->verbose;
    routeQtDiagnostics(verbose);
    QGuiApplication app(argc, argv);
    if (parsed.help) {
        print(stdout, usage());
        return 0;
    }
    if (!parsed.options) {
        print(stderr, QStringLiteral("nikra %1: %2\n").arg(command, parsed.error));
        print(stderr, QStringLiteral("Try 'nikra %1 --help'.\n").arg(command));
        return 2;
    }
    return run(*parsed.options);
}

int render(const RenderOptions &options)
{
    StreamMessenger messenger;
    return runRender(options, messenger);
}

int check(const CheckOptions &options) { return runCheck(options); }

// A command that needs no window and no fonts: a plain core application.
int toolMain(int argc, char **argv, int (*run)(const QStringList &))
{
    nikra::routeQtDiagnostics(false);
    QCoreApplication app(argc, argv);
    return run(app.arguments().mid(2));
}

// The folder of the running executable, with a trailing "/".
std::string executableFolder(const char *argv0)
{
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    path = n > 0 ? path.substr(0, std::size_t(n)) : std::string(argv0 ? argv0 : "");
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

int guiMain(int argc, char **argv)
{
    // Beside the executable in the build folder; in the library folder when installed.
    const std::string folder = executableFolder(argc > 0 ? argv[0] : nullptr);
    std::string module;
    void *handle = nullptr;
    for (const std::string &place : {folder, folder + NIKRA_INSTALLED_MODULE_DIR "/"}) {
        module = place + "libnikra_desktop.so";
        if (access(module.c_str(), F_OK) == 0) {
            handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
            break;
        }
    }
    using DesktopMain = int (*)(int, char **, const char *);
    auto run = handle ? reinterpret_cast<DesktopMain>(dlsym(handle, "nikraDesktopMain")) : nullptr;
    if (!run) {
        const char *why = handle ? dlerror() : "not found";
        std::fprintf(stderr, "nikra: the desktop program could not be loaded from %s: %s\n", module.c_str(),
                     why ? why : "no entry point");
        return 1;
    }
    return run(argc, argv, mainUsage().toUtf8().constData());
}

} // namespace

int main(int argc, char **argv)
{
    // Hash tables iterate in the same order on every run: the PDF writer lists its fonts in
    // that order, and the same files must give the same bytes. Set before any table exists.
    QHashSeed::setDeterministicGlobalSeed();
    if (argc >= 2 && QByteArray(argv[1]) == "render")
        return drawingMain(argc, argv, parseRenderArguments, renderUsage, render);
    if (argc >= 2 && QByteArray(argv[1]) == "check")
        return drawingMain(argc, argv, parseCheckArguments, checkUsage, check);
    if (argc >= 2 && QByteArray(argv[1]) == "convert")
        return toolMain(argc, argv, runConvertCommand);
    if (argc >= 2 && QByteArray(argv[1]) == "save")
        return toolMain(argc, argv, runSaveCommand);
    if (argc >= 2 && (QByteArray(argv[1]) == "--help" || QByteArray(argv[1]) == "-h")) {
        print(stdout, mainUsage());
        return 0;
    }
    if (argc >= 2 && QByteArray(argv[1]) == "--version") {
        print(stdout, QStringLiteral("nikra " NIKRA_VERSION "\n"));
        return 0;
    }
    return guiMain(argc, argv);
}
