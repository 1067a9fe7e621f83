#include "platform/ListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

int ListBox::selectedIndex() const {
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : row(items.first());
}

void ListBox::select(int index) {
    const QSignalBlocker blocker(this);
    if (index < 0 || index >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return;
    }
    setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const {
    QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    // Ctrl with a click or with Space would deselect the chosen section and leave none.
    if (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        flags = QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    return flags;
}

void ListBox::gestureEnded(int before, bool onSelected) {
    const int now = selectedIndex();
    if (now < 0) {
        // Nothing the student does leaves the list without a section once one was chosen.
        if (before >= 0)
            select(before);
        return;
    }
    if (now != before || onSelected)
        emit clickedByStudent();
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const int before = selectedIndex();
    // With nothing selected the arrow keys pick the first item, not the one after the item that
    // merely holds the keyboard focus.
    if (before < 0 && count() > 0 && (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
        setCurrentRow(0, QItemSelectionModel::ClearAndSelect);
        emit clickedByStudent();
        return;
    }
    QListWidget::keyPressEvent(event);
    if (!pressing_)
        gestureEnded(before, false);
}

// Only the left button chooses: the item view would select on a press of any button (a right
// click meant for a menu, a middle click), and the others leave the list as it is.
void ListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressing_ = true;
    pressedWith_ = selectedIndex();
    QListWidget::mousePressEvent(event);
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    QListWidget::mouseReleaseEvent(event);
    if (!pressing_)
        return;
    pressing_ = false;
    const QListWidgetItem* under = itemAt(event->position().toPoint());
    gestureEnded(pressedWith_, under && row(under) == selectedIndex());
}
