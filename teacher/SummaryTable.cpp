#include "teacher/SummaryTable.h"

#include "teacher/DecimalCell.h"
#include "teacher/RegisterDates.h"

#include <QLocale>

namespace {

bool wanted(const LessonSummary& lesson, const QString& only) {
    return only.isEmpty() || lesson.name == only;
}

QVariant textOrEmpty(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

SummaryTable QuestionsTable(const ClassSummary& summary, const QString& only) {
    SummaryTable table;
    table.headers = {QStringLiteral("Lección"),
                     QStringLiteral("Sección"),
                     QStringLiteral("Cuestión"),
                     QStringLiteral("Alumnos"),
                     QStringLiteral("Correctas al primer intento"),
                     QStringLiteral("% correctas al primer intento"),
                     QStringLiteral("Respuesta incorrecta más elegida"),
                     QStringLiteral("Veces elegida"),
                     QStringLiteral("Texto de la cuestión"),
                     QStringLiteral("Texto de la respuesta incorrecta más elegida"),
                     QStringLiteral("Revisar"),
                     QStringLiteral("Respuestas aceptadas"),
                     QStringLiteral("Discriminación"),
                     QStringLiteral("Aviso"),
                     QStringLiteral("% ninguna de las respuestas")};
    int maxAnswer = 0;
    for (const LessonSummary& lesson : summary.lessons) {
        if (wanted(lesson, only))
            maxAnswer = std::max(maxAnswer, lesson.maxAnswer);
    }
    for (int k = 1; k <= maxAnswer; ++k)
        table.headers.append(QStringLiteral("% respuesta %1").arg(k));
    for (const LessonSummary& lesson : summary.lessons) {
        if (!wanted(lesson, only))
            continue;
        for (const QuestionRow& q : lesson.questions) {
            QVariantList row = {lesson.name,
                                q.section,
                                q.question,
                                q.students,
                                q.firstRight,
                                q.firstRightPercent,
                                q.mostWrongAnswer >= 0 ? QVariant(q.mostWrongAnswer) : QVariant(),
                                q.mostWrongTimes,
                                textOrEmpty(q.text),
                                textOrEmpty(q.mostWrongText),
                                q.review ? QVariant(kRevisar) : QVariant(),
                                q.accepted,
                                q.discrimination ? DecimalCell(*q.discrimination, 2) : QVariant(),
                                textOrEmpty(FlagsText(q.flags))};
            for (int k = 0; k <= maxAnswer; ++k)
                row.append(q.accepted ? 100.0 * q.answerTimes.value(k) / q.accepted : 0.0);
            table.rows.append(row);
        }
    }
    return table;
}

SummaryTable StudentsTable(const ClassSummary& summary, const QString& only) {
    SummaryTable table;
    table.headers = {QStringLiteral("Lección"),
                     QStringLiteral("Alumno"),
                     QStringLiteral("Visitas"),
                     QStringLiteral("Respuestas aceptadas"),
                     QStringLiteral("Correctas"),
                     QStringLiteral("Incorrectas"),
                     QStringLiteral("Pendientes"),
                     QStringLiteral("Correctas al primer intento"),
                     QStringLiteral("Cuestiones respondidas"),
                     QStringLiteral("Secciones completadas"),
                     QStringLiteral("Números de las secciones sin completar"),
                     QStringLiteral("Nota")};
    for (const LessonSummary& lesson : summary.lessons) {
        if (!wanted(lesson, only))
            continue;
        for (const StudentRow& s : lesson.students) {
            const bool key = s.sectionsCompleted >= 0;
            table.rows.append({lesson.name, s.name, s.visits, s.accepted, s.correct, s.incorrect,
                               s.pending, s.firstRight, s.questionsAnswered,
                               key ? QVariant(s.sectionsCompleted) : QVariant(),
                               key ? textOrEmpty(NumberList(s.sectionsPending)) : QVariant(),
                               s.mark >= 0 ? DecimalCell(s.mark / 10.0, 1) : QVariant()});
        }
    }
    return table;
}

QString DisplayCell(const QVariant& value) {
    static const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    if (IsDecimal(value))
        return DecimalText(value.value<Decimal>(), u',');
    switch (value.typeId()) {
    case QMetaType::Int:
        return spanish.toString(value.toInt());
    case QMetaType::Double:
        return spanish.toString(value.toDouble(), 'f', 1) + QStringLiteral("\u00A0%");
    case QMetaType::QDate:
        return TeacherDate(value.toDate());
    default:
        return value.toString();
    }
}
