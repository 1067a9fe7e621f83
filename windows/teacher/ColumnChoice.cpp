#include "windows/teacher/ColumnChoice.h"

#include <QHeaderView>
#include <QMenu>
#include <QTableView>

ColumnChoice::ColumnChoice(QTableView* table, std::function<bool(int)> hiddenAtFirst,
                           std::function<bool(int)> never)
    : QObject(table), table_(table), hiddenAtFirst_(std::move(hiddenAtFirst)),
      never_(std::move(never)) {
    QHeaderView* header = table->horizontalHeader();
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    header->setToolTip(QStringLiteral("Clic derecho para mostrar u ocultar columnas."));
    connect(header, &QHeaderView::customContextMenuRequested, this, &ColumnChoice::offerMenu);
}

bool ColumnChoice::shown(int column) const {
    if (never_(column))
        return false;
    return chosen_.value(column, !hiddenAtFirst_(column));
}

void ColumnChoice::apply() {
    const int columns = table_->model() ? table_->model()->columnCount() : 0;
    for (int c = 0; c < columns; ++c)
        table_->setColumnHidden(c, !shown(c));
}

void ColumnChoice::setShown(int column, bool shown) {
    chosen_.insert(column, shown);
    table_->setColumnHidden(column, !shown);
    if (shown)
        table_->resizeColumnToContents(column);
}

void ColumnChoice::offerMenu(const QPoint& at) {
    QAbstractItemModel* model = table_->model();
    if (!model)
        return;
    QMenu menu(table_);
    QHeaderView* header = table_->horizontalHeader();
    // In the order the header shows them.
    for (int v = 0; v < header->count(); ++v) {
        const int c = header->logicalIndex(v);
        if (never_(c))
            continue;
        QAction* action = menu.addAction(model->headerData(c, Qt::Horizontal).toString());
        action->setCheckable(true);
        action->setChecked(shown(c));
        connect(action, &QAction::toggled, this, [this, c](bool on) { setShown(c, on); });
    }
    menu.exec(header->mapToGlobal(at));
}
