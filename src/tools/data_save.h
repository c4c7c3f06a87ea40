#pragma once
// Keeping a slot set: every file the six slots name is copied byte for byte into a new
// folder inside the program folder, beside a "Nikra.pth" that names the copies and a
// "Nikra.sha256" that lets anyone check later that nothing in the folder changed.
//
// The set is built in a hidden folder beside the target and moved in only when every copy
// and both files are written; a folder being replaced is moved aside first and removed
// last, so a failure at any step leaves it exactly as it was.

#include "formats/path_memory.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace nikra {

class Messenger;

// "mmdd-hhnn" of a moment: the folder name a save proposes.
QString dateTimeFolderName(const QDateTime &moment);

// Whether a name (already trimmed) names exactly one folder: not empty, not "." or "..",
// no "/" or "\" and no control characters.
bool isSafeFolderName(const QString &name);

// The copies a slot set needs. One file named in several slots is copied once; files of
// the same name from different folders get distinct names ("g01.dat", "g01~2.dat").
struct PlannedCopy {
    QString source;    // absolute path
    QString copyName;  // file name inside the saved folder
};
struct CopyPlan {
    std::vector<PlannedCopy> copies;
    SlotSet names;  // every slot's copy names; empty where the slot names no file
};
CopyPlan planCopies(const SlotSet &slots);

// What to do when the folder already exists.
enum class ExistingFolder { Ask, Replace, Keep };

enum class DataSaveOutcome { Saved, BadName, Declined, Failed };

struct SaveTarget {
    QString folder;  // absolute
    bool replacing = false;
};

// Checks the name and what stands at its place in the program folder, asking before an
// existing folder is replaced. A bad name or a file in the way is reported; *outcome says
// why there is no target.
std::optional<SaveTarget> chooseSaveTarget(const QString &programFolder, const QString &name,
                                           ExistingFolder existing, Messenger &messenger,
                                           DataSaveOutcome *outcome = nullptr);

// Copies the files, writes "Nikra.pth" (the main window's picker and header lines, the
// copies' paths) and "Nikra.sha256", and moves the set into place. Every failure is
// reported naming what failed; false then, with nothing changed.
bool writeSlotSet(const SaveTarget &target, const PathMemory::Contents &contents, Messenger &messenger);

// Both steps.
struct DataSaveResult {
    DataSaveOutcome outcome = DataSaveOutcome::Failed;
    QString folder;
};
DataSaveResult saveSlotSet(const QString &programFolder, const QString &name, const PathMemory::Contents &contents,
                           ExistingFolder existing, Messenger &messenger);

} // namespace nikra
