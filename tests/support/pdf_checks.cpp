#include "support/pdf_checks.h"

#include <QProcess>
#include <QTemporaryDir>

#include <vector>

namespace nikra::test {

QString toolOutput(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(program, arguments);
    if (!tool.waitForFinished(120000))
        return program + QStringLiteral(" did not run (scripts/setup installs it): ") + tool.errorString();
    const QString output = QString::fromUtf8(tool.readAll());
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return program + QStringLiteral(" failed: ") + output;
    return output;
}

QImage pdfPageImage(const QString &path, int page, int dpi)
{
    QTemporaryDir dir;
    const QString stem = dir.filePath(QStringLiteral("page"));
    const QString n = QString::number(page);
    toolOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"), QString::number(dpi),
                                            QStringLiteral("-f"), n, QStringLiteral("-l"), n,
                                            QStringLiteral("-singlefile"), path, stem});
    return QImage(stem + QStringLiteral(".pgm")).convertToFormat(QImage::Format_Grayscale8);
}

qsizetype inkAwayFrom(const QImage &a, const QImage &b, int reach)
{
    if (a.size() != b.size())
        return a.width() * a.height();
    const int w = a.width();
    const int h = a.height();
    // The marks of b, spread by `reach` pixels: first along the rows, then down the columns.
    std::vector<uchar> near(std::size_t(w) * std::size_t(h), 0);
    for (int y = 0; y < h; ++y) {
        const uchar *row = b.constScanLine(y);
        for (int x = 0; x < w; ++x) {
            if (row[x] < 224) {
                for (int dx = std::max(0, x - reach); dx <= std::min(w - 1, x + reach); ++dx)
                    near[std::size_t(y) * std::size_t(w) + std::size_t(dx)] = 1;
            }
        }
    }
    std::vector<uchar> spread(near.size(), 0);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (near[std::size_t(y) * std::size_t(w) + std::size_t(x)]) {
                for (int dy = std::max(0, y - reach); dy <= std::min(h - 1, y + reach); ++dy)
                    spread[std::size_t(dy) * std::size_t(w) + std::size_t(x)] = 1;
            }
        }
    }
    qsizetype away = 0;
    for (int y = 0; y < h; ++y) {
        const uchar *row = a.constScanLine(y);
        for (int x = 0; x < w; ++x)
            away += row[x] < 128 && !spread[std::size_t(y) * std::size_t(w) + std::size_t(x)];
    }
    return away;
}

} // namespace nikra::test
