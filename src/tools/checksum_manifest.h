#pragma once
// "Nikra.sha256": the checksums of a saved slot set, in the layout sha256sum writes and
// checks (the hash in lower-case hex, two blanks, the file name; one line per file), so
// `sha256sum -c Nikra.sha256` in the folder checks it as well as the search window does.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace nikra {

QString manifestFileName();  // Nikra.sha256

// A folder with a manifest holds a saved set: the program never writes into it, or the
// set would no longer match its checksums.
bool holdsSavedSet(const QString &folder);

// The SHA-256 of a file's bytes as lower-case hex; nullopt when it cannot be read.
std::optional<QByteArray> sha256OfFile(const QString &path);

// One manifest line per file: {hash, name}.
struct ManifestEntry {
    QByteArray hash;
    QString name;
};
QByteArray composeManifest(const QList<ManifestEntry> &entries);

// What a folder's manifest says about the files beside it.
struct ManifestCheck {
    bool present = false;  // the folder has a readable manifest listing at least one file
    QStringList changed;   // listed files whose bytes differ
    QStringList missing;   // listed files that are not there as plain files (or not plain file names)
    bool unchanged() const { return present && changed.isEmpty() && missing.isEmpty(); }
};
ManifestCheck checkManifest(const QString &folder);

// The status line a user reads: "変更なし", or which files are changed or missing.
QString manifestStatusText(const ManifestCheck &check);

} // namespace nikra
