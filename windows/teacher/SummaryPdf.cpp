#include "SummaryPdf.h"

#include "ChartTextObject.h"
#include "ResultsCharts.h"
#include "SummaryTable.h"

#include <QDir>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <QUrl>

namespace {

// The report has room for these columns, each with its share of the page's width in percent;
// the workbook has them all.
const QList<std::pair<int, int>> kQuestionColumns = {{QSeccion, 9},
                                                     {QCuestion, 9},
                                                     {QTexto, 26},
                                                     {QAlumnos, 9},
                                                     {QCorrectasPrimer, 9},
                                                     {QPorcentajePrimer, 9},
                                                     {QIncorrectaMasElegida, 11},
                                                     {QVecesElegida, 8},
                                                     {QRevisar, 10}};
const QList<std::pair<int, int>> kStudentColumns = {
    {SAlumno, 20},      {SVisitas, 9},     {SRespuestasAceptadas, 12}, {SCorrectas, 10},
    {SIncorrectas, 11}, {SPendientes, 11}, {SCorrectasPrimer, 13},     {SSeccionesCompletadas, 14}};

// Lines that could not be read, listed in the report; the workbook has them all.
constexpr int kMostProblemsListed = 200;

QString htmlTable(const SummaryTable& table, const QList<std::pair<int, int>>& columns) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
                                  "width=\"100%\"><tr>");
    for (const auto& [c, width] : columns)
        html +=
            QStringLiteral("<th width=\"%1%\" bgcolor=\"#dde6f0\" style=\"font-size: 7pt\">%2</th>")
                .arg(width)
                .arg(table.headers[c].toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const QVariantList& row : table.rows) {
        const bool review = row.size() > QRevisar && row[QRevisar].toString() == kRevisar &&
                            columns == kQuestionColumns;
        html += review ? QStringLiteral("<tr bgcolor=\"#fbe3e0\">") : QStringLiteral("<tr>");
        for (const auto& column : columns) {
            const int c = column.first;
            const bool number =
                row[c].typeId() == QMetaType::Int || row[c].typeId() == QMetaType::Double;
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(number ? QStringLiteral(" align=\"right\"") : QString(),
                             DisplayCell(row[c]).toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

} // namespace

QString SummaryHeading(const QString& folder, const QDate& from, const QDate& to) {
    QString heading = QStringLiteral("Carpeta: %1").arg(QDir::toNativeSeparators(folder));
    if (from.isValid())
        heading +=
            QStringLiteral(" · desde el %1").arg(from.toString(QStringLiteral("dd/MM/yyyy")));
    if (to.isValid())
        heading += QStringLiteral(" · hasta el %1").arg(to.toString(QStringLiteral("dd/MM/yyyy")));
    return heading;
}

bool WriteSummaryPdf(const ClassSummary& summary, const QString& heading, const QString& path,
                     QString& failure) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        failure = QStringLiteral("No se puede escribir el informe %1: %2")
                      .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    // The document keeps a margin of 2 cm of its own when it prints.
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("Resultados de la clase"));
    writer.setCreator(QStringLiteral("Dorvalia"));

    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(8.5);
    document.setDefaultFont(font);
    ChartTextObject charts(&document);
    QString html = QStringLiteral("<h1>Resultados de la clase</h1><p>%1</p><p>Registros leídos: "
                                  "%2 de %3. Líneas o archivos con avisos: %4.</p>")
                       .arg(heading.toHtmlEscaped())
                       .arg(summary.registersRead)
                       .arg(summary.registersFound)
                       .arg(summary.problems.size());
    int chartNumber = 0;
    for (const LessonSummary& lesson : summary.lessons) {
        // Each lesson after the first begins a page.
        html += QStringLiteral("<h2%1>Lección %2</h2>")
                    .arg(chartNumber ? QStringLiteral(" style=\"page-break-before: always\"")
                                     : QString(),
                         lesson.name.toHtmlEscaped());
        if (!lesson.hasKey)
            html += QStringLiteral("<p>No se ha encontrado la clave de la lección "
                                   "(%1_CRJ.TXT): se muestran solo los números.</p>")
                        .arg(lesson.name.toHtmlEscaped());
        // The charts are drawn into the page as it is printed: vectors, sharp at any zoom.
        html += QStringLiteral("<p>%1</p><p>%2</p>")
                    .arg(charts.placeholder(FirstAttemptChart(lesson), 620),
                         charts.placeholder(SpreadChart(lesson), 620, 300));
        ++chartNumber;
        html += QStringLiteral("<h3>Cuestiones</h3>") +
                htmlTable(QuestionsTable(summary, lesson.name), kQuestionColumns);
        html += QStringLiteral("<h3>Alumnos</h3>") +
                htmlTable(StudentsTable(summary, lesson.name), kStudentColumns);
    }
    if (!summary.problems.isEmpty()) {
        html += QStringLiteral("<h2 style=\"page-break-before: always\">Avisos</h2><p>");
        for (int i = 0; i < summary.problems.size() && i < kMostProblemsListed; ++i) {
            html += ProblemLine(summary.problems[i]).toHtmlEscaped() + QStringLiteral("<br>");
        }
        if (summary.problems.size() > kMostProblemsListed)
            html += QStringLiteral("… y %1 más (todos en el libro de Excel).")
                        .arg(summary.problems.size() - kMostProblemsListed);
        html += QStringLiteral("</p>");
    }
    document.setHtml(html);
    charts.replacePlaceholders();
    document.print(&writer);
    if (!file.commit()) {
        failure = QStringLiteral("No se puede escribir el informe %1: %2")
                      .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}
