#include "output/svg_writer.h"

#include <QColor>
#include <QIODevice>
#include <QRect>

#include <charconv>

namespace nikra {

namespace {

constexpr qsizetype kChunk = 1 << 16;

} // namespace

void SvgWriter::write(const QByteArray &bytes)
{
    buffer_ += bytes;
    if (buffer_.size() >= kChunk) {
        ok_ = ok_ && out_ && out_->write(buffer_) == buffer_.size();
        buffer_.clear();
    }
}

void SvgWriter::begin(double widthMm, double heightMm, const QRect &viewBox, const QString &title)
{
    write("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
          "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" width=\"" + number(widthMm) + "mm\" height=\""
          + number(heightMm) + "mm\" viewBox=\"" + QByteArray::number(viewBox.x()) + ' '
          + QByteArray::number(viewBox.y()) + ' ' + QByteArray::number(viewBox.width()) + ' '
          + QByteArray::number(viewBox.height()) + "\">\n<title>" + escaped(title) + "</title>\n");
}

void SvgWriter::closeGroup()
{
    if (inGroup_)
        write("</g>\n");
    inGroup_ = false;
}

void SvgWriter::styled(const QByteArray &style, const QByteArray &element)
{
    if (!inGroup_ || style != groupStyle_) {
        closeGroup();
        write("<g " + style + ">\n");
        groupStyle_ = style;
        inGroup_ = true;
    }
    write(element);
}

void SvgWriter::element(const QByteArray &element)
{
    closeGroup();
    write(element);
}

void SvgWriter::definition(const QByteArray &element) { write("<defs>" + element + "</defs>\n"); }

bool SvgWriter::end()
{
    closeGroup();
    buffer_ += "</svg>\n";
    ok_ = ok_ && out_ && out_->write(buffer_) == buffer_.size();
    buffer_.clear();
    return ok_;
}

QByteArray SvgWriter::points(const std::vector<QPoint> &path)
{
    // "x,y x,y ...": at most 11 characters a number, 24 a point.
    QByteArray out(qsizetype(path.size()) * 24, Qt::Uninitialized);
    char *at = out.data();
    char *const end = at + out.size();
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0)
            *at++ = ' ';
        at = std::to_chars(at, end, path[i].x()).ptr;
        *at++ = ',';
        at = std::to_chars(at, end, path[i].y()).ptr;
    }
    out.truncate(at - out.data());
    return out;
}

QByteArray SvgWriter::closedPath(const std::vector<QPoint> &path)
{
    // A command letter where the command changes (a repeated one may be left out), and a
    // space between two numbers only where the second has no minus sign to part them.
    QByteArray out(qsizetype(path.size()) * 24 + 2, Qt::Uninitialized);
    char *at = out.data();
    char *const end = at + out.size();
    char command = 'M';
    bool afterNumber = false;
    auto put = [&](int v) {
        if (afterNumber && v >= 0)
            *at++ = ' ';
        at = std::to_chars(at, end, v).ptr;
        afterNumber = true;
    };
    auto start = [&](char c) {
        if (c != command || at == out.data()) {
            *at++ = c;
            command = c;
            afterNumber = false;
        }
    };
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i == 0) {
            start('M');
            put(path[0].x());
            put(path[0].y());
            continue;
        }
        const int dx = path[i].x() - path[i - 1].x();
        const int dy = path[i].y() - path[i - 1].y();
        if (dy == 0) {
            start('h');
            put(dx);
        } else if (dx == 0) {
            start('v');
            put(dy);
        } else {
            start('l');
            put(dx);
            put(dy);
        }
    }
    *at++ = 'z';
    out.truncate(at - out.data());
    return out;
}

QByteArray SvgWriter::number(double v) { return QByteArray::number(v, 'g', 10); }

QByteArray SvgWriter::colour(const QColor &c) { return c.name(QColor::HexRgb).toLatin1(); }

QByteArray SvgWriter::escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'&')
            out += QStringLiteral("&amp;");
        else if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else if (c == u'"')
            out += QStringLiteral("&quot;");
        else if (c.unicode() >= 0x20 || c == u'\t')  // other control characters are not XML
            out += c;
    }
    return out.toUtf8();
}

} // namespace nikra
