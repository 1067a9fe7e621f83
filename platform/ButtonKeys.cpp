#include "ButtonKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

// Sees the keys a focused button leaves to its window.
class EnterPresser : public QObject {
public:
    explicit EnterPresser(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) || key->isAutoRepeat())
            return false;
        auto* button = qobject_cast<QPushButton*>(static_cast<QWidget*>(watched)->focusWidget());
        if (!button || !button->isEnabled() || !button->isVisible())
            return false;
        button->click();
        return true;
    }
};

} // namespace

void pressFocusedButtonOnEnter(QWidget* window) {
    new EnterPresser(window);
}
