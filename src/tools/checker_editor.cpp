#include "tools/checker_editor.h"

#include "tools/checker_text.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace nikra {

namespace {

// Set on a paragraph that goes on with the line the paragraph before it ends in.
constexpr int kContinuesLine = QTextFormat::UserProperty + 1;

bool continuesLine(const QTextBlock &block) { return block.blockFormat().boolProperty(kContinuesLine); }

// Inserts text at the cursor (over its selection) as one step to undo. Every new paragraph
// is given its own mark: a paragraph made by a line break must never inherit the mark of
// the one it was split from, or the break would be lost on saving.
void insertFileText(QTextCursor &cursor, QStringView text)
{
    const QList<EditorParagraph> paragraphs = editorParagraphs(text);
    cursor.beginEditBlock();
    cursor.insertText(paragraphs.first().text);
    for (qsizetype i = 1; i < paragraphs.size(); ++i) {
        QTextBlockFormat format;
        if (paragraphs[i].continuesLine)
            format.setProperty(kContinuesLine, true);
        cursor.insertBlock(format);
        cursor.insertText(paragraphs[i].text);
    }
    cursor.endEditBlock();
}

} // namespace

CheckerEditor::CheckerEditor(QWidget *parent) : QPlainTextEdit(parent) {}

void CheckerEditor::setFileText(QStringView text)
{
    // Filled before it is shown, so the widget does no work per paragraph and there is no
    // undo step for the loading.
    auto *document = new QTextDocument(this);
    document->setDocumentLayout(new QPlainTextDocumentLayout(document));
    document->setDefaultFont(font());
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    insertFileText(cursor, text);
    document->setUndoRedoEnabled(true);
    document->setModified(false);

    // The document the widget started with is its own and goes with setDocument; the ones
    // made here are deleted here.
    QTextDocument *previous = this->document();
    const bool madeHere = previous->parent() == this;
    setDocument(document);
    if (madeHere)
        delete previous;
#ifdef __GLIBC__
    // A large document leaves its freed memory with the allocator unless it is handed back.
    malloc_trim(0);
#endif
    restoreLineCounts();
}

QString CheckerEditor::fileText() const { return fileText(0, document()->characterCount() - 1); }

QString CheckerEditor::fileText(int from, int to) const
{
    QString out;
    for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to; block = block.next()) {
        const int start = std::max(from, block.position());
        if (start > from && !continuesLine(block))
            out += u'\n';
        const int end = std::min(to, block.position() + block.length() - 1);
        out += QStringView(block.text()).sliced(start - block.position(), end - start);
    }
    out.replace(QChar::LineSeparator, u'\n');
    return out;
}

void CheckerEditor::keyPressEvent(QKeyEvent *event)
{
    if (!isReadOnly()) {
        QTextCursor cursor = textCursor();
        bool handled = true;
        if (event == QKeySequence::InsertParagraphSeparator) {
            cursor.insertBlock(QTextBlockFormat());  // a line break: the new line continues nothing
        } else if (event->key() == Qt::Key_Backspace && !cursor.hasSelection() && cursor.atBlockStart()
                   && continuesLine(cursor.block())) {
            // Across a cut the keys act on the line's characters, as across a wrapped line.
            cursor.movePosition(QTextCursor::PreviousCharacter);
            cursor.deletePreviousChar();
        } else if (event == QKeySequence::Delete && !cursor.hasSelection() && cursor.atBlockEnd()
                   && continuesLine(cursor.block().next())) {
            cursor.movePosition(QTextCursor::NextCharacter);
            cursor.deleteChar();
        } else {
            handled = false;
        }
        if (handled) {
            setTextCursor(cursor);
            ensureCursorVisible();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CheckerEditor::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source || !source->hasText())
        return;
    QTextCursor cursor = textCursor();
    insertFileText(cursor, source->text());
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData *CheckerEditor::createMimeDataFromSelection() const
{
    // The copy holds the line breaks of the file, none at a cut.
    auto *data = new QMimeData;
    const QTextCursor cursor = textCursor();
    data->setText(fileText(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

void CheckerEditor::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    restoreLineCounts();
}

void CheckerEditor::restoreLineCounts()
{
    // The plain-text layout counts a paragraph it has not laid out yet as one line, which
    // would make the scroll bar cover paragraphs, not lines. Without wrapping a paragraph's
    // lines are known from its text, so they are counted here until it is laid out.
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (block.layout()->lineCount() == 0)
            block.setLineCount(int(block.text().count(QChar::LineSeparator)) + 1);
    }
    QAbstractTextDocumentLayout *layout = document()->documentLayout();
    Q_EMIT layout->documentSizeChanged(layout->documentSize());
}

} // namespace nikra
