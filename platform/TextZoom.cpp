#include "platform/TextZoom.h"

#include <QAbstractScrollArea>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The size a run of rich text was loaded with, kept beside its scaled size.
constexpr int kLoadedPoints = QTextFormat::UserProperty + 0x7a00;
const char* const kZoomed = "dorvaliaZoomed";

QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dorvalia"),
                     QStringLiteral("Dorvalia"));
}

// Every run that names its own size gets factor times the size it was loaded with.
void scaleRuns(QTextDocument* document, qreal factor) {
    struct Run {
        int start;
        int length;
        qreal loaded;
    };
    QList<Run> runs;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const qreal loaded = format.hasProperty(kLoadedPoints)
                                     ? format.doubleProperty(kLoadedPoints)
                                     : format.fontPointSize();
            if (loaded > 0)
                runs.append({fragment.position(), fragment.length(), loaded});
        }
    }
    if (runs.isEmpty())
        return;
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    for (const Run& run : runs) {
        QTextCharFormat change;
        change.setProperty(kLoadedPoints, run.loaded);
        change.setFontPointSize(run.loaded * factor);
        cursor.setPosition(run.start);
        cursor.setPosition(run.start + run.length, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(change);
    }
    cursor.endEditBlock();
}

QTextDocument* documentOf(QAbstractScrollArea* box) {
    if (auto* rich = qobject_cast<QTextEdit*>(box))
        return rich->document();
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        return plain->document();
    return nullptr;
}

} // namespace

TextZoom::TextZoom(QWidget* window, const QList<QAbstractScrollArea*>& boxes,
                   const QString& settingsKey)
    : QObject(window), key_(settingsKey) {
    for (QAbstractScrollArea* box : boxes) {
        boxes_.append({box, box->font().pointSizeF(), nullptr});
        // Ctrl with the wheel: the viewport gets the wheel, before the box's own zoom.
        box->viewport()->installEventFilter(this);
        if (auto* rich = qobject_cast<QTextEdit*>(box))
            connect(rich, &QTextEdit::textChanged, this, &TextZoom::applyWhereLoaded);
    }
    const auto bind = [this, window](const QKeySequence& keys, int delta) {
        auto* shortcut = new QShortcut(keys, window);
        connect(shortcut, &QShortcut::activated, this,
                [this, delta] { setPercent(delta == 0 ? 100 : percent_ + delta); });
    };
    bind(QKeySequence::ZoomIn, kStep);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Equal), kStep);
    bind(QKeySequence::ZoomOut, -kStep);
    bind(QKeySequence(Qt::CTRL | Qt::Key_0), 0);
    setPercent(settings().value(key_, 100).toInt());
}

void TextZoom::setPercent(int percent) {
    percent = std::clamp(percent, kMinimum, kMaximum);
    const bool changed = percent != percent_;
    percent_ = percent;
    for (Box& box : boxes_)
        if (changed || box.scaled != documentOf(box.widget))
            apply(box);
    if (changed)
        settings().setValue(key_, percent_);
}

void TextZoom::applyWhereLoaded() {
    if (applying_)
        return;
    // A read-only box changes its text only when a new one is loaded: every run of it is new.
    for (Box& box : boxes_)
        if (qobject_cast<QTextEdit*>(box.widget))
            apply(box);
}

void TextZoom::apply(Box& box) {
    if (!box.widget)
        return;
    QTextDocument* document = documentOf(box.widget);
    box.scaled = document;
    // Untouched at 100% until the student zooms: the window looks as it was designed.
    const bool touched = document && document->property(kZoomed).toBool();
    if (percent_ == 100 && !touched && box.widget->font().pointSizeF() == box.designedPoints)
        return;
    applying_ = true;
    const qreal factor = percent_ / 100.0;
    // The text at the top of the box stays at the top.
    auto* rich = qobject_cast<QTextEdit*>(box.widget);
    const int top = rich ? rich->cursorForPosition(QPoint(0, 0)).position() : -1;
    QFont font = box.widget->font();
    font.setPointSizeF(box.designedPoints * factor);
    box.widget->setFont(font);
    if (document)
        document->setProperty(kZoomed, true);
    if (rich && document) {
        scaleRuns(document, factor);
        QTextCursor at(document);
        at.setPosition(top);
        QScrollBar* bar = rich->verticalScrollBar();
        bar->setValue(bar->value() + rich->cursorRect(at).top());
    }
    applying_ = false;
}

bool TextZoom::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            if (delta != 0)
                setPercent(percent_ + (delta > 0 ? kStep : -kStep));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
