#pragma once
// Two folders of one parent trading places in a single step, so that at every moment one
// of them stands under each name: a save that is killed or that meets another save never
// leaves a set's name empty.

#include <QString>

namespace nikra {

enum class SwapOutcome {
    Swapped,      // each path now holds what the other held
    Unsupported,  // this file system (or kernel) cannot swap in one step: nothing moved
    Failed,       // nothing moved; errorText() says why
};

struct FolderSwap {
    SwapOutcome outcome = SwapOutcome::Failed;
    int error = 0;  // errno of a failure
    QString errorText() const;
};

FolderSwap swapFolders(const QString &a, const QString &b);

} // namespace nikra
