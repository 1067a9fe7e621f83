#pragma once

#include "teacher/ClassSummary.h"
#include "teacher/SummaryCsv.h"

#include <QFutureWatcher>
#include <QWidget>

#include <functional>
#include <memory>

namespace Ui {
class ClassResultsView;
}
class ColumnChoice;
class CourseView;
class QuestionDetail;
class QStandardItemModel;
struct SummaryTable;

// The tab of the class's results: reads a folder of registers in the background, with a
// progress bar, and shows per lesson the questions, the students, two charts and the lines that
// could not be read; exports them as a workbook, CSV files or a printable report.
class ClassResultsView : public QWidget {
    Q_OBJECT
public:
    explicit ClassResultsView(QWidget* parent = nullptr);
    ~ClassResultsView() override;

    // Reads the folder (as typed in "Carpeta") with the subfolder and date choices shown.
    void readClicked();
    void restoreClicked();
    // Reads the folder read last time, as the program starts; nothing when there is none.
    void readLastFolder();
    void chooseFolderClicked();
    void exportWorkbookClicked();
    void exportCsvClicked();
    // The same CSV files for a Spanish Excel: semicolons and decimal commas.
    void exportExcelCsvClicked();
    void exportPdfClicked();

    bool reading() const { return watcher_.isRunning(); }
    const ClassSummary& summary() const { return summary_; }
    CourseView* courseView() const { return course_; }
    // The detail of a question of the lesson shown (by its section's and its own number), in a
    // window of its own; null when the lesson has no such question.
    QuestionDetail* showQuestionDetail(int section, int question);

signals:
    // A reading has ended and its results are shown.
    void summaryShown();
    // The teacher asked for a question in the key of the lesson whose reading is readingPath.
    void keyQuestionWanted(const QString& readingPath, int section, int question);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The class's folder last published to or read, in «Carpeta».
    void offerLastFolder();
    // Reads folder in the background with the names joined as names_ says.
    void read(const QString& folder);
    void namesJoined(const StudentNames& names, const QString& joinsPath);
    void showSummary();
    void lessonChanged();
    void dateFilterToggled();
    void fillModel(QStandardItemModel* model, const SummaryTable& table);
    void showMarks();
    void questionActivated(const QModelIndex& index);
    QString heading() const;
    void exportCsv(CsvStyle style);
    // Asks where to save a file with the save dialog, then writes it; saved names it when done.
    void exportFile(const QString& caption, const QString& filter, const QString& suffix,
                    const QString& saved,
                    const std::function<bool(const QString&, QString&)>& write);

    std::unique_ptr<Ui::ClassResultsView> ui;
    QFutureWatcher<ClassSummary> watcher_;
    ClassSummary summary_;
    QString folder_;
    QDate from_, to_;
    QStandardItemModel* questions_;
    QStandardItemModel* students_;
    CourseView* course_;
    StudentNames names_;
    // The joins' file: alumnos.ini in the folder read, unless the teacher chose another.
    QString joinsPath_;
    bool joinsChosen_ = false;
    ColumnChoice* questionColumns_;
    ColumnChoice* studentColumns_;
    QString offered_; // the folder «Carpeta» was given as the last one
};
