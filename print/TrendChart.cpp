#include "print/TrendChart.h"

#include "teacher/RegisterDates.h"
#include "teacher/SummaryTable.h"

namespace {

const QColor kBar(0x3A, 0x6E, 0xA5);
const QColor kLowBar(0xC0, 0x50, 0x4D);

QFont font(qreal points, bool bold = false) {
    QFont f;
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace

BarChart TrendChart(const CourseStudent& student) {
    BarChart chart;
    chart.title = {QStringLiteral("Correctas al primer intento por lección, en el orden en que "
                                  "las hizo"),
                   font(10, true), Qt::black};
    chart.axisTitle = {QStringLiteral("% de cuestiones"), font(8), Qt::black};
    chart.labelFont = font(7.5);
    chart.scaleFont = font(7.5);
    chart.markFont = font(7.5);
    // A row per lesson, from the top in time order: every lesson keeps its label however many
    // the term has.
    chart.orientation = BarChart::Orientation::Rows;
    chart.barShare = 0.7;
    for (const CourseLesson& lesson : student.lessons) {
        const double percent = FirstRightPercent(lesson.firstRight, lesson.questionsAnswered);
        QString label = lesson.lesson;
        for (const QDate& day : lesson.visitDates) {
            if (day.isValid()) {
                label = day.toString(QStringLiteral("dd/MM")) + u' ' + label;
                break;
            }
        }
        // A lesson without an answer has no share: an empty column that says so.
        chart.bars.append({label, std::max(0.0, percent),
                           percent >= 0 && percent < kReviewBelowPercent ? kLowBar : kBar,
                           percent >= 0 ? DisplayCell(percent) : QStringLiteral("sin respuestas")});
    }
    return chart;
}
