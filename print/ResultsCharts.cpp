#include "print/ResultsCharts.h"

#include "teacher/SummaryTable.h"

#include <algorithm>
#include <cmath>

namespace {

const QColor kBar(0x3A, 0x6E, 0xA5);
const QColor kReviewBar(0xC0, 0x50, 0x4D); // the questions the tables mark «Revisar»

QFont font(qreal points, bool bold = false) {
    QFont f;
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

BarChart barChart(const QString& title, const QString& axisTitle) {
    BarChart chart;
    chart.title = {title, font(10, true), Qt::black};
    chart.axisTitle = {axisTitle, font(8), Qt::black};
    chart.labelFont = font(8);
    chart.scaleFont = font(7.5);
    chart.markFont = font(7.5);
    return chart;
}

} // namespace

BarChart FirstAttemptChart(const LessonSummary& lesson) {
    BarChart chart =
        barChart(QStringLiteral("Correctas al primer intento por cuestión (sección.cuestión)"),
                 QStringLiteral("% de alumnos"));
    chart.orientation = BarChart::Orientation::Rows;
    chart.barShare = 0.7;
    for (const QuestionRow& q : lesson.questions) {
        // The mark reads as the tables do: the same figure, the same decimal.
        chart.bars.append({QStringLiteral("%1.%2").arg(q.section).arg(q.question),
                           q.firstRightPercent, q.review ? kReviewBar : kBar,
                           DisplayCell(q.firstRightPercent)});
    }
    return chart;
}

BarChart SpreadChart(const LessonSummary& lesson) {
    BarChart chart =
        barChart(QStringLiteral("Reparto de la clase: alumnos según su nota (sobre 10)"),
                 QStringLiteral("Alumnos"));
    const QList<int> bands = SpreadBands(lesson);
    int most = 1;
    for (int b = 0; b < bands.size(); ++b) {
        chart.bars.append({b < 9 ? QStringLiteral("%1–%1,9").arg(b) : QStringLiteral("9–10"),
                           double(bands[b]), kBar, DisplayCell(bands[b])});
        most = std::max(most, bands[b]);
    }
    // Whole numbers at whole steps: a count of students has no fractions.
    chart.step = most < 10 ? 1 : std::ceil(most / 20.0) * 5;
    chart.maximum = std::ceil((most + 1) / chart.step) * chart.step;
    return chart;
}
