#include <cstring>
#include "support/test_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <sys/stat.h>

namespace nikra::test {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString pdfProblems(const QString &path)
{
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    if (!qpdf.waitForFinished(120000))
        return QStringLiteral("qpdf did not run (install it: scripts/setup): ") + qpdf.errorString();
    // 0: no problem; 2: errors; 3: warnings.
    if (qpdf.exitStatus() == QProcess::NormalExit && qpdf.exitCode() == 0)
        return {};
    return QString::fromUtf8(qpdf.readAllStandardOutput() + qpdf.readAllStandardError());
}

bool sha256sumAccepts(const QString &folder)
{
    QProcess check;
    check.setWorkingDirectory(folder);
    check.start(QStringLiteral("sha256sum"), {QStringLiteral("-c"), QStringLiteral("--strict"), QStringLiteral("--quiet"),
                                               QStringLiteral("Nikra.sha256")});
    return check.waitForFinished(30000) && check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0;
}

QString FormatFile::text(const QString &eol) const
{
    QStringList lines{QStringLiteral("title"),       QStringLiteral("subtitle"), QStringLiteral("x frame"),
                      line4,                         QStringLiteral("y frame"),  line6,
                      QStringLiteral("x numbers"),   QStringLiteral("keys"),     line9,
                      QStringLiteral("y numbers"),   line11,                     QStringLiteral("x title"),
                      QStringLiteral("keys"),        line14,                     QStringLiteral("y title"),
                      line16,                        QStringLiteral("curves"),   QStringLiteral("keys")};
    lines += curves;
    return lines.join(eol) + eol;
}

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(QDir(folder).relativeFilePath(path), it.fileInfo().isFile() ? fileContents(path) : "<dir>");
    }
    return entries;
}

QStringList entryNames(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

bool makeFifo(const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }

unsigned modeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? unsigned(st.st_mode) : 0;
}

TestDir::TestDir() { Q_ASSERT(dir_.isValid()); }

QString TestDir::path(const QString &name) const { return dir_.filePath(name); }

QString TestDir::write(const QString &name, const QByteArray &bytes) const
{
    const QString p = path(name);
    QDir().mkpath(QFileInfo(p).path());  // a file in a subfolder brings its folder
    writeFile(p, bytes);
    return p;
}

} // namespace nikra::test
