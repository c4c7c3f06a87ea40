#include "app/convert_command.h"

#include <cstdio>

namespace nikra {

QString convertUsage() { return QStringLiteral("Usage: nikra convert MODE INPUT [-o OUTPUT]\n"); }

int runConvertCommand(const QStringList &)
{
    std::fputs("nikra convert: not available yet\n", stderr);
    return 2;
}

} // namespace nikra
