#pragma once

#include <QHash>
#include <QObject>

#include <functional>

class QTableView;

// The columns a table shows: the less-used ones hidden at first, each offered by a right click on
// the header, the teacher's choice kept while the window is open (a table filled again keeps it).
class ColumnChoice : public QObject {
    Q_OBJECT
public:
    // hiddenAtFirst(column) says which columns start hidden; never(column) which are not offered.
    ColumnChoice(QTableView* table, std::function<bool(int)> hiddenAtFirst,
                 std::function<bool(int)> never);

    // Hides and shows the columns as chosen; call after the table's model is filled.
    void apply();
    // Shows or hides a column, as the header's menu does.
    void setShown(int column, bool shown);

private:
    void offerMenu(const QPoint& at);
    bool shown(int column) const;

    QTableView* table_;
    std::function<bool(int)> hiddenAtFirst_;
    std::function<bool(int)> never_;
    QHash<int, bool> chosen_; // column: shown, for the columns the teacher chose
};
