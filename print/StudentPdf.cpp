#include "print/StudentPdf.h"

#include "platform/chart/ChartTextObject.h"
#include "platform/core/Clock.h"
#include "print/A4Pdf.h"
#include "print/TrendChart.h"
#include "teacher/DecimalCell.h"

#include <QDate>
#include <QDir>
#include <QRegularExpression>
#include <QTextDocument>

#include <algorithm>

namespace {

// Shares of the page's width of the lessons table's columns, in PageColumn's order.
const QList<int> kShares = {16, 22, 15, 17, 30};

QString lessonsTable(const SummaryTable& table) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                                  "width=\"100%\"><tr>");
    for (int c = 0; c < table.headers.size(); ++c)
        html += QStringLiteral("<th width=\"%1%\" bgcolor=\"#dde6f0\" style=\"font-size: "
                               "7pt\">%2</th>")
                    .arg(kShares.value(c, 10))
                    .arg(table.headers[c].toHtmlEscaped());
    html += QStringLiteral("</tr>");
    for (const QVariantList& row : table.rows) {
        html += QStringLiteral("<tr>");
        for (const QVariant& value : row)
            html += QStringLiteral("<td%1>%2</td>")
                        .arg(value.typeId() == QMetaType::Double || IsDecimal(value)
                                 ? QStringLiteral(" align=\"right\"")
                                 : QString(),
                             DisplayCell(value).toHtmlEscaped());
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

// Rows of a readable height: room for the title and the scale, then a row per lesson, within a
// page with the table below it.
qreal chartHeight(const CourseStudent& student) {
    return std::clamp(70.0 + 26.0 * qreal(student.lessons.size()), 180.0, 640.0);
}

} // namespace

QString ReportFileName(const QString& student) {
    QString name = student;
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1F]")),
                 QStringLiteral("_"));
    return QStringLiteral("Informe de %1.pdf").arg(name.trimmed());
}

bool WriteStudentPdf(const CourseStudent& student, const QString& heading, const QString& path,
                     QString& failure) {
    A4Pdf pdf(path, QStringLiteral("el informe"));
    if (!pdf.open(QStringLiteral("Informe del alumno: %1").arg(student.name), failure))
        return false;

    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(9);
    document.setDefaultFont(font);
    ChartTextObject charts(&document);
    QString html = QStringLiteral("<h1>Informe del alumno</h1><h2>%1</h2><p>%2<br>%3</p>")
                       .arg(student.name.toHtmlEscaped(), StudentLine(student).toHtmlEscaped(),
                            heading.toHtmlEscaped());
    // The chart is drawn into the page as it is printed: vectors, sharp at any zoom.
    html += QStringLiteral("<p>%1</p>")
                .arg(charts.placeholder(TrendChart(student), 620, chartHeight(student)));
    html += QStringLiteral("<h3>Lecciones</h3>") + lessonsTable(StudentPageTable(student));
    const QStringList again = ToTakeUpAgain(student);
    html += QStringLiteral("<h3>Cuestiones para retomar</h3>");
    if (again.isEmpty()) {
        html += QStringLiteral("<p>Ninguna: en su último intento, todas las cuestiones que "
                               "respondió estaban bien.</p>");
    } else {
        html += QStringLiteral("<p>Respondidas mal en su último intento:</p><ul>");
        for (const QString& line : again)
            html += QStringLiteral("<li>%1</li>").arg(line.toHtmlEscaped());
        html += QStringLiteral("</ul>");
    }
    html += QStringLiteral("<p><small>Correctas al primer intento: de las cuestiones que "
                           "respondió en cada lección, las que acertó con su primera respuesta "
                           "en su primera visita. Nota: sobre 10, la parte de las cuestiones de la "
                           "lección con respuesta correcta en la clave acertadas al primer "
                           "intento. Informe del %1.</small></p>")
                .arg(Clock::today().toString(QStringLiteral("dd/MM/yyyy")));
    document.setHtml(html);
    charts.replacePlaceholders();
    return pdf.print(document, failure);
}
