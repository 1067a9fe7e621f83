#pragma once

#include <QString>

struct LessonSummary;

// The printed report's page of a lesson's item analysis, as HTML for its QTextDocument: the
// class's marks, then a row per question with its facility, discrimination, flags and the first
// choices of each answer, in the class and in its upper and lower thirds.
QString AnalysisPageHtml(const LessonSummary& lesson);
