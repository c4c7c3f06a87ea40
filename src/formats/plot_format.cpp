#include "plot_format.h"

#include <array>

namespace nikra {

FontFaces facesForFnt(int fnt)
{
    struct Row {
        const char16_t *label;
        const char16_t *comment;
    };
    static constexpr std::array<Row, 8> kRows{{
        {u"ＭＳ Ｐ明朝", u"ＭＳ 明朝"},
        {u"ＭＳ Ｐ明朝", u"ＭＳ Ｐ明朝"},
        {u"ＭＳ Ｐゴシック", u"ＭＳ ゴシック"},
        {u"ＭＳ Ｐゴシック", u"ＭＳ Ｐゴシック"},
        {u"Times New Roman", u"Courier New"},
        {u"Times New Roman", u"Times New Roman"},
        {u"Arial", u"Courier New"},
        {u"Arial", u"Arial"},
    }};
    const Row &row = kRows[(fnt >= 0 && fnt <= 7) ? fnt : 0];
    return {QString::fromUtf16(row.label), QString::fromUtf16(row.comment)};
}

} // namespace nikra
