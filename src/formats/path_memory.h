#pragma once
// "Nikra.pth", the slot set remembered between sessions: 31 lines, each ended by CR LF.
//   1-3   Format Data picker: drive, folder, file pattern
//   4-9   Format Data names of slots 1-6
//   10-12 Graph Data picker, 13-18 Graph Data names
//   19-21 Comment Data picker, 22-27 Comment Data names
//   28    header text
//   29-31 header font, size and alignment list positions, written " 3 " (a blank or a
//         minus sign, the digits, one trailing blank)
// A short file fills what it has: every line that exists is used, the rest keep their values.

#include "formats/file_bytes.h"
#include "slot_set.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace nikra {

enum class PickerKind { FormatData = 0, GraphData = 1, CommentData = 2 };

struct PickerState {
    QString drive;
    QString folder;
    QString pattern;
};

class PathMemory {
public:
    static constexpr int kLineCount = 31;
    static QString fileName() { return QStringLiteral("Nikra.pth"); }

    // Reads a file; nullopt, and why in *failure, when it does not exist, cannot be read, is
    // not a regular file, is larger than any path memory file or is empty.
    static std::optional<PathMemory> read(const QString &path, QString *failure = nullptr);
    // No file, or an empty one: nothing is remembered yet, as on a first start. Anything
    // else that read() refuses is a file that is there but unusable, which is said.
    static bool remembersNothing(const QString &path);
    // The most a path memory file may hold: 31 lines of at most a path's length each.
    static constexpr qint64 kMostBytes = 31 * (4096 + 2);
    static PathMemory fromText(const QString &text);

    int lineCount() const { return int(lines_.size()); }
    std::optional<QString> line(int number) const;  // 1-based

    // Each piece as far as the file holds it.
    std::optional<QString> pickerDrive(PickerKind kind) const;
    std::optional<QString> pickerFolder(PickerKind kind) const;
    std::optional<QString> pickerPattern(PickerKind kind) const;  // empty line: the default
    std::optional<QString> name(PickerKind kind, int slot) const;
    std::optional<QString> headerText() const { return line(28); }
    std::optional<int> headerFontIndex() const { return listPosition(29); }
    std::optional<int> headerSizeIndex() const { return listPosition(30); }
    std::optional<int> headerAlignIndex() const { return listPosition(31); }

    // The file's text for a slot set, 31 lines ended by CR LF.
    struct Contents {
        std::array<PickerState, 3> pickers;
        SlotSet slots;
        QString headerText;
        int headerFontIndex = 0;
        int headerSizeIndex = 0;
        int headerAlignIndex = 0;
    };
    static QString compose(const Contents &contents);
    // Writes the file whole or not at all, UTF-8.
    static FileWrite write(const QString &path, const Contents &contents);

    static QString defaultPattern(PickerKind kind);

private:
    std::optional<int> listPosition(int number) const;
    QStringList lines_;
};

// Splits a text into lines at CR LF, a lone CR or a lone LF.
QStringList splitLines(const QString &text);

} // namespace nikra
