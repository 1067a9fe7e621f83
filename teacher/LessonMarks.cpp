#include "teacher/LessonMarks.h"

#include "teacher/DecimalCell.h"

#include <algorithm>
#include <cmath>

QString DecimalText(const Decimal& number, QChar point) {
    const double scale = std::pow(10.0, number.decimals);
    double rounded = std::round(number.value * scale) / scale;
    if (rounded == 0)
        rounded = 0; // no "-0.0"
    QString text = QString::number(rounded, 'f', number.decimals);
    if (point != u'.')
        text.replace(u'.', point);
    return text;
}

int MarkTenths(int right, int gradable) {
    if (gradable <= 0)
        return -1;
    // In whole numbers: no binary fraction can round 6.25 down.
    return (200 * right + gradable) / (2 * gradable);
}

MarkStats MarkStatistics(const QList<int>& tenths) {
    QList<double> marks;
    for (int t : tenths) {
        if (t >= 0)
            marks.append(t / 10.0);
    }
    MarkStats stats;
    stats.count = int(marks.size());
    if (marks.isEmpty())
        return stats;
    std::sort(marks.begin(), marks.end());
    double sum = 0;
    for (double m : marks)
        sum += m;
    stats.mean = sum / stats.count;
    const int half = stats.count / 2;
    stats.median = stats.count % 2 ? marks[half] : (marks[half - 1] + marks[half]) / 2;
    double squares = 0;
    for (double m : marks)
        squares += (m - stats.mean) * (m - stats.mean);
    stats.spread = std::sqrt(squares / stats.count);
    return stats;
}
