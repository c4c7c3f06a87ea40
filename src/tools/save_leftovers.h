#pragma once
// The hidden folders a save makes beside the sets it keeps, named so that a later save can
// tell whose they are and whether that save still runs:
//   .nikra-save-PID-XXXXXX   a set being built, or a replaced set on its way out
//   .nikra-old-PID-N-NAME    the set NAME moved aside while its successor moves in (only
//                            where the file system cannot swap two folders in one step)
// A save killed part way leaves them behind; the next save clears up after it.

#include <QString>

namespace nikra {

// The QTemporaryDir template of this process's staging folder inside parent.
QString stagingTemplate(const QString &parent);

// A name inside parent, not yet taken, under which this process sets the folder NAME aside.
QString asideFolder(const QString &parent, const QString &name);

// After saves whose process has ended: removes their staging folders and puts an old set
// they left aside back under its name when nothing stands there. Folders of running saves
// and everything not named as above are left alone; failures are passed over.
void tidyAfterEndedSaves(const QString &parent);

} // namespace nikra
