#pragma once

#include "ClassSummary.h"

#include <QImage>
#include <QSize>

class QChart;

// The two charts of a lesson's results: first-attempt success per question, and the spread of
// the class (students by their share of questions right at the first attempt).
QChart* FirstAttemptChart(const LessonSummary& lesson);
QChart* SpreadChart(const LessonSummary& lesson);

// A chart laid out at size and drawn into a picture scale times as large (sharp in print);
// takes ownership of chart.
QImage ChartImage(QChart* chart, const QSize& size, qreal scale);
