#pragma once
// The canvas window's size presets, named by the caption of the size button, with the
// letter the settings store keeps for each.

#include <QString>

#include <optional>

namespace nikra {

struct SizePreset {
    QString caption;  // "サイズ Ａ" .. "サイズ Ｇ"
    QString letter;   // "a" .. "g"
    int widthTwips;   // the canvas window's inner size
    int heightTwips;
    bool horizontalBar;  // "サイズ Ａ" shows the page's whole width
};

std::optional<SizePreset> presetForCaption(const QString &caption);
// "b" .. "g" give their presets; anything else (a missing entry reads "0") gives "サイズ Ａ".
SizePreset presetForLetter(const QString &letter);
// The caption after this one, "サイズ Ｇ" wrapping to "サイズ Ａ"; nullopt outside the cycle.
std::optional<SizePreset> nextPreset(const QString &caption);

} // namespace nikra
