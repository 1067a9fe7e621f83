#include "print/StudentPdf.h"

#include "platform/chart/ChartTextObject.h"
#include "platform/core/Clock.h"
#include "platform/core/Printable.h"
#include "print/A4Pdf.h"
#include "print/TrendChart.h"
#include "teacher/DecimalCell.h"

#include <QDate>
#include <QDir>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr qreal kBodyPointSize = 9.0;
constexpr qreal kHeaderPointSize = 7.0;
// The width the document's text takes on A4: 210 mm less its own margins of 2 cm.
constexpr qreal kTextWidthPt = (210.0 - 40.0) / 25.4 * 72.0;
// A cell's padding and borders on both sides, with room to spare.
constexpr qreal kCellFramePt = 12.0;

QFont pointFont(qreal points, bool bold = false) {
    QFont font;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

qreal widestWord(const QString& text, const QFontMetricsF& metrics) {
    qreal widest = 0;
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts))
        widest = std::max(widest, metrics.horizontalAdvance(word));
    return widest;
}

} // namespace

QList<int> ContentShares(const SummaryTable& table, QPaintDevice* device) {
    // The headings print bold.
    const QFontMetricsF header(pointFont(kHeaderPointSize, true), device);
    const QFontMetricsF body(pointFont(kBodyPointSize), device);
    const qreal pointsPerUnit = 72.0 / device->logicalDpiX();
    // Each column needs its widest word (no word breaks) and would like its widest cell on one
    // line.
    QList<qreal> least, wanted;
    for (int c = 0; c < table.headers.size(); ++c) {
        qreal low = widestWord(table.headers[c], header);
        qreal high = header.horizontalAdvance(table.headers[c]);
        for (const QVariantList& row : table.rows) {
            const QString text = DisplayCell(row.value(c));
            low = std::max(low, widestWord(text, body));
            high = std::max(high, body.horizontalAdvance(text));
        }
        least.append(low * pointsPerUnit + kCellFramePt);
        wanted.append(std::max(high * pointsPerUnit, low * pointsPerUnit) + kCellFramePt);
    }
    qreal sumLeast = 0, sumWanted = 0;
    for (int c = 0; c < least.size(); ++c) {
        sumLeast += least[c];
        sumWanted += wanted[c];
    }
    // Every column gets its least; what the page has beyond that goes where lines would wrap,
    // in proportion to what each still wants, and any room left over to all alike.
    QList<qreal> widths = least;
    const qreal room = kTextWidthPt - sumLeast;
    if (room > 0) {
        const qreal more = sumWanted - sumLeast;
        for (int c = 0; c < widths.size(); ++c) {
            if (more > room)
                widths[c] += room * (wanted[c] - least[c]) / more;
            else
                widths[c] = wanted[c] + (room - more) * wanted[c] / sumWanted;
        }
    }
    // In whole percents, each rounded up so that no column ends narrower than its least; what
    // that adds over 100 comes off the columns with the most room above their least.
    QList<int> shares, leastShares;
    for (int c = 0; c < widths.size(); ++c) {
        shares.append(int(std::ceil(100.0 * widths[c] / kTextWidthPt)));
        leastShares.append(int(std::ceil(100.0 * least[c] / kTextWidthPt)));
    }
    for (int sum = std::accumulate(shares.begin(), shares.end(), 0); sum > 100; --sum) {
        int donor = -1;
        for (int c = 0; c < shares.size(); ++c) {
            if (shares[c] > leastShares[c] &&
                (donor < 0 || shares[c] - leastShares[c] > shares[donor] - leastShares[donor]))
                donor = c;
        }
        if (donor < 0)
            break;
        --shares[donor];
    }
    return shares;
}

namespace {

QString lessonsTable(const SummaryTable& table, const QList<int>& shares) {
    QString html = QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" "
                                  "width=\"100%\"><tr>");
    for (int c = 0; c < table.headers.size(); ++c)
        html += QStringLiteral("<th width=\"%1%\" bgcolor=\"#dde6f0\" style=\"font-size: "
                               "%2pt\">%3</th>")
                    .arg(shares.value(c, 10))
                    .arg(kHeaderPointSize)
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
    QString name = CutToShow(student, 100);
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1F]")),
                 QStringLiteral("_"));
    return QStringLiteral("Informe de %1.pdf").arg(name.trimmed());
}

void BuildStudentReport(QTextDocument& document, ChartTextObject& charts,
                        const CourseStudent& student, const QString& period, QPaintDevice* device) {
    document.setDefaultFont(pointFont(kBodyPointSize));
    QString html = QStringLiteral("<h1>Informe del alumno</h1><h2>%1</h2><p>%2")
                       .arg(CutToShow(student.name).toHtmlEscaped(),
                            CutToShow(StudentLine(student)).toHtmlEscaped());
    if (!period.isEmpty())
        html += QStringLiteral("<br>") + period.toHtmlEscaped();
    html += QStringLiteral("</p>");
    // The chart is drawn into the page as it is printed: vectors, sharp at any zoom.
    html += QStringLiteral("<p>%1</p>")
                .arg(charts.placeholder(TrendChart(student), 620, chartHeight(student)));
    const SummaryTable lessons = StudentPageTable(student);
    html += QStringLiteral("<h3>Lecciones</h3>") +
            lessonsTable(lessons, ContentShares(lessons, device));
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
    html += QStringLiteral("<p><small>Nota: sobre 10, la parte de las cuestiones de la lección "
                           "con respuesta correcta en la clave acertadas al primer intento; una "
                           "cuestión sin responder cuenta como no acertada. Cuestiones "
                           "respondidas: de esas cuestiones, las que respondió. Informe del "
                           "%1.</small></p>")
                .arg(Clock::today().toString(QStringLiteral("dd/MM/yyyy")));
    document.setHtml(html);
    charts.replacePlaceholders();
}

bool WriteStudentPdf(const CourseStudent& student, const QString& period, const QString& path,
                     QString& failure) {
    A4Pdf pdf(path, QStringLiteral("el informe"));
    if (!pdf.open(QStringLiteral("Informe del alumno: %1").arg(CutToShow(student.name)), failure))
        return false;
    QTextDocument document;
    ChartTextObject charts(&document);
    BuildStudentReport(document, charts, student, period, &pdf.writer());
    return pdf.print(document, failure);
}
