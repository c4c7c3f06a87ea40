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

} // namespace

void routeQtDiagnostics(bool verbose)
{
    qInstallMessageHandler(verbose ? nullptr : onlyFatalDiagnostics);
}

} // namespace nikra
