#include "teacher/AnswersTable.h"

namespace {

// Of the third's students who made an attempt at the question, the share that chose it first.
QVariant share(int chose, int students) {
    return students > 0 ? QVariant(100.0 * chose / students) : QVariant();
}

} // namespace

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
                     QStringLiteral("Tercio inferior"),
                     QStringLiteral("% del tercio superior"),
                     QStringLiteral("% del tercio inferior"),
                     QStringLiteral("Aviso")};
    for (const LessonSummary& lesson : summary.lessons) {
        if (!only.isEmpty() && lesson.name != only)
            continue;
        for (const QuestionRow& q : lesson.questions) {
            for (const AnswerChoice& c : q.choices) {
                const QString name = AnswerName(c);
                table.rows.append({lesson.name, q.section, q.question, c.answer,
                                   c.verdict ? QVariant(VerdictText(*c.verdict)) : QVariant(),
                                   name.isEmpty() ? QVariant() : QVariant(name), c.first,
                                   q.students ? 100.0 * c.first / q.students : 0.0, c.upper,
                                   c.lower, share(c.upper, q.upperStudents),
                                   share(c.lower, q.lowerStudents),
                                   c.unchosen ? QVariant(kNadieLaElige) : QVariant()});
            }
        }
    }
    return table;
}

QString AnswerName(const AnswerChoice& choice) {
    return choice.answer == 0 ? QStringLiteral("ninguna de las respuestas") : choice.text;
}
