#pragma once
// The program's folder: where the sample files and the path memory file "Nikra.pth" live.
// It is the folder given by --home or NIKRA_HOME; else the executable's folder when it
// holds the sample files and can be written; else the per-user data folder. Samples
// missing from a given or per-user folder are copied there from the program itself.

#include "formats/slot_set.h"

#include <QString>
#include <QStringList>

namespace nikra {

QStringList sampleFormatFiles();   // frmnkr1.dat .. frmnkr4.dat
QStringList sampleGraphFiles();    // g01.dat .. g04.dat
QStringList sampleCommentFiles();  // cmtnkr1.txt .. cmtnkr3.txt
QString pathMemoryFileName();      // Nikra.pth

// The sample set in a folder: slots 1 to 4 with frmnkr1.dat .. frmnkr4.dat and g01.dat ..
// g04.dat, slots 1 to 3 with cmtnkr1.txt .. cmtnkr3.txt.
SlotSet sampleSlots(const QString &folder);

// explicitHome: the --home argument, empty when not given.
QString resolveProgramFolder(const QString &explicitHome);
// Why the folder chosen by --home (or else NIKRA_HOME) cannot be the program folder: it must
// exist, since a mistyped name would otherwise become a new folder of samples. Empty when it
// can, or when neither chooses one.
QString chosenHomeProblem(const QString &explicitHome);

// Copies any sample file missing from folder out of the program's resources.
void seedSamples(const QString &folder);

// folder and name joined by exactly one separator.
QString joinPath(const QString &folder, const QString &name);

} // namespace nikra
