#include "windows/teacher/QuestionDetail.h"

#include "ui_QuestionDetail.h"

#include "teacher/AnswersTable.h"
#include "teacher/DecimalCell.h"

#include <QHeaderView>

QString QuestionFigures(const LessonSummary& lesson, const QuestionRow& q) {
    if (q.opinion)
        return QStringLiteral("Cuestión de opinión (todas sus respuestas son «Pendiente»): la "
                              "respondieron %1; no cuenta en la nota.")
            .arg(q.students);
    QString text = QStringLiteral("Facilidad: %1 (%2 de %3 correctas al primer intento")
                       .arg(DisplayCell(q.firstRightPercent))
                       .arg(q.firstRight)
                       .arg(q.students);
    if (q.chance > 0)
        text += QStringLiteral("; al azar, %1").arg(DisplayCell(100.0 * q.chance));
    text += QStringLiteral(").");
    if (!q.gradable)
        return text + QStringLiteral(" Sin respuesta correcta en la clave: no cuenta en la nota.");
    const auto figure = [](const std::optional<double>& value) {
        return value ? DecimalText({*value, 2}, u',') : QStringLiteral("no se puede calcular");
    };
    text += QStringLiteral(" Discriminación: %1. Índice D: %2.")
                .arg(figure(q.discrimination), figure(q.indexD));
    if (q.alphaWithout)
        text += QStringLiteral(" Alfa de la prueba sin ella: %1.")
                    .arg(DecimalText({*q.alphaWithout, 2}, u','));
    if (lesson.thirdSize > 0)
        text += QStringLiteral(" Tercios de la clase por nota: %1 alumnos cada uno.")
                    .arg(lesson.thirdSize);
    return text;
}

QuestionDetail::QuestionDetail(const ClassSummary& summary, const LessonSummary& lesson,
                               const QuestionRow& q, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::QuestionDetail>()) {
    ui->setupUi(this);
    setWindowTitle(
        QStringLiteral("Cuestión %1.%2 de %3").arg(q.section).arg(q.question).arg(lesson.name));
    ui->Pregunta->setText(QStringLiteral("<b>Cuestión %1.%2</b> %3")
                              .arg(q.section)
                              .arg(q.question)
                              .arg(q.text.toHtmlEscaped()));
    ui->Cifras->setText(QuestionFigures(lesson, q));
    ui->AvisosCuestion->setText(
        q.flags.isEmpty()
            ? (q.gradable && q.students < kFewestForFlags
                   ? QStringLiteral("Sin avisos: la respondieron menos de %1 alumnos.")
                         .arg(kFewestForFlags)
                   : QString())
            : QStringLiteral("<b>Aviso:</b> %1").arg(FlagsText(q.flags).toHtmlEscaped()));
    SummaryTable table = AnswersTable(summary, lesson.name);
    QList<QVariantList> rows;
    for (const QVariantList& row : table.rows) {
        if (row[RSeccion].toInt() == q.section && row[RCuestion].toInt() == q.question)
            rows.append(row);
    }
    const QList<int> shown = {
        RRespuesta,          RTexto,          RJuicio,         RPrimeraEleccion,
        RPorcentaje,         RTercioSuperior, RTercioInferior, RPorcentajeSuperior,
        RPorcentajeInferior, RAviso};
    ui->TablaRespuestas->setColumnCount(int(shown.size()));
    ui->TablaRespuestas->setRowCount(int(rows.size()));
    for (int c = 0; c < shown.size(); ++c)
        ui->TablaRespuestas->setHorizontalHeaderItem(c,
                                                     new QTableWidgetItem(table.headers[shown[c]]));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < shown.size(); ++c) {
            const QVariant& value = rows[r][shown[c]];
            auto* item = new QTableWidgetItem(DisplayCell(value));
            if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Double)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            ui->TablaRespuestas->setItem(r, c, item);
        }
    }
    ui->TablaRespuestas->verticalHeader()->hide();
    ui->TablaRespuestas->resizeColumnsToContents();
    // Wide enough for every column: the thirds are what the teacher came to see.
    int wide = 2 * ui->TablaRespuestas->frameWidth() + 2 * layout()->contentsMargins().left();
    for (int c = 0; c < shown.size(); ++c)
        wide += ui->TablaRespuestas->columnWidth(c);
    resize(std::max(width(), wide), height());
    ui->BtAbrirClave->setEnabled(lesson.hasKey);
    connect(ui->BtAbrirClave, &QPushButton::clicked, this, &QuestionDetail::BtAbrirClaveClick);
    connect(ui->BtCerrar, &QPushButton::clicked, this, &QDialog::accept);
}

QuestionDetail::~QuestionDetail() = default;

void QuestionDetail::BtAbrirClaveClick() {
    emit keyWanted();
    accept();
}
