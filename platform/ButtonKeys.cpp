#include "platform/ButtonKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// Sees the keys a focused button leaves to its window.
//
// A key held down presses its button once. What counts as held is what this window saw: a press
// here and no release since. The toolkit's own repeat flag is not enough on Windows, where it
// means "no release was seen since the last press" anywhere: a release that went to a window
// closing at that moment (the name prompt's Enter) leaves the next real press flagged as a repeat.
class EnterPresser : public QObject {
public:
    explicit EnterPresser(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (isEnter(key) && !key->isAutoRepeat())
                held_ = false;
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!isEnter(key) || (key->isAutoRepeat() && held_))
            return false;
        held_ = true;
        auto* button = qobject_cast<QPushButton*>(static_cast<QWidget*>(watched)->focusWidget());
        if (!button || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }

private:
    bool held_ = false;
};

} // namespace

void pressFocusedButtonOnEnter(QWidget* window) {
    new EnterPresser(window);
}
