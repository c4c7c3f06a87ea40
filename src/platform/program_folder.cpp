#include "platform/program_folder.h"

#include "formats/path_memory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace nikra {

QStringList sampleFormatFiles()
{
    return {QStringLiteral("frmnkr1.dat"), QStringLiteral("frmnkr2.dat"), QStringLiteral("frmnkr3.dat"),
            QStringLiteral("frmnkr4.dat")};
}

QStringList sampleGraphFiles()
{
    return {QStringLiteral("g01.dat"), QStringLiteral("g02.dat"), QStringLiteral("g03.dat"),
            QStringLiteral("g04.dat")};
}

QStringList sampleCommentFiles()
{
    return {QStringLiteral("cmtnkr1.txt"), QStringLiteral("cmtnkr2.txt"), QStringLiteral("cmtnkr3.txt")};
}

QString pathMemoryFileName() { return PathMemory::fileName(); }

SlotSet sampleSlots(const QString &folder)
{
    SlotSet slots;
    const QStringList formats = sampleFormatFiles();
    const QStringList graphs = sampleGraphFiles();
    const QStringList comments = sampleCommentFiles();
    for (int i = 0; i < formats.size(); ++i) {
        slots[i + 1].format = joinPath(folder, formats.at(i));
        slots[i + 1].graph = joinPath(folder, graphs.at(i));
        if (i < comments.size())
            slots[i + 1].comment = joinPath(folder, comments.at(i));
    }
    return slots;
}

QString joinPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(u'/') || folder.endsWith(QDir::separator()))
        return folder + name;
    return folder + u'/' + name;
}

namespace {

QStringList allSamples() { return sampleFormatFiles() + sampleGraphFiles() + sampleCommentFiles(); }

bool holdsSamples(const QString &folder)
{
    for (const QString &name : allSamples()) {
        if (!QFileInfo::exists(joinPath(folder, name)))
            return false;
    }
    return true;
}

} // namespace

void seedSamples(const QString &folder)
{
    QDir().mkpath(folder);
    for (const QString &name : allSamples()) {
        const QString target = joinPath(folder, name);
        if (QFileInfo::exists(target))
            continue;
        if (QFile::copy(QStringLiteral(":/samples/") + name, target))
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
}

namespace {

QString chosenHome(const QString &explicitHome)
{
    return explicitHome.isEmpty() ? qEnvironmentVariable("NIKRA_HOME") : explicitHome;
}

} // namespace

QString chosenHomeProblem(const QString &explicitHome)
{
    const QString home = chosenHome(explicitHome);
    if (home.isEmpty() || QFileInfo(home).isDir())
        return {};
    const QString source = explicitHome.isEmpty() ? QStringLiteral("NIKRA_HOME") : QStringLiteral("--home");
    return QStringLiteral("%1: '%2' is not an existing folder").arg(source, home);
}

QString resolveProgramFolder(const QString &explicitHome)
{
    QString home = chosenHome(explicitHome);
    if (!home.isEmpty()) {
        // A folder of the user's choosing gets the samples it lacks (none is overwritten).
        home = QDir(home).absolutePath();
        seedSamples(home);
        return home;
    }

    const QString exeFolder = QCoreApplication::applicationDirPath();
    if (holdsSamples(exeFolder) && QFileInfo(exeFolder).isWritable())
        return exeFolder;

    QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + QStringLiteral("/.nikra");
    seedSamples(data);
    return data;
}

} // namespace nikra
