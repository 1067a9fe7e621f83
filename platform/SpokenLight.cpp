#include "platform/SpokenLight.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>

namespace {

using Selections = QList<QTextEdit::ExtraSelection>;

QTextEdit::ExtraSelection lit(QTextDocument* document, int start, int end, const QColor& colour) {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(document);
    selection.cursor.setPosition(start);
    selection.cursor.setPosition(end, QTextCursor::KeepAnchor);
    selection.format.setBackground(colour);
    return selection;
}

// Brings the rectangle into the viewport, a third of the way down, when it is not wholly in it.
void follow(QAbstractScrollArea* box, const QRect& word) {
    const QRect view = box->viewport()->rect();
    if (view.contains(word))
        return;
    QScrollBar* bar = box->verticalScrollBar();
    bar->setValue(bar->value() + word.top() - view.height() / 3);
}

template <typename Box> void lightIn(Box* box, int word0, int word1, int sentence0, int sentence1) {
    QTextDocument* document = box->document();
    const int size = document->characterCount() - 1;
    auto clamp = [size](int p) { return std::clamp(p, 0, std::max(size, 0)); };
    // Strong enough to see at a glance, light enough for black text on it; the sentence's tint
    // only tells where the reading is.
    const Selections selections{
        lit(document, clamp(sentence0), clamp(sentence1), QColor(0xff, 0xf6, 0xcc)),
        lit(document, clamp(word0), clamp(word1), QColor(0xff, 0xd5, 0x4f))};
    box->setExtraSelections(selections);
    QTextCursor at(document);
    at.setPosition(clamp(word1));
    const QRect end = box->cursorRect(at);
    at.setPosition(clamp(word0));
    follow(box, box->cursorRect(at).united(end));
}

} // namespace

namespace SpokenLight {

void light(QAbstractScrollArea* box, int wordStart, int wordEnd, int sentenceStart,
           int sentenceEnd) {
    if (auto* rich = qobject_cast<QTextEdit*>(box))
        lightIn(rich, wordStart, wordEnd, sentenceStart, sentenceEnd);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        lightIn(plain, wordStart, wordEnd, sentenceStart, sentenceEnd);
}

void clear(QAbstractScrollArea* box) {
    if (auto* rich = qobject_cast<QTextEdit*>(box))
        rich->setExtraSelections({});
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        plain->setExtraSelections({});
}

} // namespace SpokenLight
