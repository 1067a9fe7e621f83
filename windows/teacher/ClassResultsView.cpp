#include "windows/teacher/ClassResultsView.h"

#include "ui_ClassResultsView.h"

#include "lesson/LessonFiles.h"
#include "lesson/RegisterName.h"
#include "platform/Boxes.h"
#include "platform/chart/BarChartView.h"
#include "platform/core/Clock.h"
#include "print/FlagColour.h"
#include "print/ResultsCharts.h"
#include "print/SummaryPdf.h"
#include "teacher/DecimalCell.h"
#include "teacher/SummaryCsv.h"
#include "teacher/SummaryTable.h"
#include "teacher/SummaryXlsx.h"
#include "teacher/VisitCopies.h"
#include "windows/teacher/ClassFolder.h"
#include "windows/teacher/ColumnChoice.h"
#include "windows/teacher/CourseView.h"
#include "windows/teacher/QuestionDetail.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QPromise>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

// Sorting follows the numbers, not their Spanish text.
constexpr int kSortRole = Qt::UserRole + 1;

QTableView* prepare(QTableView* view, QStandardItemModel* model) {
    auto* proxy = new QSortFilterProxyModel(view);
    proxy->setSourceModel(model);
    proxy->setSortRole(kSortRole);
    proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    view->setModel(proxy);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view->verticalHeader()->hide();
    return view;
}

// The chosen file with its extension, when the dialog left it out.
QString withSuffix(QString path, const QString& suffix) {
    if (!path.endsWith(suffix, Qt::CaseInsensitive))
        path += suffix;
    return path;
}

// The questions' columns a teacher looks at first; the rest wait in the header's menu, so that
// the table fits a 1366-pixel screen with «Aviso» in sight.
bool questionHiddenAtFirst(int column) {
    return column == QCorrectasPrimer || column == QVecesElegida || column == QTextoIncorrecta ||
           column == QRespuestasAceptadas || column >= QFirstShare;
}

bool studentHiddenAtFirst(int column) {
    return column == SRespuestasAceptadas || column == SCorrectas || column == SIncorrectas ||
           column == SPendientes;
}

// A question's text, or a wrong answer's, wraps no row: its column stops at this width.
constexpr int kWidestTextColumn = 280;

} // namespace

ClassResultsView::ClassResultsView(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::ClassResultsView>()),
      questions_(new QStandardItemModel(this)), students_(new QStandardItemModel(this)) {
    ui->setupUi(this);
    course_ = new CourseView(ui->PestanaCurso);
    ui->PestanaCurso->layout()->addWidget(course_);
    connect(course_, &CourseView::joinsChanged, this, &ClassResultsView::namesJoined);
    prepare(ui->TablaCuestiones, questions_);
    prepare(ui->TablaAlumnos, students_);
    // The lesson is chosen above: its column would repeat it on every row.
    questionColumns_ = new ColumnChoice(ui->TablaCuestiones, questionHiddenAtFirst,
                                        [](int column) { return column == QLeccion; });
    studentColumns_ = new ColumnChoice(ui->TablaAlumnos, studentHiddenAtFirst,
                                       [](int column) { return column == SLeccion; });
    // Nothing is counted before a reading starts.
    ui->Progreso->hide();
    const QDate today = Clock::today();
    ui->Desde->setDate(today.addDays(-7));
    ui->Hasta->setDate(today);
    offerLastFolder();
    connect(ui->BtLeer, &QPushButton::clicked, this, &ClassResultsView::readClicked);
    connect(ui->BtRestaurar, &QPushButton::clicked, this, &ClassResultsView::restoreClicked);
    connect(ui->Carpeta, &QLineEdit::returnPressed, this, &ClassResultsView::readClicked);
    connect(ui->BtElegirCarpeta, &QPushButton::clicked, this,
            &ClassResultsView::chooseFolderClicked);
    connect(ui->BtExportarXlsx, &QPushButton::clicked, this,
            &ClassResultsView::exportWorkbookClicked);
    connect(ui->BtExportarCsv, &QPushButton::clicked, this, &ClassResultsView::exportCsvClicked);
    connect(ui->BtExportarCsvExcel, &QPushButton::clicked, this,
            &ClassResultsView::exportExcelCsvClicked);
    connect(ui->BtExportarPdf, &QPushButton::clicked, this, &ClassResultsView::exportPdfClicked);
    connect(ui->FiltrarFechas, &QCheckBox::toggled, this, &ClassResultsView::dateFilterToggled);
    connect(ui->Leccion, &QComboBox::currentIndexChanged, this, &ClassResultsView::lessonChanged);
    connect(ui->TablaCuestiones, &QTableView::activated, this,
            &ClassResultsView::questionActivated);
    connect(&watcher_, &QFutureWatcher<ClassSummary>::progressRangeChanged, ui->Progreso,
            &QProgressBar::setRange);
    connect(&watcher_, &QFutureWatcher<ClassSummary>::progressValueChanged, ui->Progreso,
            &QProgressBar::setValue);
    connect(&watcher_, &QFutureWatcher<ClassSummary>::finished, this,
            &ClassResultsView::showSummary);
}

ClassResultsView::~ClassResultsView() {
    // The reading works on its own copies; it only has to end before the watcher goes.
    watcher_.waitForFinished();
}

void ClassResultsView::dateFilterToggled() {
    ui->Desde->setEnabled(ui->FiltrarFechas->isChecked());
    ui->Hasta->setEnabled(ui->FiltrarFechas->isChecked());
}

void ClassResultsView::chooseFolderClicked() {
    QString folder = ui->Carpeta->text();
    if (!Boxes::chooseFolder(QStringLiteral("Carpeta de los registros"), folder))
        return;
    ui->Carpeta->setText(QDir::toNativeSeparators(folder));
    readClicked();
}

void ClassResultsView::readClicked() {
    if (reading())
        return;
    const QString folder = QDir::fromNativeSeparators(ui->Carpeta->text().trimmed());
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        Boxes::message(QStringLiteral("No existe la carpeta «%1».").arg(ui->Carpeta->text()));
        return;
    }
    if (!joinsChosen_)
        joinsPath_ = QDir(folder).filePath(kJoinsFileName);
    QString failure;
    if (!names_.load(joinsPath_, failure))
        Boxes::error(failure);
    read(folder);
}

void ClassResultsView::restoreClicked() {
    if (reading())
        return;
    QStringList failures;
    const int restored = RestoreMissingVisits(folder_, ui->Subcarpetas->isChecked(), failures);
    Boxes::message(QStringLiteral("Visitas restauradas: %1.").arg(restored));
    for (const QString& failure : failures)
        Boxes::error(failure);
    read(folder_);
}

void ClassResultsView::namesJoined(const StudentNames& names, const QString& joinsPath) {
    names_ = names;
    joinsChosen_ = joinsChosen_ || joinsPath != QDir(folder_).filePath(kJoinsFileName);
    joinsPath_ = joinsPath;
    if (!reading())
        read(folder_);
}

void ClassResultsView::readLastFolder() {
    const QString folder = QDir::fromNativeSeparators(ui->Carpeta->text().trimmed());
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        readClicked();
}

void ClassResultsView::offerLastFolder() {
    offered_ = QDir::toNativeSeparators(LastClassFolder());
    ui->Carpeta->setText(offered_);
}

void ClassResultsView::showEvent(QShowEvent* event) {
    // A class's folder published to since, while nothing was read or typed, is offered now.
    if (folder_.isEmpty() && !reading() && ui->Carpeta->text() == offered_)
        offerLastFolder();
    QWidget::showEvent(event);
}

void ClassResultsView::read(const QString& folder) {
    folder_ = folder;
    RememberClassFolder(folder);
    ui->Progreso->show();
    const bool dated = ui->FiltrarFechas->isChecked();
    from_ = dated ? ui->Desde->date() : QDate();
    to_ = dated ? ui->Hasta->date() : QDate();
    const bool subfolders = ui->Subcarpetas->isChecked();
    ui->BtLeer->setEnabled(false);
    ui->Progreso->setRange(0, 0);
    ui->Estado->setText(QStringLiteral("Leyendo los registros…"));
    const QDate from = from_, to = to_;
    const StudentNames names = names_;
    watcher_.setFuture(
        QtConcurrent::run([folder, subfolders, from, to, names](QPromise<ClassSummary>& promise) {
            promise.addResult(SummarizeFolder(
                folder, subfolders, from, to,
                [&promise](int done, int total) {
                    promise.setProgressRange(0, total);
                    promise.setProgressValue(done);
                },
                names));
        }));
}

void ClassResultsView::showSummary() {
    ui->BtLeer->setEnabled(true);
    if (watcher_.future().resultCount() == 0)
        return;
    summary_ = watcher_.result();
    // A folder without registers leaves the bar empty rather than busy.
    ui->Progreso->setRange(0, std::max(1, summary_.registersFound));
    ui->Progreso->setValue(summary_.registersFound);
    const QString previous = ui->Leccion->currentText();
    {
        const QSignalBlocker quiet(ui->Leccion);
        ui->Leccion->clear();
        for (const LessonSummary& lesson : summary_.lessons)
            ui->Leccion->addItem(lesson.name);
        ui->Leccion->setCurrentIndex(std::max(0, ui->Leccion->findText(previous)));
    }
    const QList<RegisterProblem> warnings = AllWarnings(summary_);
    QStringList lines;
    for (const RegisterProblem& problem : warnings)
        lines.append(ProblemLine(problem));
    ui->Avisos->setPlainText(lines.join(u'\n'));
    ui->Vistas->setTabText(ui->Vistas->indexOf(ui->PestanaAvisos),
                           QStringLiteral("Avisos (%1)").arg(warnings.size()));
    ui->BtRestaurar->setEnabled(std::any_of(warnings.begin(), warnings.end(), IsMissingVisit));
    const bool any = !summary_.lessons.isEmpty();
    ui->BtExportarXlsx->setEnabled(any);
    ui->BtExportarCsv->setEnabled(any);
    ui->BtExportarCsvExcel->setEnabled(any);
    ui->BtExportarPdf->setEnabled(any);
    QString state = QStringLiteral("Registros leídos: %1 de %2. Lecciones: %3. Avisos: %4.")
                        .arg(summary_.registersRead)
                        .arg(summary_.registersFound)
                        .arg(summary_.lessons.size())
                        .arg(warnings.size());
    if (summary_.visitsLeftOut > 0)
        state += QStringLiteral(" Visitas fuera de las fechas elegidas: %1.")
                     .arg(summary_.visitsLeftOut);
    if (summary_.registersFound == 0)
        state = QStringLiteral("No hay registros (*%1) en la carpeta.").arg(kRegisterSuffix);
    else if (!any)
        state += QStringLiteral(" Ninguna visita en las fechas elegidas.");
    ui->Estado->setText(state);
    lessonChanged();
    course_->setSummary(summary_, names_, joinsPath_, SummaryPeriod(from_, to_));
    emit summaryShown();
}

void ClassResultsView::fillModel(QStandardItemModel* model, const SummaryTable& table) {
    model->clear();
    model->setHorizontalHeaderLabels(table.headers);
    const int reviewColumn = table.headers.indexOf(QStringLiteral("Revisar"));
    const int flagColumn = table.headers.indexOf(QStringLiteral("Aviso"));
    for (const QVariantList& cells : table.rows) {
        QList<QStandardItem*> row;
        const bool review = reviewColumn >= 0 && cells[reviewColumn].toString() == kRevisar;
        for (const QVariant& value : cells) {
            auto* item = new QStandardItem(DisplayCell(value));
            const bool decimal = IsDecimal(value);
            item->setData(decimal ? QVariant(value.value<Decimal>().value) : value, kSortRole);
            if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Double || decimal)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (review)
                item->setBackground(QColor(0xFB, 0xE3, 0xE0));
            // The cell being made is the row's next one.
            if (row.size() == flagColumn && !value.toString().isEmpty())
                item->setBackground(FlagColour(value.toString()));
            row.append(item);
        }
        model->appendRow(row);
    }
}

void ClassResultsView::lessonChanged() {
    const int index = ui->Leccion->currentIndex();
    const QString lesson = ui->Leccion->currentText();
    fillModel(questions_, index >= 0 ? QuestionsTable(summary_, lesson) : SummaryTable());
    fillModel(students_, index >= 0 ? StudentsTable(summary_, lesson) : SummaryTable());
    questionColumns_->apply();
    studentColumns_->apply();
    // On the screen the question's text stands beside its number; the exports keep the order
    // of their fixed columns.
    QHeaderView* header = ui->TablaCuestiones->horizontalHeader();
    if (questions_->columnCount() > QTexto)
        header->moveSection(header->visualIndex(QTexto), QCuestion + 1);
    // The figures that judge a question stand beside its share of right first attempts.
    if (questions_->columnCount() > QAviso) {
        header->moveSection(header->visualIndex(QDiscriminacion),
                            header->visualIndex(QPorcentajePrimer) + 1);
        header->moveSection(header->visualIndex(QAviso), header->visualIndex(QDiscriminacion) + 1);
        // The chance level beside the facility it is measured against.
        const int chance = questions_->columnCount() - QAzarFromEnd;
        header->moveSection(header->visualIndex(chance),
                            header->visualIndex(QPorcentajePrimer) + 1);
    }
    ui->TablaCuestiones->resizeColumnsToContents();
    ui->TablaAlumnos->resizeColumnsToContents();
    for (const int column : {QTexto, QIncorrectaMasElegida, QTextoIncorrecta}) {
        if (header->sectionSize(column) > kWidestTextColumn)
            header->resizeSection(column, kWidestTextColumn);
    }
    showMarks();
    QLayout* charts = ui->ContenidoGraficos->layout();
    while (QLayoutItem* item = charts->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (index < 0)
        return;
    const LessonSummary& shown = summary_.lessons[index];
    // A row per question: the list scrolls when a lesson has more than the tab shows.
    for (const BarChart& chart : {FirstAttemptChart(shown), SpreadChart(shown)}) {
        auto* view = new BarChartView(ui->ContenidoGraficos);
        view->setChart(chart);
        view->setMinimumHeight(view->sizeHint().height());
        charts->addWidget(view);
    }
}

void ClassResultsView::showMarks() {
    const int index = ui->Leccion->currentIndex();
    ui->NotasClase->setText(index >= 0 ? MarksLine(summary_.lessons[index]) : QString());
    QString test;
    if (index >= 0) {
        const LessonSummary& lesson = summary_.lessons[index];
        test = (TestLine(lesson) + u' ' + CautionLine(lesson)).trimmed();
    }
    ui->FiabilidadPrueba->setText(test);
    ui->FiabilidadPrueba->setVisible(!test.isEmpty());
    ui->GrupoCuestiones->setText(index >= 0 ? QStringLiteral("<small>%1</small>").arg(GroupLine())
                                            : QString());
}

QuestionDetail* ClassResultsView::showQuestionDetail(int section, int question) {
    const int index = ui->Leccion->currentIndex();
    if (index < 0)
        return nullptr;
    const LessonSummary& lesson = summary_.lessons[index];
    for (const QuestionRow& q : lesson.questions) {
        if (q.section != section || q.question != question)
            continue;
        auto* detail = new QuestionDetail(summary_, lesson, q, this);
        detail->setAttribute(Qt::WA_DeleteOnClose);
        const QString reading =
            FileByNameAnyCase(QDir(lesson.folder).filePath(LessonTextName(lesson.name)));
        connect(detail, &QuestionDetail::keyWanted, this, [this, reading, section, question] {
            emit keyQuestionWanted(reading, section, question);
        });
        detail->show();
        return detail;
    }
    return nullptr;
}

void ClassResultsView::questionActivated(const QModelIndex& index) {
    showQuestionDetail(index.siblingAtColumn(QSeccion).data(kSortRole).toInt(),
                       index.siblingAtColumn(QCuestion).data(kSortRole).toInt());
}

QString ClassResultsView::heading() const {
    return SummaryHeading(folder_, from_, to_);
}

void ClassResultsView::exportFile(const QString& caption, const QString& filter,
                                  const QString& suffix, const QString& saved,
                                  const std::function<bool(const QString&, QString&)>& write) {
    QString path = QDir(ExportFolder(folder_)).filePath(QStringLiteral("resultados") + suffix);
    if (!Boxes::saveFile(caption, filter, path))
        return;
    path = withSuffix(path, suffix);
    RememberExportFolder(QFileInfo(path).path());
    QString failure;
    if (!write(path, failure))
        return Boxes::error(failure);
    ui->Estado->setText(saved.arg(QDir::toNativeSeparators(path)));
}

void ClassResultsView::exportWorkbookClicked() {
    exportFile(QStringLiteral("Exportar libro"), QStringLiteral("Libro de Excel|*.xlsx"),
               QStringLiteral(".xlsx"), QStringLiteral("Libro guardado en %1."),
               [this](const QString& path, QString& failure) {
                   return WriteSummaryXlsx(summary_, path, failure);
               });
}

void ClassResultsView::exportCsvClicked() {
    exportCsv(CsvStyle::Standard);
}

void ClassResultsView::exportExcelCsvClicked() {
    exportCsv(CsvStyle::SpanishExcel);
}

void ClassResultsView::exportCsv(CsvStyle style) {
    QString folder = ExportFolder(folder_);
    if (!Boxes::chooseFolder(QStringLiteral("Carpeta para cuestiones.csv, alumnos.csv, curso.csv y "
                                            "respuestas.csv"),
                             folder))
        return;
    RememberExportFolder(folder);
    QString failure;
    if (!WriteSummaryCsv(summary_, folder, failure, style))
        return Boxes::error(failure);
    ui->Estado->setText(QStringLiteral("cuestiones.csv, alumnos.csv, curso.csv y respuestas.csv "
                                       "guardados en %1.")
                            .arg(QDir::toNativeSeparators(folder)));
}

void ClassResultsView::exportPdfClicked() {
    exportFile(QStringLiteral("Exportar informe"), QStringLiteral("Informe PDF|*.pdf"),
               QStringLiteral(".pdf"), QStringLiteral("Informe guardado en %1."),
               [this](const QString& path, QString& failure) {
                   return WriteSummaryPdf(summary_, heading(), path, failure);
               });
}
