#pragma once
// Every text the program shows to the user, in one table, and the one interface through
// which the plot pass and the tools reach the user (message boxes in the GUI, standard
// error on the command line, a recorder in the tests).

#include <QString>
#include <QStringList>

#include <optional>

namespace nikra {

enum class Msg {
    // Problems in the user's files.
    FileMissing,
    XlgChoice,
    FntRange,
    YlgChoice,
    XndRange,
    XdvZero,
    XmnIntegerPart,
    XmxIntegerPart,
    YndRange,
    YdvZero,
    YmnIntegerPart,
    YmxIntegerPart,
    XlpChoice,
    YlpChoice,
    LtpNegative,
    RpsChoice,
    LogOfNonPositive,
    DivideByZero,
    XNotMonotonic,
    // Guards of our own where a file would otherwise crash or hang the pass.
    FileUnreadable,   // %1 why
    TextNotDecoded,
    CommentNotDecoded,
    FieldNotNumber,   // %1 line, %2 key
    FieldOutOfRange,  // %1 line, %2 key, %3 allowed range
    FileEndsEarly,    // %1 lines in the file
    XRangeEmpty,
    YRangeEmpty,
    XTooManyDivisions,  // %1 limit
    YTooManyDivisions,  // %1 limit
    CurveTooLarge,      // %1 limit of curve points
    CurveTooMuchWork,
    BlockCutShort,      // %1 the block's count, %2 the points the file holds
    // Why a file was not read or written, where the system gives no reason of its own.
    NotARegularFile,
    PipeWithoutReader,
    FileTooLarge,  // %1 the limit in bytes
    FileEmpty,
    NotDecodable,
    ChangedWhileRead,
    // Writing shifted ranges back (%1 the file).
    WriteBackMissing,
    WriteBackNotRead,     // %2 why
    WriteBackUnreadable,  // %2 the line
    WriteBackUnwritable,  // %2 why
    // Printing.
    NoPrinter,
    PrintFailed,
    SaveFailed,  // %1 the file, %2 why
    PageNotWritten,  // %1 the file, %2 why (the system's reason)
    PageNotDrawn,    // the reason when the page itself could not be made
    OneSetOnly,      // several --pth where only a PDF can hold a page for each
    PageNotAsShown,  // asked before a page is drawn again from files the screen does not show
    // A list of pages drawn at once (render --batch).
    BatchQuoteUnclosed,   // %1 the line of the quote
    BatchOutputRepeated,  // %1 the earlier line that writes the same file
    // The page.
    PageTooLong,
    Welcome,
    // The checker.
    FileExists,
    ReadOver,           // the question of a file longer than 10000 lines
    NewFolderPrompt,
    FolderNotMade,
    FolderNotCreated,   // %1 the folder, %2 why (the system's reason)
    FileNameNeeded,     // saving with an empty file-name box
    FileNotRead,      // %1 the file, %2 why
    SaveOverUndecoded,  // %1 the opened file
    SaveAsUtf8,         // %1 the file; asked when Shift_JIS cannot hold the text
    OldFileKept,        // %1 the opened file, still there after a rename
    FolderNameInvalid,
    UnsavedChanges,     // %1 the file; asked before the edited text is put away
    // Conversion.
    ConversionNoInput,
    ConversionInputUnreadable,     // %1 the input, %2 why
    ConversionOutputUnwritable,    // %1 the output, %2 why
    ConversionNoLines,             // %1 the input
    ConversionTooFewBlocks,        // %1 the input
    ConversionValueUnreadable,     // %1 the input, %2 the line
    ConversionDataEndsEarly,       // %1 the input, %2 the line of the block's count
    ConversionDifferenceTooLarge,  // %1 the input
    // Data save and search.
    FolderExists,
    DataSaveInstruction,
    BadFolderName,       // %1 the name
    NotAFolder,          // %1 the path
    SaveFolderNotMade,   // %1 the folder
    CopyFailed,          // %1 the file, %2 why (the system's reason)
    SaveFileFailed,      // %1 the file, %2 why
    ReplaceFailed,       // %1 the folder
    OldSetLeftAside,     // %1 the folder, %2 where its old set stands
    OldFolderLeft,       // %1 the folder
    ManifestUnchanged,
    ManifestChanged,     // %1 the files
    ManifestMissing,     // %1 the files
    ManifestAbsent,
    LoadChangedSet,
};

// The file kinds whose messages carry a per-slot title.
enum class FileKind { FormatData, GraphData, CommentData };

QString messageText(Msg id, const QStringList &args = {});

// " 1st Format Data Error" ... " 6th Comment Data Error" (the fifth comment title is
// " 5rd Comment Data Error", as users have always seen it).
QString slotTitle(FileKind kind, int slot);

QString programName();          // "Nikra"
QString pageTitle();            // "Format Data Error", the title of the page-length warning
QString readOverTitle();        // "Read Over !", the title of the checker's long-file question

// A problem found while reading a slot's files: which message, with which arguments,
// under which file kind's title. Readers return these; the pass decides whether to show them.
struct Diagnostic {
    FileKind kind = FileKind::FormatData;
    Msg id = Msg::FileMissing;
    QStringList args;
    int line = 0;  // the line of the file it concerns, where the reader knows it; else 0
};

// The answer to a question with the buttons Yes, No and Cancel.
enum class Reply { Yes, No, Cancel };

class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void warn(const QString &title, const QString &text) = 0;   // exclamation, OK
    virtual void inform(const QString &title, const QString &text) = 0; // no icon, OK
    virtual bool askYesNo(const QString &title, const QString &text) = 0;
    virtual bool askOkCancel(const QString &title, const QString &text) = 0;
    // A messenger with nobody to ask answers Cancel, which leaves everything as it was.
    virtual Reply askYesNoCancel(const QString &title, const QString &text);
    // An input box with a proposed answer; nullopt when cancelled.
    virtual std::optional<QString> askText(const QString &title, const QString &prompt, const QString &proposed) = 0;
    // A problem in one of a slot's files (file: its name as the slot holds it). Shown as any
    // warning under the slot's title unless a messenger wants the parts, as "nikra check
    // --json" does.
    virtual void fileProblem(int slot, const Diagnostic &problem, const QString &file);
};

} // namespace nikra
