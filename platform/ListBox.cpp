#include "ListBox.h"

#include <QKeyEvent>
#include <QSignalBlocker>

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, &ListBox::clickedByStudent);
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
    if (selectedIndex() != before && selectedIndex() >= 0)
        emit clickedByStudent();
}
