// The desktop program, loaded by the executable when it starts without a command.

#include "app/main_window.h"
#include "app/qt_diagnostics.h"
#include "platform/box_messenger.h"
#include "platform/program_folder.h"
#include "platform/qt_translations.h"
#include "platform/settings_store.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

#include <cstdio>

// argv as the executable was given it; usage: the program's usage text, shown with an
// unknown argument.
extern "C" Q_DECL_EXPORT int nikraDesktopMain(int argc, char **argv, const char *usage)
{
    nikra::dropRuntimeFolderNote();  // before the application: Qt notes it while starting
    QApplication app(argc, argv);
    nikra::installQtJapanese(app);  // without the catalogue Qt's dialogs stay in English
    QGuiApplication::setDesktopFileName(QStringLiteral(NIKRA_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/" NIKRA_APP_ID ".svg")));
    const QStringList args = app.arguments().mid(1);
    QString home;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args.at(i) == u"--home" && i + 1 < args.size()) {
            home = args.at(++i);
        } else {
            const QByteArray text = QStringLiteral("nikra: unknown argument '%1'\n").arg(args.at(i)).toUtf8();
            std::fputs(text.constData(), stderr);
            std::fputs(usage, stderr);
            return 2;
        }
    }
    if (const QString problem = nikra::chosenHomeProblem(home); !problem.isEmpty()) {
        std::fputs(QStringLiteral("nikra: %1\n").arg(problem).toUtf8().constData(), stderr);
        return 2;
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
