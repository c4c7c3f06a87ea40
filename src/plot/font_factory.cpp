#include "plot/font_factory.h"

#include "plot/device_profile.h"
#include "plot/page_units.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <array>
#include <cmath>
#include <limits>

namespace nikra {

namespace {

struct FaceEntry {
    const char16_t *named;
    const char16_t *standIn;
    double averagePerEm;  // the named face's own average width; 0: take the stand-in's
};

// The faces of Japanese Windows and the installed faces that stand in for them. The Latin
// faces keep their own average widths (OS/2 xAvgCharWidth over 2048 units per em).
constexpr std::array kFaces{
    FaceEntry{u"ＭＳ Ｐ明朝", u"IPAPMincho", 0},
    FaceEntry{u"ＭＳ 明朝", u"IPAMincho", 0},
    FaceEntry{u"ＭＳ Ｐゴシック", u"IPAPGothic", 0},
    FaceEntry{u"ＭＳ ゴシック", u"IPAGothic", 0},
    FaceEntry{u"Times New Roman", u"Liberation Serif", 821.0 / 2048},
    FaceEntry{u"Courier New", u"Liberation Mono", 1229.0 / 2048},
    FaceEntry{u"Arial", u"Liberation Sans", 904.0 / 2048},
};

const FaceEntry *entryFor(const QString &named)
{
    for (const FaceEntry &e : kFaces) {
        if (named == QStringView(e.named))
            return &e;
    }
    return nullptr;
}

// Fonts are unhinted everywhere: text widths then grow smoothly with the size, which the
// printer's width fitting relies on, and the canvas measures what the printer prints.
QFont baseFont(const QString &face)
{
    QFont font(standInFace(face));
    font.setWeight(QFont::Medium);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

// Whether a character's width is the same wherever it stands in a text: not so for tabs and
// other controls, combining marks, line separators, and joining or reordering scripts.
bool standsAlone(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:  // tab stops, the line feed
    case QChar::Other_Format:   // joiners, direction marks, the soft hyphen
    case QChar::Other_Surrogate:
    case QChar::Other_NotAssigned:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return false;
    default:
        break;
    }
    // Scripts whose letters are drawn one glyph each, the same in any context.
    switch (QChar::script(c)) {
    case QChar::Script_Common:
    case QChar::Script_Latin:
    case QChar::Script_Greek:
    case QChar::Script_Cyrillic:
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
        return true;
    default:
        return false;
    }
}

} // namespace

QString standInFace(const QString &named)
{
    const FaceEntry *e = entryFor(named);
    return e ? QString::fromUtf16(e->standIn) : named;
}

FontFactory::FontFactory() : screen_(1, 1, QImage::Format_RGB32)
{
    const int dotsPerMetre = rnd(kReferenceDpi / 0.0254);
    screen_.setDotsPerMeterX(dotsPerMetre);
    screen_.setDotsPerMeterY(dotsPerMetre);
}

const FontFactory::FaceFigures &FontFactory::figures(const QString &face)
{
    auto it = figures_.find(face);
    if (it != figures_.end())
        return *it;
    constexpr int kEm = 2048;
    QFont font = baseFont(face);
    font.setPixelSize(kEm);
    const QFontMetricsF m(font, &screen_);
    const FaceEntry *e = entryFor(face);
    FaceFigures f{(m.ascent() + m.descent()) / kEm,
                  (e && e->averagePerEm > 0) ? e->averagePerEm : m.averageCharWidth() / kEm};
    if (!(f.cellPerEm > 0))
        f.cellPerEm = 1;
    if (!(f.averagePerEm > 0))
        f.averagePerEm = 0.5;
    return *figures_.insert(face, f);
}

MadeFont FontFactory::make(const QString &face, double cellHeight, double averageWidth, const QPaintDevice &device)
{
    const MadeKey key{face, cellHeight, averageWidth, device.logicalDpiX(), device.logicalDpiY()};
    if (const auto it = made_.constFind(key); it != made_.constEnd())
        return *it;
    const FaceFigures &f = figures(face);
    MadeFont made;
    made.font = baseFont(face);
    const double em = cellHeight / f.cellPerEm;  // device units
    if (em > 0) {
        made.font.setPointSizeF(em * 72.0 / device.logicalDpiY());
        made.xScale = averageWidth / (f.averagePerEm * em);
        made.ascent = QFontMetricsF(made.font, &device).ascent();
        // The measures belong to the face at this cell height on a device of this resolution.
        const MadeKey sized{face, cellHeight, 0, key.dpiX, key.dpiY};
        auto id = measureIds_.constFind(sized);
        if (id == measureIds_.constEnd()) {
            measures_.push_back(std::make_unique<Measures>(Measures{QFontMetricsF(made.font, &device),
                                                                    QRawFont::fromFont(made.font), entryFor(face) != nullptr,
                                                                    {}, {}, {}}));
            id = measureIds_.insert(sized, int(measures_.size()) - 1);
        }
        made.measures = *id;
    } else {
        made.xScale = 0;  // an empty font: nothing shows, nothing has width
    }
    return *made_.insert(key, made);
}

double FontFactory::advance(const MadeFont &made, const QString &text, const QPaintDevice &device)
{
    if (made.xScale == 0)
        return 0;
    return QFontMetricsF(made.font, &device).horizontalAdvance(text) * made.xScale;
}

double FontFactory::characterAdvance(Measures &m, char32_t c)
{
    // The inner loop of the fitting: a character measured before costs two look-ups.
    if (c < 0x10000) {
        if (const auto *block = m.planeZero[c >> 8].get(); block && !std::isnan((*block)[c & 0xff]))
            return (*block)[c & 0xff];
    }
    return measureCharacter(m, c);
}

double FontFactory::measureCharacter(Measures &m, char32_t c)
{
    double *known = nullptr;
    if (c < 0x10000) {
        auto &block = m.planeZero[c >> 8];
        if (!block) {
            block = std::make_unique<std::array<double, 256>>();
            block->fill(std::numeric_limits<double>::quiet_NaN());
        }
        known = &(*block)[c & 0xff];
        if (!std::isnan(*known))
            return *known;
    } else if (const auto it = m.characters.constFind(c); it != m.characters.constEnd()) {
        return *it;
    }
    // A character the face lacks is drawn in a stand-in face chosen for its script. A
    // character of no script of its own (punctuation, digits) takes its neighbours' script,
    // so a text with such a character is measured whole.
    const bool alone = m.unshaped && standsAlone(c)
        && (m.ownGlyphs.supportsCharacter(c) || QChar::script(c) != QChar::Script_Common);
    const double a = alone ? m.metrics.horizontalAdvance(QString::fromUcs4(&c, 1)) : -1;
    if (known)
        *known = a;
    else
        m.characters.insert(c, a);
    return a;
}

double FontFactory::width(const MadeFont &made, const CharacterTally &text, const QPaintDevice &device)
{
    if (made.xScale == 0)
        return 0;
    if (made.measures < 0 || std::size_t(made.measures) >= measures_.size())
        return advance(made, text.text(), device);
    Measures &m = *measures_[std::size_t(made.measures)];
    // Each advance is a whole number of 1/64 units, so the sum is exact, as the layout's own
    // sum is (which also overflows on a few million characters; this sum does not).
    double sum = 0;
    bool alone = true;
    for (const auto &[c, count] : text.counts()) {
        const double a = characterAdvance(m, c);
        if (a < 0) {
            alone = false;
            break;
        }
        sum += double(count) * a;
    }
    if (alone)
        return sum * made.xScale;
    auto it = m.texts.constFind(text.text());
    if (it == m.texts.constEnd())
        it = m.texts.insert(text.text(), m.metrics.horizontalAdvance(text.text()));
    return *it * made.xScale;
}

double FontFactory::width(const MadeFont &made, const QString &text, const QPaintDevice &device)
{
    // One character, as comment lines are split: no tally needed.
    const qsizetype n = text.size();
    if (made.xScale != 0 && made.measures >= 0 && std::size_t(made.measures) < measures_.size()
        && (n == 1 || (n == 2 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate()))) {
        const char32_t c = n == 1 ? char32_t(text.at(0).unicode()) : QChar::surrogateToUcs4(text.at(0), text.at(1));
        const double a = characterAdvance(*measures_[std::size_t(made.measures)], c);
        if (a >= 0)
            return a * made.xScale;
    }
    return width(made, CharacterTally(text), device);
}

double FontFactory::screenWidthMm(const QString &face, double widthPx, const CharacterTally &text)
{
    const MadeFont made = make(face, rnd(1.5 * widthPx), rnd(widthPx), screen_);
    return width(made, text, screen_) / (kTwipsPerMm / twipsPerPixel(kReferenceDpi));
}

} // namespace nikra
