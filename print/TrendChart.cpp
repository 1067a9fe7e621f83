#include "print/TrendChart.h"

#include "teacher/DecimalCell.h"
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
    chart.title = {QStringLiteral("Nota por lección, en el orden en que las hizo"), font(10, true),
                   Qt::black};
    chart.axisTitle = {QStringLiteral("Nota (sobre 10)"), font(8), Qt::black};
    chart.labelFont = font(7.5);
    chart.scaleFont = font(7.5);
    chart.markFont = font(7.5);
    // A row per lesson, from the top in time order: every lesson keeps its label however many
    // the term has.
    chart.orientation = BarChart::Orientation::Rows;
    chart.barShare = 0.7;
    chart.maximum = 10;
    chart.step = 1;
    for (const CourseLesson& lesson : student.lessons) {
        QString label = lesson.lesson;
        for (const QDate& day : lesson.visitDates) {
            if (day.isValid()) {
                label = day.toString(QStringLiteral("dd/MM")) + u' ' + label;
                break;
            }
        }
        // The same mark as the tables; a lesson without one (no key, or no question with a
        // right answer) has an empty row that says so.
        const double mark = lesson.mark / 10.0;
        chart.bars.append(
            {label, std::max(0.0, mark), lesson.mark >= 0 && mark < 5 ? kLowBar : kBar,
             lesson.mark >= 0 ? DisplayCell(DecimalCell(mark, 1)) : QStringLiteral("sin nota")});
    }
    return chart;
}
