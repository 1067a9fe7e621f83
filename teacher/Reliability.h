#pragma once

#include <QList>

#include <optional>

// How consistently a test measures, from its students' right (1) and wrong (0) answers: one
// column per question, one entry per student in every column.
using ScoreColumns = QList<QList<quint8>>;

// Whether some students got the question right and others not.
bool Varies(const QList<quint8>& column);

// Cronbach's alpha over the columns named (KR-20, since each answer is right or wrong); none with
// fewer than two columns or two students, or when the students' totals do not vary.
std::optional<double> Alpha(const ScoreColumns& columns, const QList<int>& which);
