#pragma once
// Looking at a PDF file as readers see it: what a reader program says about it, and its
// pages as pixels.

#include <QImage>
#include <QString>
#include <QStringList>

namespace nikra::test {

// What a program prints (standard output and error together) for the arguments; a
// failure to run, or an exit status other than 0, is said at the start of it.
QString toolOutput(const QString &program, const QStringList &arguments);

// A page of a PDF file rasterised by pdftoppm at `dpi` (page 1 first), in grey.
QImage pdfPageImage(const QString &path, int page, int dpi);

// How many ink pixels (darker than mid-grey) of `a` lie more than `reach` pixels away
// from any mark (any pixel visibly darker than white) of `b`: ink moved, added or lost.
// A hairline drawn a shade lighter or darker is not counted.
qsizetype inkAwayFrom(const QImage &a, const QImage &b, int reach);

} // namespace nikra::test
