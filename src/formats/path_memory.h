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

    // Reads a file; nullopt when it does not exist, cannot be read or is empty.
    static std::optional<PathMemory> read(const QString &path);
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
    // Writes atomically (temporary file and rename), UTF-8; false on any failure.
    static bool write(const QString &path, const Contents &contents);

    static QString defaultPattern(PickerKind kind);

private:
    std::optional<int> listPosition(int number) const;
    QStringList lines_;
};

// Splits a text into lines at CR LF, a lone CR or a lone LF.
QStringList splitLines(const QString &text);

} // namespace nikra
