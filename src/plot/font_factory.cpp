#include "plot/font_factory.h"

#include "plot/device_profile.h"
#include "plot/page_units.h"

#include <QFontMetricsF>
#include <QPaintDevice>

#include <array>

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
    const FaceFigures &f = figures(face);
    MadeFont made;
    made.font = baseFont(face);
    const double em = cellHeight / f.cellPerEm;  // device units
    if (em > 0) {
        made.font.setPointSizeF(em * 72.0 / device.logicalDpiY());
        made.xScale = averageWidth / (f.averagePerEm * em);
        made.ascent = QFontMetricsF(made.font, &device).ascent();
    } else {
        made.xScale = 0;  // an empty font: nothing shows, nothing has width
    }
    return made;
}

double FontFactory::advance(const MadeFont &made, const QString &text, const QPaintDevice &device)
{
    if (made.xScale == 0)
        return 0;
    return QFontMetricsF(made.font, &device).horizontalAdvance(text) * made.xScale;
}

double FontFactory::screenWidthMm(const QString &face, double widthPx, const QString &text)
{
    const MadeFont made = make(face, rnd(1.5 * widthPx), rnd(widthPx), screen_);
    return advance(made, text, screen_) / (kTwipsPerMm / twipsPerPixel(kReferenceDpi));
}

} // namespace nikra
