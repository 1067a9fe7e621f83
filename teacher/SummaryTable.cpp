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
    // After the answers' shares, so that the columns teachers' spreadsheets read stay in place.
    table.headers +=
        {QStringLiteral("% al azar"), QStringLiteral("Índice D"), QStringLiteral("Alfa sin ella")};
    for (const LessonSummary& lesson : summary.lessons) {
        if (!wanted(lesson, only))
            continue;
        for (const QuestionRow& q : lesson.questions) {
            // An opinion question has no right answer: no facility to show.
            const QVariant facility = q.opinion ? QVariant() : QVariant(q.firstRightPercent);
            QVariantList row = {lesson.name,
                                q.section,
                                q.question,
                                q.students,
                                q.opinion ? QVariant() : QVariant(q.firstRight),
                                facility,
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
            row += {q.chance > 0 && !q.opinion ? QVariant(100.0 * q.chance) : QVariant(),
                    q.indexD ? DecimalCell(*q.indexD, 2) : QVariant(),
                    q.alphaWithout ? DecimalCell(*q.alphaWithout, 2) : QVariant()};
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

SummaryTable TestTable(const ClassSummary& summary, const QString& only) {
    SummaryTable table;
    table.headers = {QStringLiteral("Lección"),    QStringLiteral("Alumnos"),
                     QStringLiteral("Cuestiones"), QStringLiteral("Media"),
                     QStringLiteral("Mediana"),    QStringLiteral("Desviación típica"),
                     QStringLiteral("Alfa"),       QStringLiteral("Error típico")};
    for (const LessonSummary& lesson : summary.lessons) {
        if (!wanted(lesson, only))
            continue;
        const bool marks = lesson.hasKey && lesson.gradable > 0;
        const auto decimal = [&](double value, int places) {
            return marks ? DecimalCell(value, places) : QVariant();
        };
        table.rows.append(
            {lesson.name, int(lesson.students.size()),
             lesson.hasKey ? QVariant(lesson.gradable) : QVariant(), decimal(lesson.marks.mean, 1),
             decimal(lesson.marks.median, 1), decimal(lesson.marks.spread, 1),
             lesson.alpha ? DecimalCell(*lesson.alpha, 2) : QVariant(),
             lesson.standardError ? DecimalCell(*lesson.standardError, 1) : QVariant()});
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
