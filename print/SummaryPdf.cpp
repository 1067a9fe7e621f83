#include "print/SummaryPdf.h"

#include "lesson/LessonFiles.h"
#include "platform/chart/ChartTextObject.h"
#include "platform/core/Printable.h"
#include "print/A4Pdf.h"
#include "print/AnalysisPdf.h"
#include "print/ResultsCharts.h"
#include "teacher/DecimalCell.h"
#include "teacher/RegisterDates.h"
#include "teacher/SummaryTable.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

#include <cmath>

namespace {

// The report has room for these columns, each with its share of the page's width in percent;
// the workbook has them all. The most chosen wrong answer shows its text beside its number.
const QList<std::pair<int, int>> kQuestionColumns = {{QSeccion, 8},
                                                     {QCuestion, 8},
                                                     {QTexto, 22},
                                                     {QAlumnos, 8},
                                                     {QCorrectasPrimer, 9},
                                                     {QPorcentajePrimer, 9},
                                                     {QIncorrectaMasElegida, 20},
                                                     {QVecesElegida, 7},
                                                     {QRevisar, 9}};
const QList<std::pair<int, int>> kStudentColumns = {
    {SAlumno, 18},      {SVisitas, 8},     {SRespuestasAceptadas, 11}, {SCorrectas, 10},
    {SIncorrectas, 11}, {SPendientes, 10}, {SCorrectasPrimer, 12},     {SSeccionesCompletadas, 13},
    {SNota, 7}};

// Lines that could not be read, listed in the report; the workbook has them all.
constexpr int kMostProblemsListed = 200;

// The width the document's text takes on A4: 210 mm less its own margins of 2 cm.
constexpr qreal kTextWidthPt = (210.0 - 40.0) / 25.4 * 72.0;
constexpr qreal kHeaderPointSize = 7.0;
// A cell's padding and borders on both sides, with room to spare.
constexpr qreal kCellFramePt = 8.0;

// The columns' shares, each raised to the widest word of its heading so that no heading breaks
// inside a word; what that takes comes from the columns with room to give, the widest first.
QList<int> fittedShares(const SummaryTable& table, const QList<std::pair<int, int>>& columns,
                        const QFontMetricsF& metrics, qreal pointsPerUnit) {
    QList<int> shares, least;
    for (const auto& [c, share] : columns) {
        qreal widest = 0;
        for (const QString& word : table.headers[c].split(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word) * pointsPerUnit);
        least.append(int(std::ceil((widest + kCellFramePt) / kTextWidthPt * 100)));
        shares.append(share);
    }
    for (qsizetype i = 0; i < shares.size(); ++i) {
        while (shares[i] < least[i]) {
            qsizetype donor = -1;
            for (qsizetype j = 0; j < shares.size(); ++j) {
                if (shares[j] > least[j] &&
                    (donor < 0 || shares[j] - least[j] > shares[donor] - least[donor]))
                    donor = j;
            }
            if (donor < 0)
                break;
            --shares[donor];
            ++shares[i];
        }
    }
    return shares;
}

QString cellText(const QVariantList& row, int c) {
    if (c == QIncorrectaMasElegida && row.size() > QTextoIncorrecta &&
        !row[QTextoIncorrecta].toString().isEmpty())
        return QStringLiteral("%1: %2").arg(DisplayCell(row[c]), row[QTextoIncorrecta].toString());
    return DisplayCell(row[c]);
}

QString htmlTable(const SummaryTable& table, const QList<std::pair<int, int>>& columns,
                  const QList<int>& shares) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" "
                                  "width=\"100%\"><tr>");
    for (qsizetype i = 0; i < columns.size(); ++i)
        html += QStringLiteral("<th width=\"%1%\" bgcolor=\"#dde6f0\" style=\"font-size: "
                               "%2pt\">%3</th>")
                    .arg(shares[i])
                    .arg(kHeaderPointSize)
                    .arg(table.headers[columns[i].first].toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const QVariantList& row : table.rows) {
        const bool review = row.size() > QRevisar && row[QRevisar].toString() == kRevisar &&
                            columns == kQuestionColumns;
        html += review ? QStringLiteral("<tr bgcolor=\"#fbe3e0\">") : QStringLiteral("<tr>");
        for (const auto& column : columns) {
            const int c = column.first;
            // A name with no end would take the layout time out of all proportion: cut.
            const QString text =
                CutToShow(columns == kQuestionColumns ? cellText(row, c) : DisplayCell(row[c]));
            // Numbers line up on the right; a number with its text reads as text.
            const bool number = (row[c].typeId() == QMetaType::Int ||
                                 row[c].typeId() == QMetaType::Double || IsDecimal(row[c])) &&
                                text == DisplayCell(row[c]);
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(number ? QStringLiteral(" align=\"right\"") : QString(),
                             text.toHtmlEscaped());
        }
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

// "del 01/12/2026 al 07/12/2026", or "el 07/12/2026" for one day.
QString daysCovered(const ClassSummary& summary) {
    if (!summary.firstDay.isValid())
        return QStringLiteral("Visitas sin fecha legible.");
    if (summary.firstDay == summary.lastDay)
        return QStringLiteral("Visitas del día %1.").arg(TeacherDate(summary.firstDay));
    return QStringLiteral("Visitas del %1 al %2.")
        .arg(TeacherDate(summary.firstDay), TeacherDate(summary.lastDay));
}

} // namespace

QString SummaryHeading(const QString& folder, const QDate& from, const QDate& to) {
    QStringList parts = {QStringLiteral("Carpeta: %1").arg(QDir::toNativeSeparators(folder))};
    if (from.isValid())
        parts.append(
            QStringLiteral("desde el %1").arg(from.toString(QStringLiteral("dd/MM/yyyy"))));
    if (to.isValid())
        parts.append(QStringLiteral("hasta el %1").arg(to.toString(QStringLiteral("dd/MM/yyyy"))));
    return parts.join(QStringLiteral(" · "));
}

QString SummaryPeriod(const QDate& from, const QDate& to) {
    QString period = SummaryHeading({}, from, to).section(QStringLiteral(" · "), 1);
    if (!period.isEmpty())
        period[0] = period[0].toUpper();
    return period;
}

bool WriteSummaryPdf(const ClassSummary& summary, const QString& heading, const QString& path,
                     QString& failure) {
    A4Pdf pdf(path, QStringLiteral("el informe"));
    if (!pdf.open(QStringLiteral("Resultados de la clase"), failure))
        return false;
    QPdfWriter& writer = pdf.writer();

    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(8.5);
    document.setDefaultFont(font);
    ChartTextObject charts(&document);
    QString html = QStringLiteral("<h1>Resultados de la clase</h1><p>%1<br>%2</p><p>Registros "
                                  "leídos: %3 de %4. Líneas o archivos con avisos: %5.</p>")
                       .arg(heading.toHtmlEscaped(), daysCovered(summary).toHtmlEscaped())
                       .arg(summary.registersRead)
                       .arg(summary.registersFound)
                       .arg(AllWarnings(summary).size());
    QFont headerFont = font;
    headerFont.setPointSizeF(kHeaderPointSize);
    headerFont.setBold(true);
    const QFontMetricsF metrics(headerFont, &writer);
    const qreal pointsPerUnit = 72.0 / writer.resolution();
    int chartNumber = 0;
    for (const LessonSummary& lesson : summary.lessons) {
        // Each lesson after the first begins a page.
        html += QStringLiteral("<h2%1>Lección %2</h2>")
                    .arg(chartNumber ? QStringLiteral(" style=\"page-break-before: always\"")
                                     : QString(),
                         lesson.name.toHtmlEscaped());
        if (!lesson.hasKey)
            html += QStringLiteral("<p>No se ha encontrado la clave de la lección "
                                   "(%1): se muestran solo los números.</p>")
                        .arg(KeyName(lesson.name).toHtmlEscaped());
        // The charts are drawn into the page as it is printed: vectors, sharp at any zoom.
        html += QStringLiteral("<p>%1</p><p>%2</p>")
                    .arg(charts.placeholder(FirstAttemptChart(lesson), 620),
                         charts.placeholder(SpreadChart(lesson), 620, 300));
        ++chartNumber;
        const SummaryTable questions = QuestionsTable(summary, lesson.name);
        const SummaryTable students = StudentsTable(summary, lesson.name);
        html += QStringLiteral("<h3>Cuestiones</h3>") +
                htmlTable(questions, kQuestionColumns,
                          fittedShares(questions, kQuestionColumns, metrics, pointsPerUnit));
        html += QStringLiteral("<h3>Alumnos</h3>") +
                htmlTable(students, kStudentColumns,
                          fittedShares(students, kStudentColumns, metrics, pointsPerUnit));
        html += AnalysisPageHtml(lesson);
    }
    const QList<RegisterProblem> warnings = AllWarnings(summary);
    if (!warnings.isEmpty()) {
        html += QStringLiteral("<h2 style=\"page-break-before: always\">Avisos</h2><p>");
        for (int i = 0; i < warnings.size() && i < kMostProblemsListed; ++i) {
            html += CutToShow(ProblemLine(warnings[i])).toHtmlEscaped() + QStringLiteral("<br>");
        }
        if (warnings.size() > kMostProblemsListed)
            html += QStringLiteral("… y %1 más (todos en el libro de Excel).")
                        .arg(warnings.size() - kMostProblemsListed);
        html += QStringLiteral("</p>");
    }
    document.setHtml(html);
    charts.replacePlaceholders();
    return pdf.print(document, failure);
}
