#include "tools/checksum_manifest.h"

#include "formats/file_bytes.h"
#include "formats/messages.h"
#include "formats/path_memory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace nikra {

QString manifestFileName() { return QStringLiteral("Nikra.sha256"); }

bool holdsSavedSet(const QString &folder) { return QFileInfo::exists(QDir(folder).filePath(manifestFileName())); }

std::optional<QByteArray> sha256OfFile(const QString &path)
{
    // Only a regular file has a checksum: a pipe named in a manifest would wait forever.
    const OpenedFile opened = openRegularFile(path);
    if (!opened.file)
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(opened.file.get()))
        return std::nullopt;
    return hash.result().toHex();
}

QByteArray composeManifest(const QList<ManifestEntry> &entries)
{
    // sha256sum's own line ends, so that every version of it reads the file.
    QByteArray text;
    for (const ManifestEntry &e : entries)
        text += e.hash + "  " + e.name.toUtf8() + '\n';
    return text;
}

ManifestCheck checkManifest(const QString &folder)
{
    ManifestCheck check;
    // A manifest is a few lines a file; one of more than a megabyte is not ours.
    const FileBytes manifest = readWholeFile(QDir(folder).filePath(manifestFileName()), 1 << 20);
    if (!manifest)
        return check;
    // "HASH  NAME" (text mode) or "HASH *NAME" (binary mode); other lines are not ours, and
    // a file without one such line checks nothing.
    static const QRegularExpression line(QStringLiteral("^([0-9a-fA-F]{64}) [ *](.+)$"));
    for (const QString &text : splitLines(QString::fromUtf8(manifest.bytes))) {
        const auto match = line.match(text);
        if (!match.hasMatch())
            continue;
        check.present = true;
        const QString name = match.captured(2);
        // Only files beside the manifest are checked: a listed path never leads elsewhere.
        if (name.contains(u'/') || name.contains(u'\\') || name == u"." || name == u"..") {
            check.missing << name;
            continue;
        }
        // Nor does a link (a pipe or a device sha256OfFile refuses itself).
        const QFileInfo listed(QDir(folder).filePath(name));
        const auto hash = listed.isSymLink() ? std::nullopt : sha256OfFile(listed.filePath());
        if (!hash)
            check.missing << name;
        else if (*hash != match.captured(1).toLatin1().toLower())
            check.changed << name;
    }
    return check;
}

QString manifestStatusText(const ManifestCheck &check)
{
    if (!check.present)
        return messageText(Msg::ManifestAbsent);
    if (check.unchanged())
        return messageText(Msg::ManifestUnchanged);
    QStringList parts;
    const QString separator = QStringLiteral("、");
    if (!check.changed.isEmpty())
        parts << messageText(Msg::ManifestChanged, {check.changed.join(separator)});
    if (!check.missing.isEmpty())
        parts << messageText(Msg::ManifestMissing, {check.missing.join(separator)});
    return parts.join(u'\n');
}

} // namespace nikra
