#include "platform/SpokenLight.h"

#include "platform/LightSchemes.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextEdit>

namespace {

using Selections = QList<QTextEdit::ExtraSelection>;

QTextEdit::ExtraSelection lit(QTextDocument* document, Span span, const QColor& background,
                              const QColor& text) {
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(document);
    selection.cursor.setPosition(span.start);
    selection.cursor.setPosition(span.end, QTextCursor::KeepAnchor);
    selection.format.setBackground(background);
    selection.format.setForeground(text);
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

template <typename Box> QRect rectOf(Box* box, Span span) {
    QTextCursor at(box->document());
    at.setPosition(span.end);
    const QRect end = box->cursorRect(at);
    at.setPosition(span.start);
    return box->cursorRect(at).united(end);
}

template <typename Box> Span clamped(Box* box, Span span) {
    const int size = std::max(box->document()->characterCount() - 1, 0);
    return {std::clamp(span.start, 0, size), std::clamp(span.end, 0, size)};
}

template <typename Box> void lightIn(Box* box, const SpokenLight::Lit& at, const LightScheme& s) {
    QTextDocument* document = box->document();
    const Span word = clamped(box, at.word);
    Selections selections{lit(document, clamped(box, at.sentence), s.tint, s.text)};
    if (at.syllable.length() > 0) {
        QTextEdit::ExtraSelection whole = lit(document, word, s.tint, s.text);
        whole.format.setFontUnderline(true);
        selections.append(whole);
        selections.append(lit(document, clamped(box, at.syllable), s.word, s.wordText));
    } else {
        selections.append(lit(document, word, s.word, s.wordText));
    }
    box->setExtraSelections(selections);
    follow(box, rectOf(box, word));
}

// Shades the box but for a band of lines; it lies over the viewport without taking its clicks.
class Ruler : public QWidget {
public:
    explicit Ruler(QAbstractScrollArea* box) : QWidget(box), box_(box) {
        setObjectName(QStringLiteral("ReglaDeLectura"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        connect(box->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { place(); });
    }
    void show(Span lines) {
        lines_ = lines;
        place();
        QWidget::show();
        raise();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor shade(0, 0, 0, 120);
        painter.fillRect(QRect(0, 0, width(), band_.top()), shade);
        painter.fillRect(QRect(0, band_.bottom() + 1, width(), height() - band_.bottom() - 1),
                         shade);
    }

private:
    void place() {
        setGeometry(box_->viewport()->geometry());
        QRect band;
        if (auto* rich = qobject_cast<QTextEdit*>(box_))
            band = rectOf(rich, clamped(rich, lines_));
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(box_))
            band = rectOf(plain, clamped(plain, lines_));
        band_ = QRect(0, band.top() - 2, width(), band.height() + 4);
        update();
    }
    QAbstractScrollArea* box_;
    Span lines_;
    QRect band_;
};

Ruler* rulerOf(QAbstractScrollArea* box) {
    return box->findChild<Ruler*>(QStringLiteral("ReglaDeLectura"), Qt::FindDirectChildrenOnly);
}

} // namespace

namespace SpokenLight {

void light(QAbstractScrollArea* box, const Lit& lit, const LightScheme& scheme) {
    if (auto* rich = qobject_cast<QTextEdit*>(box))
        lightIn(rich, lit, scheme);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        lightIn(plain, lit, scheme);
}

void clear(QAbstractScrollArea* box) {
    if (auto* rich = qobject_cast<QTextEdit*>(box))
        rich->setExtraSelections({});
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        plain->setExtraSelections({});
    ruler(box, {});
}

void ruler(QAbstractScrollArea* box, Span lines) {
    Ruler* shown = rulerOf(box);
    if (lines.length() <= 0) {
        if (shown)
            shown->hide();
        return;
    }
    if (!shown)
        shown = new Ruler(box);
    shown->show(lines);
}

} // namespace SpokenLight
