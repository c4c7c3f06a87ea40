#include "plot/printer_fitting.h"

namespace nikra {

const MadeFont &PrinterFitting::candidate(Fitting &fitting, const QString &face, double width, int k,
                                          const MakeFont &make)
{
    std::vector<MadeFont> &made = fitting.candidates;
    while (int(made.size()) < k)
        made.push_back(make(face, (0.75 + 0.01 * double(made.size() + 1)) * width));
    return made[std::size_t(k - 1)];
}

double PrinterFitting::fittedWidth(const FontRequest &request, FontFactory &fonts, const DeviceProfile &profile,
                                   const QPaintDevice &device, const MakeFont &make)
{
    Fitting &fitting = fittings_[{request.face, request.width}];
    auto it = fitting.fitted.constFind(request.fitText);
    if (it == fitting.fitted.constEnd()) {
        // Tab gaps are the same millimetres on every surface (tab_stops.h): only the text
        // between them is fitted.
        FontRequest runs = request;
        runs.fitText.remove(u'\t');
        it = fitting.fitted.insert(request.fitText, fit(fitting, runs, fonts, profile, device, make));
    }
    return *it;
}

// The canvas width of the fitted text first; then candidate widths from 0.76 to 1.75 times
// the nominal one, until the printed text is at least as wide; the result lies between the
// last two candidates in proportion to their widths.
double PrinterFitting::fit(Fitting &fitting, const FontRequest &request, FontFactory &fonts,
                           const DeviceProfile &profile, const QPaintDevice &device, const MakeFont &make)
{
    const double w = request.width;
    // The text is tallied once; each candidate font then measures only its distinct
    // characters (or the whole text once, see FontFactory::width).
    const CharacterTally text(request.fitText);
    const double target = fonts.screenWidthMm(request.face, w / profile.devPerScreenPxX, text);
    double previousSize = 0;
    double previousWidth = 0;
    double size = w;
    for (int k = 1; k <= 100; ++k) {
        size = (0.75 + 0.01 * k) * w;
        const double width = fonts.width(candidate(fitting, request.face, w, k, make), text, device) / profile.devPerMmX;
        if (width >= target) {
            if (width == previousWidth)
                return size;
            return previousSize + (target - previousWidth) * (size - previousSize) / (width - previousWidth);
        }
        previousSize = size;
        previousWidth = width;
    }
    return size;
}

} // namespace nikra
