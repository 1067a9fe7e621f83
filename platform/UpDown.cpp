#include "platform/UpDown.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
int clamp16(int v) {
    return std::clamp(v, -32768, 32767);
}
} // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setObjectName(QStringLiteral("up"));
    up_->setArrowType(Qt::UpArrow);
    down_ = new QToolButton(this);
    down_->setObjectName(QStringLiteral("down"));
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        layout->addWidget(b);
    }
    setArrowNames(QStringLiteral("Aumentar"), QStringLiteral("Disminuir"));
    connect(up_, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(down_, &QToolButton::clicked, this, &UpDown::stepDown);
}

void UpDown::setBuddy(QLineEdit* edit) {
    if (edit_)
        edit_->removeEventFilter(this);
    edit_ = edit;
    if (edit_)
        edit_->installEventFilter(this);
}

void UpDown::setArrowNames(const QString& up, const QString& down) {
    up_->setAccessibleName(up);
    down_->setAccessibleName(down);
}

void UpDown::setMinimum(int minimum) {
    min_ = clamp16(minimum);
}

void UpDown::setMaximum(int maximum) {
    max_ = clamp16(maximum);
}

bool UpDown::editHoldsPosition() const {
    if (!edit_)
        return true;
    bool ok = false;
    const int n = edit_->text().trimmed().toInt(&ok);
    return ok && n >= std::min(min_, max_) && n <= std::max(min_, max_);
}

int UpDown::position() const {
    if (edit_ && editHoldsPosition())
        pos_ = edit_->text().trimmed().toInt();
    return pos_;
}

void UpDown::setPosition(int position) {
    const int p = std::clamp(clamp16(position), std::min(min_, max_), std::max(min_, max_));
    if (p == this->position())
        return;
    pos_ = p;
    if (edit_)
        edit_->setText(QString::number(p));
}

void UpDown::stepUp() {
    step(+1);
}

void UpDown::stepDown() {
    step(-1);
}

void UpDown::step(int delta) {
    if (!isEnabled())
        return;
    const int p = position();
    int next = p + delta;
    if (delta > 0 && p >= max_)
        next = min_;
    else if (delta < 0 && p <= min_)
        next = max_;
    setPosition(next);
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            key == Qt::Key_Up ? stepUp() : stepDown();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        up_->setEnabled(isEnabled());
        down_->setEnabled(isEnabled());
    }
    QWidget::changeEvent(event);
}
