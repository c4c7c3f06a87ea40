#pragma once
// "nikra convert MODE INPUT [-o OUTPUT]"

#include <QString>
#include <QStringList>

namespace nikra {

QString convertUsage();

// args: what follows "convert" on the command line. Exit status: 0 done, 1 nothing written,
// 2 bad arguments.
int runConvertCommand(const QStringList &args);

} // namespace nikra
