#include "path_memory.h"
#include "file_bytes.h"

#include "text_codec.h"

#include "messages.h"

#include <QFileInfo>

namespace nikra {

namespace {

int firstLineOf(PickerKind kind) { return 1 + 9 * int(kind); }

// A list position as written: " 3 " or "-1 ".
QString listPositionText(int value)
{
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + QString::number(qAbs(value))
        + QStringLiteral(" ");
}

} // namespace

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

std::optional<PathMemory> PathMemory::read(const QString &path, QString *failure)
{
    const FileBytes bytes = readWholeFile(path, kMostBytes);
    QString why = bytes.failure;
    if (bytes && bytes.bytes.isEmpty())
        why = messageText(Msg::FileEmpty);
    if (!why.isEmpty()) {
        if (failure)
            *failure = why;
        return std::nullopt;
    }
    return fromText(decodeText(bytes.bytes).text);
}

bool PathMemory::remembersNothing(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && info.size() == 0);
}

PathMemory PathMemory::fromText(const QString &text)
{
    PathMemory memory;
    memory.lines_ = splitLines(text);
    if (memory.lines_.size() > kLineCount)
        memory.lines_.resize(kLineCount);
    return memory;
}

std::optional<QString> PathMemory::line(int number) const
{
    if (number < 1 || number > lines_.size())
        return std::nullopt;
    return lines_.at(number - 1);
}

std::optional<QString> PathMemory::pickerDrive(PickerKind kind) const { return line(firstLineOf(kind)); }

std::optional<QString> PathMemory::pickerFolder(PickerKind kind) const
{
    return line(firstLineOf(kind) + 1);
}

std::optional<QString> PathMemory::pickerPattern(PickerKind kind) const
{
    auto pattern = line(firstLineOf(kind) + 2);
    if (pattern && pattern->isEmpty())
        return defaultPattern(kind);
    return pattern;
}

std::optional<QString> PathMemory::name(PickerKind kind, int slot) const
{
    if (slot < 1 || slot > kSlotCount)
        return std::nullopt;
    return line(firstLineOf(kind) + 2 + slot);
}

std::optional<int> PathMemory::listPosition(int number) const
{
    const auto text = line(number);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

QString PathMemory::defaultPattern(PickerKind kind)
{
    return kind == PickerKind::CommentData ? QStringLiteral("*.txt") : QStringLiteral("*.dat");
}

QString PathMemory::compose(const Contents &c)
{
    QStringList lines;
    for (int k = 0; k < 3; ++k) {
        const PickerState &p = c.pickers[std::size_t(k)];
        lines << p.drive << p.folder << p.pattern;
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const SlotFiles &files = c.slots[slot];
            lines << (k == 0 ? files.format : k == 1 ? files.graph : files.comment);
        }
    }
    lines << c.headerText << listPositionText(c.headerFontIndex) << listPositionText(c.headerSizeIndex)
          << listPositionText(c.headerAlignIndex);
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

FileWrite PathMemory::write(const QString &path, const Contents &contents)
{
    return writeWholeFile(path, encodeText(compose(contents), TextEncoding::Utf8));
}

} // namespace nikra
