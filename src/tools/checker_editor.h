#pragma once
// The checker's text area. Long lines and long files stay quick to edit: the text is held
// in paragraphs of bounded length (see editorParagraphs), so a keystroke lays out one short
// paragraph and a million-line file is a few thousand paragraphs. Lines inside a paragraph
// are separated by line separators; a line longer than a paragraph is cut over several,
// each marked as continuing the line. The marks never reach the file: the text is read
// back, copied and saved with a line break exactly where the file has one.

#include <QPlainTextEdit>

#include <QStringView>

namespace nikra {

class CheckerEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit CheckerEditor(QWidget *parent = nullptr);

    // Shows text (lines ended by CR LF, LF or CR) in a new document with nothing to undo and
    // no change, and lets the previous document's memory go.
    void setFileText(QStringView text);

    // The text as the file holds it, every line break as LF.
    QString fileText() const;
    // Likewise for the part between two document positions.
    QString fileText(int from, int to) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    void restoreLineCounts();
};

} // namespace nikra
