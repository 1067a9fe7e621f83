#pragma once

#include "platform/chart/BarChart.h"
#include "teacher/CourseSummary.h"

// A student's trend: first-attempt success per lesson, a row per lesson in time order from the
// top, each named by its first visit's day; a lesson under the share the tables mark «revisar»
// stands out in the same colour.
BarChart TrendChart(const CourseStudent& student);
