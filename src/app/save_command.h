#pragma once
// "nikra save --pth FILE [--name NAME] [--replace] [--home DIR]"

#include <QString>
#include <QStringList>

namespace nikra {

QString saveUsage();

// args: what follows "save" on the command line. Exit status: 0 done, 1 nothing written,
// 2 bad arguments.
int runSaveCommand(const QStringList &args);

} // namespace nikra
