#include "windows/teacher/editor/KeyTextSync.h"

#include "teacher/editor/KeyDocument.h"

#include <QPlainTextEdit>
#include <QTextBlock>

QStringList textLines(const QString& text) {
    if (text.isEmpty())
        return {};
    return text.split(u'\n');
}

KeyTextSync::KeyTextSync(KeyDocument* document, QPlainTextEdit* editor)
    : QObject(editor), document_(document), editor_(editor) {
    // The model's undo stack undoes the text's changes too.
    editor_->setUndoRedoEnabled(false);
    connect(document_, &KeyDocument::changed, this, &KeyTextSync::modelChanged);
    connect(document_, &KeyDocument::reset, this, &KeyTextSync::reload);
    connect(editor_, &QPlainTextEdit::textChanged, this, &KeyTextSync::textChanged);
}

void KeyTextSync::reload() {
    writing_ = true;
    editor_->setPlainText(document_->lines().join(u'\n'));
    writing_ = false;
}

void KeyTextSync::textChanged() {
    if (writing_)
        return;
    typing_ = true;
    document_->setLines(textLines(editor_->toPlainText()));
    typing_ = false;
}

void KeyTextSync::modelChanged() {
    if (typing_)
        return;
    QTextDocument* text = editor_->document();
    const QStringList shown = textLines(editor_->toPlainText());
    const std::optional<LineEdit> change = KeyEdits::difference(shown, document_->lines());
    if (!change)
        return;
    writing_ = true;
    QTextCursor cursor(text);
    cursor.beginEditBlock();
    const QString inserted = change->inserted.join(u'\n');
    const int blocks = int(shown.size());
    if (blocks == 0) {
        cursor.insertText(inserted);
    } else if (change->removed > 0) {
        const int last = change->start + change->removed - 1;
        cursor.setPosition(text->findBlockByNumber(change->start).position());
        const QTextBlock lastBlock = text->findBlockByNumber(last);
        cursor.setPosition(lastBlock.position() + lastBlock.length() - 1, QTextCursor::KeepAnchor);
        if (change->inserted.isEmpty()) {
            // The lines go with one line break: the one after them, or before them at the end.
            if (last + 1 < blocks)
                cursor.setPosition(text->findBlockByNumber(last + 1).position(),
                                   QTextCursor::KeepAnchor);
            else if (change->start > 0) {
                const QTextBlock before = text->findBlockByNumber(change->start - 1);
                const int end = cursor.position();
                cursor.setPosition(before.position() + before.length() - 1);
                cursor.setPosition(end, QTextCursor::KeepAnchor);
            }
            cursor.removeSelectedText();
        } else {
            cursor.insertText(inserted);
        }
    } else if (change->start < blocks) {
        cursor.setPosition(text->findBlockByNumber(change->start).position());
        cursor.insertText(inserted + u'\n');
    } else {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(u'\n' + inserted);
    }
    cursor.endEditBlock();
    writing_ = false;
}
