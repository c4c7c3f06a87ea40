#include "app/save_command.h"

#include <cstdio>

namespace nikra {

QString saveUsage() { return QStringLiteral("Usage: nikra save --pth FILE [--name NAME] [--replace] [--home DIR]\n"); }

int runSaveCommand(const QStringList &)
{
    std::fputs("nikra save: not available yet\n", stderr);
    return 2;
}

} // namespace nikra
