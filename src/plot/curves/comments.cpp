#include "plot/curves/comments.h"

#include "plot/tab_stops.h"
#include "plot/text_size.h"

namespace nikra {

QStringList commentPieces(const QString &line, double limitMm, const std::function<double(const QString &)> &widthMm,
                          double tabStopMm)
{
    QStringList pieces;
    if (line.isEmpty()) {
        pieces.append(QString());
        return pieces;
    }
    // Widths are added up character by character, so a long line costs no more than its
    // length (the fonts are not kerned, so the sum is the text's width).
    QString piece;
    double width = 0;
    for (qsizetype i = 0; i < line.size();) {
        // One character: a surrogate pair stays whole.
        const qsizetype length =
            (line.at(i).isHighSurrogate() && i + 1 < line.size() && line.at(i + 1).isLowSurrogate()) ? 2 : 1;
        const QString ch = line.mid(i, length);
        i += length;
        const bool lineFeed = ch == u'\n';
        piece += ch;
        if (ch == u'\t' && tabStopMm > 0)  // as the surface lays the piece out
            width = nextTabStop(width, tabStopMm);
        else if (!lineFeed)
            width += widthMm(ch);
        if (lineFeed || width >= limitMm || i >= line.size()) {
            pieces.append(piece);
            piece.clear();
            width = 0;
        }
    }
    return pieces;
}

void drawComments(Surface &surface, PassState &st, const QStringList &lines)
{
    const PlotFormat &f = st.fmt;
    const TextSize size = textSizeOf(surface.profile(), f.CSZ);
    const double left = double(st.geo.PlotLeft) - 10;
    const double limit = double(f.XWD) + 100;
    double y = st.edges.XTextBottom + size.h / 2;
    for (const QString &line : lines) {
        // The printer fits its font to each file line.
        const TextFont font = surface.font({st.faces.comment, size.w, false, line});
        auto width = [&](const QString &text) { return surface.textWidth(font, text); };
        for (QString piece : commentPieces(line, limit, width, font.tabStopMm)) {
            if (piece.endsWith(u'\n'))
                piece.chop(1);
            surface.text(font, {left, y}, piece);
            y += size.h;
            if (y > st.page.LowestY)
                st.page.LowestY = float(y);
        }
    }
}

} // namespace nikra
