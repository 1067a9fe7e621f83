#pragma once

// What the teacher's window and command-line tests share.
#include "commandline/CommandLine.h"

#include <QAbstractItemModel>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <QTextStream>

// Runs the teacher's command line; gives what it printed, its output then its errors.
inline QString run(const QStringList& arguments, int& status) {
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    status = runCommandLine(arguments, outStream, errStream);
    return out + err;
}

// The visible cells of a table (all of them, hidden columns too, when all), a row per line, cells
// joined by "|".
inline QStringList cells(QTableView* view, bool all = false) {
    QStringList rows;
    const QAbstractItemModel* model = view->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c) {
            if (all || !view->isColumnHidden(c))
                row.append(model->index(r, c).data().toString());
        }
        rows.append(row.join(u'|'));
    }
    return rows;
}
