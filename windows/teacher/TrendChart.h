#pragma once

#include "BarChart.h"
#include "CourseSummary.h"

// A student's trend: first-attempt success per lesson, a column per lesson in time order; a
// lesson under the share the tables mark «revisar» stands out in the same colour.
BarChart TrendChart(const CourseStudent& student);
