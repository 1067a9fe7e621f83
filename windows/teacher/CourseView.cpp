#include "windows/teacher/CourseView.h"

#include "ui_CourseView.h"

#include "platform/Boxes.h"
#include "platform/chart/BarChartView.h"
#include "print/StudentPdf.h"
#include "print/TrendChart.h"
#include "teacher/SummaryTable.h"
#include "windows/teacher/ClassFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>

namespace {

constexpr int kSortRole = Qt::UserRole + 1;
constexpr int kFirstNameRole = Qt::UserRole + 2;
constexpr int kSecondNameRole = Qt::UserRole + 3;

// The filter finds a name typed without its accents or case: "lucia" finds «Lucía».
class NameFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setWanted(const QString& text) {
        wanted_ = PlainName(text);
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const QString name = sourceModel()->index(row, CAlumno, parent).data().toString();
        return wanted_.isEmpty() || PlainName(name).contains(wanted_);
    }

private:
    QString wanted_;
};

void fill(QStandardItemModel* model, const SummaryTable& table) {
    model->clear();
    model->setHorizontalHeaderLabels(table.headers);
    for (const QVariantList& cells : table.rows) {
        QList<QStandardItem*> row;
        for (const QVariant& value : cells) {
            auto* item = new QStandardItem(DisplayCell(value));
            item->setData(value, kSortRole);
            if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Double)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            row.append(item);
        }
        model->appendRow(row);
    }
}

} // namespace

CourseView::CourseView(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::CourseView>()),
      course_(new QStandardItemModel(this)), filter_(new NameFilter(this)),
      lessons_(new QStandardItemModel(this)) {
    ui->setupUi(this);
    // A term of many lessons makes a tall chart: its area scrolls.
    trend_ = new BarChartView(ui->ContenidoTendencia);
    trend_->setObjectName(QStringLiteral("GraficoTendencia"));
    ui->ContenidoTendencia->layout()->addWidget(trend_);
    trend_->hide();
    filter_->setSourceModel(course_);
    filter_->setSortRole(kSortRole);
    filter_->setSortCaseSensitivity(Qt::CaseInsensitive);
    filter_->setSortLocaleAware(true);
    ui->TablaCurso->setModel(filter_);
    ui->TablaCurso->verticalHeader()->hide();
    ui->TablaLecciones->setModel(lessons_);
    ui->TablaLecciones->verticalHeader()->hide();
    ui->Division->setStretchFactor(0, 1);
    ui->Division->setStretchFactor(1, 1);
    connect(ui->FiltroAlumno, &QLineEdit::textChanged, this, &CourseView::filterEdited);
    connect(ui->TablaCurso->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &CourseView::studentChanged);
    connect(ui->Parecidos, &QListWidget::currentRowChanged, this,
            [this](int row) { ui->BtUnir->setEnabled(row >= 0); });
    connect(ui->BtUnir, &QPushButton::clicked, this, &CourseView::joinClicked);
    connect(ui->BtSeparar, &QPushButton::clicked, this, &CourseView::separateClicked);
    connect(ui->BtArchivoAlumnos, &QPushButton::clicked, this, &CourseView::joinsFileClicked);
    connect(ui->BtInformeAlumno, &QPushButton::clicked, this, &CourseView::reportClicked);
}

CourseView::~CourseView() = default;

void CourseView::setSummary(const ClassSummary& summary, const StudentNames& names,
                            const QString& joinsPath, const QString& period) {
    names_ = names;
    joinsPath_ = joinsPath;
    period_ = period;
    students_ = CourseStudents(summary);
    ui->ArchivoAlumnos->setText(
        QStringLiteral("Uniones: %1").arg(QDir::toNativeSeparators(joinsPath)));
    const QString previous = chosen_;
    fill(course_, CourseMarksTable(students_));
    filter_->sort(-1);
    ui->TablaCurso->resizeColumnsToContents();

    QStringList shown;
    for (const CourseStudent& s : students_)
        shown.append(s.name);
    ui->Parecidos->clear();
    for (const LikelyMatch& match : LikelyMatches(shown)) {
        auto* item = new QListWidgetItem(
            QStringLiteral("«%1» y «%2»").arg(match.first, match.second), ui->Parecidos);
        item->setData(kFirstNameRole, match.first);
        item->setData(kSecondNameRole, match.second);
    }
    ui->BtUnir->setEnabled(false);
    chosen_.clear();
    chooseStudent(previous);
    showPage();
}

void CourseView::chooseStudent(const QString& name) {
    const QString id = name.toCaseFolded();
    for (int r = 0; r < filter_->rowCount(); ++r) {
        const QModelIndex index = filter_->index(r, CAlumno);
        if (index.data().toString().toCaseFolded() == id) {
            ui->TablaCurso->setCurrentIndex(index);
            return;
        }
    }
}

void CourseView::filterEdited() {
    static_cast<NameFilter*>(filter_)->setWanted(ui->FiltroAlumno->text());
}

void CourseView::studentChanged() {
    const QModelIndex current = ui->TablaCurso->currentIndex();
    chosen_ = current.isValid() ? current.siblingAtColumn(CAlumno).data().toString() : QString();
    showPage();
}

void CourseView::showPage() {
    const CourseStudent* student = FindCourseStudent(students_, chosen_);
    ui->BtInformeAlumno->setEnabled(student);
    bool joined = false;
    for (const QString& to : names_.joins())
        joined = joined || to.toCaseFolded() == chosen_.toCaseFolded();
    ui->BtSeparar->setEnabled(student && joined);
    if (!student) {
        ui->NombreAlumno->setText(QStringLiteral("Elija un alumno en la tabla."));
        lessons_->clear();
        ui->PorRetomar->clear();
        trend_->hide();
        return;
    }
    ui->NombreAlumno->setText(
        QStringLiteral("<b>%1</b>: %2")
            .arg(student->name.toHtmlEscaped(), StudentLine(*student).toHtmlEscaped()));
    fill(lessons_, StudentPageTable(*student));
    ui->TablaLecciones->resizeColumnsToContents();
    ui->TablaLecciones->resizeRowsToContents();
    ui->PorRetomar->setPlainText(ToTakeUpAgain(*student).join(u'\n'));
    trend_->setChart(TrendChart(*student));
    trend_->show();
}

void CourseView::saveJoins(const StudentNames& names) {
    QString failure;
    if (!names.save(joinsPath_, failure))
        return Boxes::error(failure);
    names_ = names;
    emit joinsChanged(names_, joinsPath_);
}

void CourseView::joinClicked() {
    const QListWidgetItem* item = ui->Parecidos->currentItem();
    if (!item)
        return;
    const QString first = item->data(kFirstNameRole).toString();
    const QString second = item->data(kSecondNameRole).toString();
    QString name = first;
    if (!Boxes::input(
            QStringLiteral("Unir en un alumno"),
            QStringLiteral("«%1» y «%2» son el mismo alumno. Su nombre:").arg(first, second),
            name) ||
        name.trimmed().isEmpty())
        return;
    StudentNames names = names_;
    names.join(first, name);
    names.join(second, name);
    chosen_ = name.trimmed();
    saveJoins(names);
}

void CourseView::separateClicked() {
    StudentNames names = names_;
    names.separate(chosen_);
    saveJoins(names);
}

void CourseView::joinsFileClicked() {
    QString path = joinsPath_;
    if (!Boxes::saveFile(QStringLiteral("Archivo de uniones de nombres"),
                         QStringLiteral("Nombres de los alumnos|*.ini"), path))
        return;
    if (!path.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive))
        path += QStringLiteral(".ini");
    // A file that already holds joins is read; a new one starts with those shown now.
    StudentNames names = names_;
    QString failure;
    if (QFileInfo::exists(path) && !names.load(path, failure))
        return Boxes::error(failure);
    joinsPath_ = path;
    if (!QFileInfo::exists(path))
        return saveJoins(names);
    names_ = names;
    emit joinsChanged(names_, joinsPath_);
}

void CourseView::reportClicked() {
    const CourseStudent* student = FindCourseStudent(students_, chosen_);
    if (!student)
        return;
    // The class's folder is where the joins' file lives.
    QString path =
        QDir(ExportFolder(QFileInfo(joinsPath_).path())).filePath(ReportFileName(student->name));
    if (!Boxes::saveFile(QStringLiteral("Informe del alumno"), QStringLiteral("Informe PDF|*.pdf"),
                         path))
        return;
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive))
        path += QStringLiteral(".pdf");
    RememberExportFolder(QFileInfo(path).path());
    QString failure;
    if (!WriteStudentPdf(*student, period_, path, failure))
        return Boxes::error(failure);
    ui->NombreAlumno->setText(QStringLiteral("Informe de %1 guardado en %2.")
                                  .arg(student->name, QDir::toNativeSeparators(path)));
}
