#pragma once
// The page as the main window describes it: six slots of three file names each, and the
// header line. The plot pass reads the names at call time and clears a name whose file
// is missing, as the main window's boxes are cleared.

#include <QString>
#include <QStringList>

#include <array>

namespace nikra {

inline constexpr int kSlotCount = 6;

struct SlotFiles {
    QString format;   // Format Data file (full path); empty: the slot is not drawn
    QString graph;    // Graph Data file
    QString comment;  // Comment Data file
};

struct SlotSet {
    std::array<SlotFiles, kSlotCount> slots;
    SlotFiles &operator[](int slot) { return slots[std::size_t(slot - 1)]; }  // slot 1..6
    const SlotFiles &operator[](int slot) const { return slots[std::size_t(slot - 1)]; }

    // A slot without a Format Data file is not drawn and keeps no other names.
    void dropUndrawnSlots()
    {
        for (SlotFiles &files : slots) {
            if (files.format.isEmpty())
                files = SlotFiles{};
        }
    }
    // Every file the drawn slots name, each once, in slot order.
    QStringList drawnFiles() const
    {
        QStringList names;
        for (const SlotFiles &files : slots) {
            if (files.format.isEmpty())
                continue;
            for (const QString *name : {&files.format, &files.graph, &files.comment}) {
                if (!name->isEmpty() && !names.contains(*name))
                    names.append(*name);
            }
        }
        return names;
    }
};

enum class HeaderAlign { None = -1, Left = 0, Centre = 1, Right = 2 };

struct HeaderSettings {
    QString text;
    QString face;       // as typed in the font box
    QString sizeText;   // as typed in the size box; not a number skips the header
    HeaderAlign align = HeaderAlign::Left;
};

// The header font box's list, in its order (path memory files keep positions in it).
inline QStringList headerFaceChoices()
{
    return {QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Times New Roman"),
            QStringLiteral("Arial")};
}

} // namespace nikra
