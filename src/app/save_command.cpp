#include "app/save_command.h"

#include "app/stream_messenger.h"
#include "formats/path_memory.h"
#include "platform/program_folder.h"
#include "tools/data_save.h"

#include <QDateTime>
#include <QDir>

#include <cstdio>

namespace nikra {

namespace {

int badArguments(const QString &why)
{
    print(stderr, QStringLiteral("nikra save: %1\nTry 'nikra save --help'.\n").arg(why));
    return 2;
}

// The slot set a path memory file describes, as the main window takes it in: every line
// the file holds over the window's start-up values, list positions only where the lists
// have them.
PathMemory::Contents contentsOf(const PathMemory &memory)
{
    PathMemory::Contents c;
    c.headerSizeIndex = 2;   // "3"
    c.headerAlignIndex = 1;  // "中央"
    for (int k = 0; k < 3; ++k) {
        const auto kind = PickerKind(k);
        PickerState &p = c.pickers[std::size_t(k)];
        p.drive = memory.pickerDrive(kind).value_or(QString());
        p.folder = memory.pickerFolder(kind).value_or(QString());
        p.pattern = memory.pickerPattern(kind).value_or(PathMemory::defaultPattern(kind));
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            QString &name = k == 0 ? c.slots[slot].format : k == 1 ? c.slots[slot].graph : c.slots[slot].comment;
            name = memory.name(kind, slot).value_or(QString());
        }
    }
    c.headerText = memory.headerText().value_or(QString());
    auto position = [](int &into, std::optional<int> index, int count) {
        if (index && *index >= -1 && *index < count)
            into = *index;
    };
    position(c.headerFontIndex, memory.headerFontIndex(), int(headerFaceChoices().size()));
    position(c.headerSizeIndex, memory.headerSizeIndex(), 9);
    position(c.headerAlignIndex, memory.headerAlignIndex(), 3);
    return c;
}

} // namespace

QString saveUsage()
{
    return QStringLiteral(
        "Usage: nikra save --pth FILE [--name NAME] [--replace] [--home DIR]\n"
        "\n"
        "Keeps a copy of the slot set a path memory file describes: every file its slots\n"
        "name is copied byte for byte into the folder NAME inside the program folder, with\n"
        "a Nikra.pth naming the copies and a Nikra.sha256 that `sha256sum -c` checks.\n"
        "Prints the folder's path.\n"
        "\n"
        "Options:\n"
        "  --pth FILE     the path memory file (Nikra.pth) whose slot set is saved\n"
        "  --name NAME    the folder's name, one folder name (default: mmdd-hhnn, now)\n"
        "  --replace      replace a folder of that name (else it is left alone)\n"
        "  --home DIR     the program folder (default: NIKRA_HOME, else the program's\n"
        "                 own folder or the user's data folder)\n"
        "\n"
        "Problems are reported on standard error as TITLE: TEXT lines.\n"
        "Exit status: 0 saved, 1 not saved, 2 bad arguments (an unusable name too).\n");
}

int runSaveCommand(const QStringList &args)
{
    QString pth;
    std::optional<QString> name;
    QString home;
    bool replace = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (a == u"-h" || a == u"--help") {
            print(stdout, saveUsage());
            return 0;
        } else if (a == u"--pth" && hasValue) {
            pth = args.at(++i);
        } else if (a == u"--name" && hasValue) {
            name = args.at(++i);
        } else if (a == u"--home" && hasValue) {
            home = args.at(++i);
        } else if (a == u"--replace") {
            replace = true;
        } else if (a == u"--pth" || a == u"--name" || a == u"--home") {
            return badArguments(QStringLiteral("%1 needs a value").arg(a));
        } else {
            return badArguments(QStringLiteral("unknown argument '%1'").arg(a));
        }
    }
    if (pth.isEmpty())
        return badArguments(QStringLiteral("the path memory file is missing: --pth FILE"));
    if (const QString problem = chosenHomeProblem(home); !problem.isEmpty())
        return badArguments(problem);

    StreamMessenger messenger;
    const QString folderName = name.value_or(dateTimeFolderName(QDateTime::currentDateTime()));
    if (!isSafeFolderName(folderName.trimmed())) {
        messenger.warn(programName(), messageText(Msg::BadFolderName, {folderName}));
        return 2;
    }
    QString failure;
    const auto memory = PathMemory::read(pth, &failure);
    if (!memory) {
        print(stderr, QStringLiteral("nikra save: cannot read '%1': %2\n").arg(pth, failure));
        return 1;
    }

    const QString programFolder = resolveProgramFolder(home);
    const DataSaveResult result = saveSlotSet(programFolder, folderName, contentsOf(*memory),
                                              replace ? ExistingFolder::Replace : ExistingFolder::Keep, messenger);
    if (result.outcome == DataSaveOutcome::Declined)
        print(stderr, QStringLiteral("nikra save: '%1' exists; give --replace to replace it\n")
                          .arg(QDir(programFolder).filePath(folderName.trimmed())));
    if (result.outcome != DataSaveOutcome::Saved)
        return 1;
    print(stdout, result.folder + u'\n');
    return 0;
}

} // namespace nikra
