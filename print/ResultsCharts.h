#pragma once

#include "platform/chart/BarChart.h"
#include "teacher/ClassSummary.h"

// The two charts of a lesson's results: first-attempt success per question, a row per question
// so that every question keeps its label however many there are, and the spread of the class
// (students by their share of questions right at the first attempt).
BarChart FirstAttemptChart(const LessonSummary& lesson);
BarChart SpreadChart(const LessonSummary& lesson);
