#pragma once

#include <QListWidget>

// A list box whose click handler runs only when the student picks an item, by mouse or by keys,
// and also when the picked item was already selected. Selecting from the program runs nothing.
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
    void keyPressEvent(QKeyEvent* event) override;
};
