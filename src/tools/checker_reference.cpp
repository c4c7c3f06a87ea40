#include "tools/checker_reference.h"

#include <array>

namespace nikra {

namespace {

constexpr const char16_t *kSeparator = u"――――――――――――――";

constexpr std::array<const char16_t *, 135> kLines{
    u"【ｘ軸フレーム】",
    u"   XWD (ﾌﾚｰﾑの長さ)",
    u"   XMN (最小値側数値ﾗﾍﾞﾙ)",
    u"   XMX (最大値側数値ﾗﾍﾞﾙ)",
    u"   XLG (ｽｹｰﾙの種類)",
    u"      =0 : ﾘﾆｱ",
    u"      =1 : ﾛｸﾞ",
    u"   XSF (横ｼﾌﾄ量)",
    kSeparator,
    u"   RSZ (凡例ﾗﾍﾞﾙの文字ｻｲｽﾞ)",
    u"     ≦0 : 非表示",
    u"   CSZ (ｺﾒﾝﾄﾃﾞｰﾀの文字ｻｲｽﾞ)",
    u"     ≦0 : 非表示",
    u"   FNT (ﾌｫﾝﾄの種類)",
    u"      = 0 : ＭＳ Ｐ明朝",
    u"       ｺﾒﾝﾄ ＭＳ 明朝",
    u"      = 1 : ＭＳ Ｐ明朝",
    u"       ｺﾒﾝﾄ ＭＳ Ｐ明朝",
    u"      = 2 : ＭＳ Ｐｺﾞｼｯｸ",
    u"       ｺﾒﾝﾄ ＭＳ ｺﾞｼｯｸ",
    u"      = 3 : ＭＳ Ｐｺﾞｼｯｸ",
    u"       ｺﾒﾝﾄ ＭＳ Ｐｺﾞｼｯｸ",
    u"      = 4 : Times New Roman",
    u"       ｺﾒﾝﾄ Courier New",
    u"      = 5 : Times New Roman",
    u"       ｺﾒﾝﾄ Times New Roman",
    u"      = 6 : Arial",
    u"       ｺﾒﾝﾄ Courier New",
    u"      = 7 : Arial",
    u"       ｺﾒﾝﾄ Arial",
    kSeparator,
    u"【ｙ軸フレーム】",
    u"   YWD (ﾌﾚｰﾑの長さ)",
    u"   YMN (最小値側数値ﾗﾍﾞﾙ)",
    u"   YMX (最大値側数値ﾗﾍﾞﾙ)",
    u"   YLG (ｽｹｰﾙの種類)",
    u"      =0 : ﾘﾆｱ",
    u"      =1 : ﾛｸﾞ",
    u"   YSP (上方ｽﾍﾟｰｽ幅)",
    kSeparator,
    u"【ｘ軸数値ラベル】",
    u"   XNS (ﾗﾍﾞﾙｻｲｽﾞ)",
    u"     ≦0 : 非表示",
    u"   XND (小数点以下の桁数)",
    u"         : 0～6の整数",
    u"   XDV (|XDV|=分割数)",
    u"     >0 : 分割線あり",
    u"     <0 : 分割線なし",
    u"   XDS (分割線の横ｼﾌﾄ量)",
    kSeparator,
    u"【ｙ軸数値ラベル】",
    u"   YNS (ﾗﾍﾞﾙｻｲｽﾞ)",
    u"     ≦0 : 非表示",
    u"   YND (小数点以下の桁数)",
    u"         : 0～6の整数",
    u"   YDV (|YDV|=分割数)",
    u"     >0 : 分割線あり",
    u"     <0 : 分割線なし",
    u"   YDS (分割線の縦ｼﾌﾄ量)",
    kSeparator,
    u"【ｘ軸文字ラベル】",
    u"   XLS (ﾗﾍﾞﾙｻｲｽﾞ)",
    u"     ≦0 : 非表示",
    u"   XLP (ﾗﾍﾞﾙの位置)",
    u"      =0 : 記述省略",
    u"      =1 : ﾌﾚｰﾑ下",
    u"      =2 : ﾌﾚｰﾑ上",
    u"   XLB (ﾗﾍﾞﾙ)",
    kSeparator,
    u"【ｙ軸文字ラベル】",
    u"   YLS (ﾗﾍﾞﾙｻｲｽﾞ)",
    u"     ≦0 : 非表示",
    u"   YLP (ﾗﾍﾞﾙの位置)",
    u"      =0 : 記述省略",
    u"      =1 : ﾌﾚｰﾑ左",
    u"      =2 : ﾌﾚｰﾑ右",
    u"   YLB (ﾗﾍﾞﾙ)",
    kSeparator,
    u"【マーカー】",
    u"   PTP (種類)",
    u"    \u3000細い⇔ 太い",
    u"     =1,11,21,31 : ●丸",
    u"     =2,12,22,32 : ▲３角形",
    u"     =3,13,23,33 : ◆菱形",
    u"     =4,14,24,34 : ■４角形",
    u"     =5,15,25,35 : ▼逆三角形",
    u"     =6,16,26,36 : ６角形",
    u"     =7,17,27,37 : ★星形",
    u"     =8,18,28,38 : ×印",
    u"     =9,19,29,39 : ＋印",
    u"     上記のﾏｲﾅｽ値: ◎中空化",
    u"     上記以外    : なし",
    u"   PSZ (大きさ)",
    u"     ≦0 : 非表示",
    u"   PCL (色)",
    u"      =0 : ■Black",
    u"      =1 : ■Red",
    u"      =2 : ■Lawn green",
    u"      =3 : ■Cyan",
    u"      =4 : ■Blue",
    u"      =5 : ■Blue violet",
    u"      =6 : ■Magenta",
    u"      =7 : ■Brawn",
    u"      =8 : ■Orange",
    u"      =9 : ■Purple",
    u"      =10: ■Green",
    u"      =11: ■Light seagreen",
    u"      =12: ■Dark blue",
    u"      =13: ■Gray",
    u"      =14: ■Pink",
    u"      =15: ■Yellow",
    u"     以外: ■White",
    kSeparator,
    u"【描線】",
    u"   LTP (線種)",
    u"     \u3000細い⇔ 太い",
    u"   \u3000 =0,10,20,30 : 実線",
    u"      =1,11,21,31 : 鎖線",
    u"      =2,12,22,32 : 点線",
    u"      =3,13,23,33 : 一点鎖線",
    u"      =4,14,24,34 : ２点鎖線",
    u"      =5          : 塗り潰し",
    u"      =以外(>0)   : 透明",
    u"   IPL (補間／近似条件)",
    u"   \u3000 =0 : 補間無し",
    u"      =n : ｎ点補間",
    u"      =-n: ｎ次ﾁｪﾋﾞｼｪﾌ近似",
    kSeparator,
    u"【凡例】",
    u"   RPS (上下位置)",
    u"      =0 : 記述省略",
    u"      =1 : 下側",
    u"      =2 : 上側",
    u"   RDS (左からの距離)",
    u"   RLB (ﾗﾍﾞﾙ)",
};

constexpr QChar kSquare = u'■';
constexpr int kColourSquares = 17;

} // namespace

QStringList keyReferenceLines()
{
    QStringList lines;
    lines.reserve(qsizetype(kLines.size()));
    for (const char16_t *line : kLines)
        lines.append(QString::fromUtf16(line));
    return lines;
}

QString keyReferenceText()
{
    QString text;
    for (const char16_t *line : kLines)
        text += QString::fromUtf16(line) + QStringLiteral("\r\n");
    return text;
}

QList<qsizetype> colourSquarePositions(const QString &text)
{
    QList<qsizetype> positions;
    qsizetype at = text.indexOf(kSquare);
    while (at >= 0 && positions.size() < kColourSquares) {
        at = text.indexOf(kSquare, at + 1);
        if (at >= 0)
            positions.append(at);
    }
    return positions;
}

} // namespace nikra
