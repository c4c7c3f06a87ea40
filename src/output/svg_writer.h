#pragma once
// A streaming SVG document: elements are written as they come, in chunks, so a page of a
// hundred thousand markers needs no more memory than a page of ten. Consecutive elements of
// the same style share one group.

#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <vector>

class QIODevice;

namespace nikra {

class SvgWriter {
public:
    explicit SvgWriter(QIODevice *output) : out_(output) {}
    SvgWriter(const SvgWriter &) = delete;
    SvgWriter &operator=(const SvgWriter &) = delete;

    // The root element: width and height in mm, the viewBox in user units.
    void begin(double widthMm, double heightMm, const QRect &viewBox, const QString &title);
    // An element with a style shared with its neighbours: a group is opened (or kept) for
    // the style and the element written inside it.
    void styled(const QByteArray &style, const QByteArray &element);
    void element(const QByteArray &element);  // outside any group
    // A definition for later <use> elements, wherever the document stands (it draws nothing).
    void definition(const QByteArray &element);
    // Closes the document; false if anything could not be written.
    bool end();

    static QByteArray points(const std::vector<QPoint> &path);
    // Path data for a closed polygon in the short relative form: "M-3 5l2-1h4v3z".
    static QByteArray closedPath(const std::vector<QPoint> &path);
    static QByteArray number(double v);
    static QByteArray escaped(const QString &text);
    static QByteArray colour(const QColor &c);

private:
    void write(const QByteArray &bytes);
    void closeGroup();

    QIODevice *out_;
    QByteArray buffer_;
    QByteArray groupStyle_;
    bool inGroup_ = false;
    bool ok_ = true;
};

} // namespace nikra
