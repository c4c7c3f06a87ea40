#include "tools/data_save.h"
#include "formats/file_bytes.h"

#include "formats/messages.h"
#include "tools/checksum_manifest.h"
#include "tools/folder_swap.h"
#include "tools/save_leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

namespace nikra {

namespace {

// The three names of a slot, in the order they are copied.
constexpr QString SlotFiles::*kSlotFields[] = {&SlotFiles::format, &SlotFiles::graph, &SlotFiles::comment};

// A copy's name keeps the file's name; only characters that would break a line of
// "Nikra.pth" or of the manifest are replaced.
QString cleanFileName(const QString &name)
{
    QString clean = name.isEmpty() ? QStringLiteral("_") : name;
    for (QChar &c : clean) {
        if (c == u'\\' || c.category() == QChar::Other_Control)
            c = u'_';
    }
    return clean;
}

// "g01.dat", else "g01~2.dat", "g01~3.dat" ... Names are compared ignoring case, so the
// set stays whole on a file system that ignores it.
QString distinctName(const QString &name, const QSet<QString> &taken)
{
    if (!taken.contains(name.toLower()))
        return name;
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString suffix = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString candidate = stem + u'~' + QString::number(n) + suffix;
        if (!taken.contains(candidate.toLower()))
            return candidate;
    }
}

QString title() { return programName(); }

// Removes a replaced set; a folder that is not plainly one (a link put in its place) is
// left where it is.
void removeOldSet(const QString &path, Messenger &messenger)
{
    const QFileInfo old(path);
    if (!old.isDir() || old.isSymLink() || !QDir(path).removeRecursively())
        messenger.warn(title(), messageText(Msg::OldFolderLeft, {path}));
}

// How the move into place ended.
enum class Placed { Done, Failed, Stopped };

// Moves the finished set to its place. A set being replaced trades places with it in one
// step where the file system can, so the name never stands empty; else it goes aside
// first. The old set is removed only once the new one is in, from the staging name.
Placed moveIntoPlace(const QString &built, const SaveTarget &target, Messenger &messenger,
                     const SaveOptions &options)
{
    auto goOn = [&](SaveStep step) { return !options.reached || options.reached(step); };
    QDir dir;
    const QFileInfo now(target.folder);
    if (!now.exists() && !now.isSymLink()) {
        if (dir.rename(built, target.folder))
            return Placed::Done;
        messenger.warn(title(), messageText(Msg::SaveFolderNotMade, {target.folder}));
        return Placed::Failed;
    }
    if (!target.replacing || !now.isDir() || now.isSymLink()) {
        messenger.warn(title(), messageText(Msg::SaveFolderNotMade, {target.folder}));
        return Placed::Failed;
    }
    if (!options.twoRenames) {
        switch (swapFolders(built, target.folder).outcome) {
        case SwapOutcome::Swapped:
            // The old set now stands under the staging name, which no one puts back.
            if (!goOn(SaveStep::NewSetInPlace))
                return Placed::Stopped;
            removeOldSet(built, messenger);
            return Placed::Done;
        case SwapOutcome::Failed:
            messenger.warn(title(), messageText(Msg::ReplaceFailed, {target.folder}));
            return Placed::Failed;
        case SwapOutcome::Unsupported:
            break;
        }
    }
    const QString aside = asideFolder(now.absolutePath(), now.fileName());
    if (!dir.rename(target.folder, aside)) {
        messenger.warn(title(), messageText(Msg::ReplaceFailed, {target.folder}));
        return Placed::Failed;
    }
    if (!goOn(SaveStep::OldSetAside))
        return Placed::Stopped;
    if (!dir.rename(built, target.folder)) {
        // Another save may have put its set in meanwhile: then the old one stays aside,
        // and the message says where.
        if (dir.rename(aside, target.folder))
            messenger.warn(title(), messageText(Msg::ReplaceFailed, {target.folder}));
        else
            messenger.warn(title(), messageText(Msg::OldSetLeftAside, {target.folder, aside}));
        return Placed::Failed;
    }
    if (!goOn(SaveStep::NewSetInPlace))
        return Placed::Stopped;
    // Under the staging name a killed removal is finished by the next save; under the aside
    // name it would be put back.
    removeOldSet(dir.rename(aside, built) ? built : aside, messenger);
    return Placed::Done;
}

FileWrite writeManifest(const QString &path, const QList<ManifestEntry> &entries)
{
    return writeWholeFile(path, composeManifest(entries));
}

} // namespace

QString dateTimeFolderName(const QDateTime &moment) { return moment.toString(QStringLiteral("MMdd-HHmm")); }

bool isSafeFolderName(const QString &name)
{
    // One name the file system can hold (NAME_MAX bytes on Linux), shown as it is: control
    // characters and format characters (bidirectional overrides such as U+202E would show
    // "txt.exe" as "exe.txt") are refused like a separator.
    constexpr qsizetype kLongestName = 255;
    if (name.isEmpty() || name == u"." || name == u".." || QFile::encodeName(name).size() > kLongestName)
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return false;
    }
    return true;
}

CopyPlan planCopies(const SlotSet &slots)
{
    CopyPlan plan;
    QHash<QString, QString> copyOf;  // the file's real path -> its copy's name
    // The set's own two files are never overwritten by a copy.
    QSet<QString> taken{PathMemory::fileName().toLower(), manifestFileName().toLower()};
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        for (QString SlotFiles::*field : kSlotFields) {
            const QString &named = slots[slot].*field;
            if (named.isEmpty())
                continue;
            const QFileInfo info(named);
            const QString source = info.absoluteFilePath();
            const QString canonical = info.canonicalFilePath();
            const QString identity = canonical.isEmpty() ? source : canonical;
            QString &copyName = copyOf[identity];
            if (copyName.isEmpty()) {
                copyName = distinctName(cleanFileName(info.fileName()), taken);
                taken.insert(copyName.toLower());
                plan.copies.push_back({source, copyName});
            }
            plan.names[slot].*field = copyName;
        }
    }
    return plan;
}

QString saveTargetFolder(const QString &programFolder, const QString &name)
{
    return QDir(QDir(programFolder).absolutePath()).filePath(name.trimmed());
}

std::optional<SaveTarget> chooseSaveTarget(const QString &programFolder, const QString &name,
                                           ExistingFolder existing, Messenger &messenger,
                                           DataSaveOutcome *outcome)
{
    auto none = [outcome](DataSaveOutcome why) {
        if (outcome)
            *outcome = why;
        return std::optional<SaveTarget>();
    };
    const QString trimmed = name.trimmed();
    if (!isSafeFolderName(trimmed)) {
        messenger.warn(title(), messageText(Msg::BadFolderName, {name}));
        return none(DataSaveOutcome::BadName);
    }
    const QString folder = saveTargetFolder(programFolder, trimmed);
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink())
        return SaveTarget{folder, false};
    // A file or a link of that name is not a set to replace.
    if (!info.isDir() || info.isSymLink()) {
        messenger.warn(title(), messageText(Msg::NotAFolder, {folder}));
        return none(DataSaveOutcome::Failed);
    }
    if (existing == ExistingFolder::Keep
        || (existing == ExistingFolder::Ask && !messenger.askYesNo(title(), messageText(Msg::FolderExists))))
        return none(DataSaveOutcome::Declined);
    return SaveTarget{folder, true};
}

bool writeSlotSet(const SaveTarget &target, const PathMemory::Contents &contents, Messenger &messenger,
                  const SaveOptions &options)
{
    const QDir finalFolder(target.folder);
    const QString parent = QFileInfo(target.folder).absolutePath();
    tidyAfterEndedSaves(parent);
    QTemporaryDir staging(stagingTemplate(parent));
    if (!staging.isValid()) {
        messenger.warn(title(), messageText(Msg::SaveFolderNotMade, {target.folder}));
        return false;
    }
    // A temporary folder is private; the saved folder is made like any other folder.
    QFile::setPermissions(staging.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                              | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    const QDir into(staging.path());

    const CopyPlan plan = planCopies(contents.slots);
    QList<ManifestEntry> manifest;
    for (const PlannedCopy &c : plan.copies) {
        const QString copy = into.filePath(c.copyName);
        // Only regular files are copied, byte for byte and on the disk before the set is moved
        // in, so a set that stands under its name is whole.
        QString failure = copyWholeFile(c.source, copy).failure;
        const std::optional<QByteArray> hash = failure.isEmpty() ? sha256OfFile(copy) : std::nullopt;
        if (!hash) {
            if (failure.isEmpty())
                failure = QFile(copy).errorString();
            messenger.warn(title(), messageText(Msg::CopyFailed, {c.source, failure}));
            return false;
        }
        manifest.append({*hash, c.copyName});
    }

    PathMemory::Contents saved = contents;
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        for (QString SlotFiles::*field : kSlotFields) {
            const QString &copyName = plan.names[slot].*field;
            saved.slots[slot].*field = copyName.isEmpty() ? QString() : finalFolder.filePath(copyName);
        }
    }
    const QString pth = into.filePath(PathMemory::fileName());
    const FileWrite pthWritten = PathMemory::write(pth, saved);
    const std::optional<QByteArray> pthHash = pthWritten ? sha256OfFile(pth) : std::nullopt;
    if (!pthHash) {
        messenger.warn(title(), messageText(Msg::SaveFileFailed, {finalFolder.filePath(PathMemory::fileName()),
                                                                 pthWritten.failure}));
        return false;
    }
    manifest.append({*pthHash, PathMemory::fileName()});
    const FileWrite manifestWritten = writeManifest(into.filePath(manifestFileName()), manifest);
    if (!manifestWritten) {
        messenger.warn(title(), messageText(Msg::SaveFileFailed, {finalFolder.filePath(manifestFileName()),
                                                                 manifestWritten.failure}));
        return false;
    }

    if (options.reached && !options.reached(SaveStep::SetBuilt)) {
        staging.setAutoRemove(false);
        return false;
    }
    const Placed placed = moveIntoPlace(staging.path(), target, messenger, options);
    // Placed, the staging name is gone or holds an old set that could not be removed (said);
    // stopped, it stays as a kill would leave it.
    if (placed != Placed::Failed)
        staging.setAutoRemove(false);
    return placed == Placed::Done;
}

DataSaveResult saveSlotSet(const QString &programFolder, const QString &name, const PathMemory::Contents &contents,
                           ExistingFolder existing, Messenger &messenger, const SaveOptions &options)
{
    DataSaveResult result;
    const auto target = chooseSaveTarget(programFolder, name, existing, messenger, &result.outcome);
    if (!target)
        return result;
    result.folder = target->folder;
    result.outcome =
        writeSlotSet(*target, contents, messenger, options) ? DataSaveOutcome::Saved : DataSaveOutcome::Failed;
    return result;
}

} // namespace nikra
