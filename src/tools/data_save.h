#pragma once
// Keeping a slot set: every file the six slots name is copied byte for byte into a new
// folder inside the program folder, beside a "Nikra.pth" that names the copies and a
// "Nikra.sha256" that lets anyone check later that nothing in the folder changed.
//
// The set is built in a hidden folder beside the target and moved in only when every copy
// and both files are written. A folder being replaced trades places with the new set in
// one step where the file system can do that; elsewhere it is moved aside first and the
// new set moved in after it. The old set is removed last, so a failure at any step leaves
// it exactly as it was, and a save killed part way is cleared up by the next one
// (save_leftovers.h).

#include "formats/path_memory.h"

#include <QDateTime>
#include <QString>

#include <functional>
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

// The folder a set saved under this name goes to: the trimmed name inside the program
// folder.
QString saveTargetFolder(const QString &programFolder, const QString &name);

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

// The points a save passes on its way; a test stops a save at one of them to see what a
// save killed there leaves behind.
enum class SaveStep {
    SetBuilt,       // every file of the new set is in its hidden staging folder
    OldSetAside,    // (two renames) the set being replaced stands aside, its name empty
    NewSetInPlace,  // the new set stands under its name; the old one is not yet removed
};

struct SaveOptions {
    // Told as each step is reached; false ends the save there at once and leaves every
    // folder as it stands, as a kill would.
    std::function<bool(SaveStep)> reached;
    // Replace with two renames even where the file system can swap the folders.
    bool twoRenames = false;
};

// Clears up after saves killed part way, copies the files, writes "Nikra.pth" (the main
// window's picker and header lines, the copies' paths) and "Nikra.sha256", and moves the
// set into place. Every failure is reported naming what failed; false then, with nothing
// changed.
bool writeSlotSet(const SaveTarget &target, const PathMemory::Contents &contents, Messenger &messenger,
                  const SaveOptions &options = {});

// Both steps.
struct DataSaveResult {
    DataSaveOutcome outcome = DataSaveOutcome::Failed;
    QString folder;
};
DataSaveResult saveSlotSet(const QString &programFolder, const QString &name, const PathMemory::Contents &contents,
                           ExistingFolder existing, Messenger &messenger, const SaveOptions &options = {});

} // namespace nikra
