#include <cstring>
#include "support/test_files.h"

#include <QFile>
#include <QProcess>

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

TestDir::TestDir() { Q_ASSERT(dir_.isValid()); }

QString TestDir::path(const QString &name) const { return dir_.filePath(name); }

QString TestDir::write(const QString &name, const QByteArray &bytes) const
{
    const QString p = path(name);
    QFile file(p);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return p;
}

} // namespace nikra::test
