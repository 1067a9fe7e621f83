#pragma once

#include "teacher/CourseSummary.h"
#include "teacher/StudentNames.h"

#include <QWidget>

#include <memory>

namespace Ui {
class CourseView;
}
class BarChartView;
class QSortFilterProxyModel;
class QStandardItemModel;

// «Alumnos a lo largo del curso»: a row per student over every lesson read, a filter by name, the
// chosen student's page (lessons in time order, the trend of first attempts, the questions to
// take up again), the names that may be one student, and the student's printed report.
class CourseView : public QWidget {
    Q_OBJECT
public:
    explicit CourseView(QWidget* parent = nullptr);
    ~CourseView() override;

    // Shows the students of summary, whose names were joined by names, kept in joinsPath;
    // period names the dates read, for the family report (never the folder).
    void setSummary(const ClassSummary& summary, const StudentNames& names,
                    const QString& joinsPath, const QString& period);
    const QList<CourseStudent>& students() const { return students_; }
    // The student whose page is shown; empty when none is.
    QString chosenStudent() const { return chosen_; }
    void chooseStudent(const QString& name);

    // Joins the two names of the chosen likely match into one student, asking for its name.
    void joinClicked();
    void separateClicked();
    void joinsFileClicked();
    void reportClicked();

signals:
    // The joins or their file changed and are saved: the figures must be counted anew.
    void joinsChanged(const StudentNames& names, const QString& joinsPath);

private:
    void filterEdited();
    void studentChanged();
    void showPage();
    void saveJoins(const StudentNames& names);

    std::unique_ptr<Ui::CourseView> ui;
    QStandardItemModel* course_;
    QSortFilterProxyModel* filter_;
    QStandardItemModel* lessons_;
    BarChartView* trend_;
    QList<CourseStudent> students_;
    StudentNames names_;
    QString joinsPath_;
    QString period_;
    QString chosen_;
};
