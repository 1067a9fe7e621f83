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
    QListWidget::keyPressEvent(event);
    if (selectedIndex() != before && selectedIndex() >= 0)
        emit clickedByStudent();
}
