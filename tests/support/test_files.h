#pragma once
// Writing the files a test draws from.

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace nikra::test {

// A Format Data file by its value lines; the skipped lines hold headings.
struct FormatFile {
    QString line4 = QStringLiteral("100, 0, 10, 0, 0, 0, 0, 0");  // XWD XMN XMX XLG XSF RSZ CSZ FNT
    QString line6 = QStringLiteral("80, 0, 10, 0, 0");            // YWD YMN YMX YLG YSP
    QString line9 = QStringLiteral("0, 0, 5, 0");                 // XNS XND XDV XDS
    QString line11 = QStringLiteral("0, 0, 5, 0");                // YNS YND YDV YDS
    QString line14 = QStringLiteral("0, 1, x");                   // XLS XLP XLB
    QString line16 = QStringLiteral("0, 1, y");                   // YLS YLP YLB
    QStringList curves{QStringLiteral("0, 0, 0, 0, 0, 0, 0, curve")};

    QString text(const QString &eol = QStringLiteral("\r\n")) const;
};

// The system's words for an error number, as the program reports it.
QString systemReason(int error);

// What qpdf --check finds wrong with a PDF file (errors and warnings); empty when it is sound.
QString pdfProblems(const QString &path);

// Whether "sha256sum -c --strict" passes the folder's Nikra.sha256.
bool sha256sumAccepts(const QString &folder);

// A file's bytes; empty when it cannot be read.
QByteArray fileContents(const QString &path);

// Writes a file whole (for files outside a TestDir); false when it cannot be written.
bool writeFile(const QString &path, const QByteArray &bytes);

// Every entry under a folder, hidden ones too, with each file's bytes ("<dir>" for a
// folder): what "left exactly as it was" compares.
QMap<QString, QByteArray> snapshot(const QString &folder);

// The names directly in a folder, hidden ones too, sorted.
QStringList entryNames(const QString &folder);

// A named pipe at path; false when it cannot be made.
bool makeFifo(const QString &path);

// The mode of what path names (a link followed); 0 when there is nothing.
unsigned modeOf(const QString &path);

class TestDir {
public:
    TestDir();
    QString root() const { return dir_.path(); }
    QString path(const QString &name) const;
    // Writes the file under the test folder, making the folders on its way.
    QString write(const QString &name, const QByteArray &bytes) const;
    QString write(const QString &name, const QString &text) const { return write(name, text.toUtf8()); }
    QString write(const QString &name, const FormatFile &f) const { return write(name, f.text()); }

private:
    QTemporaryDir dir_;
};

} // namespace nikra::test
