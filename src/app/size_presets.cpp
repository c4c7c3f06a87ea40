#include "app/size_presets.h"

#include <array>

namespace nikra {

namespace {

struct Row {
    const char16_t *caption;
    const char16_t *letter;
    int w, h;
};

constexpr std::array<Row, 7> kPresets{{
    {u"サイズ Ａ", u"a", 11907, 10500},
    {u"サイズ Ｂ", u"b", 11500, 10000},
    {u"サイズ Ｃ", u"c", 11000, 9500},
    {u"サイズ Ｄ", u"d", 10500, 9000},
    {u"サイズ Ｅ", u"e", 10000, 8500},
    {u"サイズ Ｆ", u"f", 10000, 8000},
    {u"サイズ Ｇ", u"g", 10000, 7500},
}};

SizePreset preset(std::size_t i)
{
    const Row &r = kPresets[i];
    return {QString::fromUtf16(r.caption), QString::fromUtf16(r.letter), r.w, r.h, i != 0};
}

} // namespace

std::optional<SizePreset> presetForCaption(const QString &caption)
{
    for (std::size_t i = 0; i < kPresets.size(); ++i) {
        if (caption == QStringView(kPresets[i].caption))
            return preset(i);
    }
    return std::nullopt;
}

SizePreset presetForLetter(const QString &letter)
{
    for (std::size_t i = 1; i < kPresets.size(); ++i) {
        if (letter == QStringView(kPresets[i].letter))
            return preset(i);
    }
    return preset(0);
}

std::optional<SizePreset> nextPreset(const QString &caption)
{
    for (std::size_t i = 0; i < kPresets.size(); ++i) {
        if (caption == QStringView(kPresets[i].caption))
            return preset((i + 1) % kPresets.size());
    }
    return std::nullopt;
}

} // namespace nikra
