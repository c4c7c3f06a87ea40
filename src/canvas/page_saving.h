#pragma once
// Saving the page to a file: a PNG is the page shown, a PDF or SVG is drawn from the files.

#include <QString>

class QImage;
class QWidget;

namespace nikra {

class PageHost;

// The page as a PDF, SVG or PNG file by the name's ending; false when it was not written,
// which is said.
bool writePageFile(PageHost &host, const QString &path, const QImage &shown);

// "ファイルに保存…": asks for a name and a type, starting where the last page was saved and
// with the type chosen last.
class PageSaveDialog {
public:
    // The file to write, the user agreeing to replace one that exists; empty: declined.
    QString ask(QWidget *parent, PageHost &host);

private:
    QString folder_;  // where the last page was saved; the current folder before that
    QString filter_;  // the type chosen last
};

} // namespace nikra
