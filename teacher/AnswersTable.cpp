#include "teacher/AnswersTable.h"

SummaryTable AnswersTable(const ClassSummary& summary, const QString& only) {
    SummaryTable table;
    table.headers = {QStringLiteral("Lección"),
                     QStringLiteral("Sección"),
                     QStringLiteral("Cuestión"),
                     QStringLiteral("Respuesta"),
                     QStringLiteral("Juicio en la clave"),
                     QStringLiteral("Texto de la respuesta"),
                     QStringLiteral("Primera elección"),
                     QStringLiteral("% primera elección"),
                     QStringLiteral("Tercio superior"),
                     QStringLiteral("Tercio inferior")};
    for (const LessonSummary& lesson : summary.lessons) {
        if (!only.isEmpty() && lesson.name != only)
            continue;
        for (const QuestionRow& q : lesson.questions) {
            for (const AnswerChoice& c : q.choices) {
                const QString name = AnswerName(c);
                table.rows.append({lesson.name, q.section, q.question, c.answer,
                                   c.verdict.isEmpty() ? QVariant() : QVariant(c.verdict),
                                   name.isEmpty() ? QVariant() : QVariant(name), c.first,
                                   q.students ? 100.0 * c.first / q.students : 0.0, c.upper,
                                   c.lower});
            }
        }
    }
    return table;
}

QString AnswerName(const AnswerChoice& choice) {
    return choice.answer == 0 ? QStringLiteral("ninguna de las respuestas") : choice.text;
}
