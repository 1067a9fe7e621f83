#pragma once

#include <QListWidget>

// A list box whose click handler runs only when the student picks an item, with the left mouse
// button or by keys, and also when the picked item was already selected. Selecting from the
// program runs nothing, and so do the other mouse buttons. Whatever the gesture (a press, a drag
// from one item to another, a release, keys, Ctrl or Shift with a click), the handler runs once,
// when the gesture ends, for the item then selected; a selected item is never deselected by the
// student.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    // -1 when no item is selected.
    int selectedIndex() const;
    void select(int index);

signals:
    void clickedByStudent();

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Runs the handler when a gesture that began with the selection at before ended with an item
    // selected that differs, or when the student released on the selected item itself.
    void gestureEnded(int before, bool onSelected);

    bool pressing_ = false;
    int pressedWith_ = -1;
};
