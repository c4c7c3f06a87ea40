#include "app/qt_diagnostics.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstdio>

namespace nikra {

namespace {

void onlyFatalDiagnostics(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    // A fatal diagnostic ends the program: its reason must be seen.
    if (type != QtFatalMsg)
        return;
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

QtMessageHandler handlerBefore = nullptr;

void withoutRuntimeFolderNote(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    if (handlerBefore) {
        handlerBefore(type, context, text);
        return;
    }
    const QByteArray bytes = qFormatLogMessage(type, context, text).toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace

void dropRuntimeFolderNote() { handlerBefore = qInstallMessageHandler(withoutRuntimeFolderNote); }

void routeQtDiagnostics(bool verbose)
{
    qInstallMessageHandler(verbose ? nullptr : onlyFatalDiagnostics);
}

} // namespace nikra
