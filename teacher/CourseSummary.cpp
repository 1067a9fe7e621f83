#include "teacher/CourseSummary.h"

#include "teacher/DecimalCell.h"
#include "teacher/RegisterDates.h"
#include "teacher/Words.h"

#include <QCollator>
#include <QHash>

#include <algorithm>

namespace {

QDate firstDate(const CourseLesson& lesson) {
    for (const QDate& date : lesson.visitDates) {
        if (date.isValid())
            return date;
    }
    return {};
}

CourseLesson pageLesson(const LessonSummary& lesson, const StudentRow& row) {
    CourseLesson page;
    page.lesson = lesson.name;
    page.hasKey = lesson.hasKey;
    page.visitDates = row.visitDates;
    page.visits = row.visits;
    page.accepted = row.accepted;
    page.questionsAnswered = row.questionsAnswered;
    page.firstRight = row.firstRight;
    page.sectionsCompleted = row.sectionsCompleted;
    if (row.sectionsCompleted >= 0)
        page.sectionsOffered = row.sectionsCompleted + int(row.sectionsPending.size());
    page.wrongAtLast = row.wrongAtLast;
    page.mark = row.mark;
    return page;
}

QVariant percentCell(int firstRight, int questionsAnswered) {
    const double percent = FirstRightPercent(firstRight, questionsAnswered);
    return percent >= 0 ? QVariant(percent) : QVariant();
}

} // namespace

double FirstRightPercent(int firstRight, int questionsAnswered) {
    return questionsAnswered > 0 ? 100.0 * firstRight / questionsAnswered : -1;
}

QList<CourseStudent> CourseStudents(const ClassSummary& summary) {
    QList<CourseStudent> students;
    QHash<QString, int> byName;
    for (const LessonSummary& lesson : summary.lessons) {
        for (const StudentRow& row : lesson.students) {
            if (!row.named)
                continue;
            const QString id = row.name.toCaseFolded();
            int at = byName.value(id, -1);
            if (at < 0) {
                at = int(students.size());
                byName.insert(id, at);
                students.append(CourseStudent());
                students.last().name = row.name;
            }
            CourseStudent& student = students[at];
            student.visits += row.visits;
            student.accepted += row.accepted;
            student.questionsAnswered += row.questionsAnswered;
            student.firstRight += row.firstRight;
            if (row.sectionsCompleted >= 0) {
                student.sectionsCompleted =
                    std::max(0, student.sectionsCompleted) + row.sectionsCompleted;
                student.sectionsOffered = std::max(0, student.sectionsOffered) +
                                          row.sectionsCompleted + int(row.sectionsPending.size());
            }
            for (const QDate& date : row.visitDates) {
                if (date.isValid() && (!student.lastVisit.isValid() || date > student.lastVisit))
                    student.lastVisit = date;
            }
            student.lessons.append(pageLesson(lesson, row));
        }
    }
    for (CourseStudent& student : students) {
        // The lessons come by name; a lesson without a dated visit goes last.
        std::stable_sort(student.lessons.begin(), student.lessons.end(),
                         [](const CourseLesson& a, const CourseLesson& b) {
                             const QDate da = firstDate(a), db = firstDate(b);
                             if (da.isValid() != db.isValid())
                                 return da.isValid();
                             return da < db;
                         });
    }
    QCollator collator(QLocale(QLocale::Spanish, QLocale::Spain));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    std::stable_sort(students.begin(), students.end(),
                     [&](const CourseStudent& a, const CourseStudent& b) {
                         return collator.compare(a.name, b.name) < 0;
                     });
    return students;
}

const CourseStudent* FindCourseStudent(const QList<CourseStudent>& students, const QString& name) {
    const QString id = name.trimmed().toCaseFolded();
    for (const CourseStudent& student : students) {
        if (student.name.toCaseFolded() == id)
            return &student;
    }
    // "Lucia" typed without its accent finds «Lucía», when no other student reads so.
    const QString plain = PlainName(name);
    const CourseStudent* found = nullptr;
    for (const CourseStudent& student : students) {
        if (PlainName(student.name) == plain) {
            if (found)
                return nullptr;
            found = &student;
        }
    }
    return found;
}

int MeanMarkTenths(const CourseStudent& student) {
    int sum = 0, count = 0;
    for (const CourseLesson& lesson : student.lessons) {
        if (lesson.mark >= 0) {
            sum += lesson.mark;
            ++count;
        }
    }
    // In whole tenths, halves up, as each mark is rounded.
    return count ? (2 * sum + count) / (2 * count) : -1;
}

SummaryTable CourseTable(const QList<CourseStudent>& students) {
    SummaryTable table;
    table.headers = {QStringLiteral("Alumno"),
                     QStringLiteral("Lecciones"),
                     QStringLiteral("Visitas"),
                     QStringLiteral("Respuestas aceptadas"),
                     QStringLiteral("% correctas al primer intento"),
                     QStringLiteral("Secciones completadas"),
                     QStringLiteral("Secciones ofrecidas"),
                     QStringLiteral("Última visita"),
                     QStringLiteral("Cuestiones respondidas"),
                     QStringLiteral("Correctas al primer intento"),
                     QStringLiteral("Nota media")};
    // A mark per lesson, in the lessons' order by name, after the fixed columns.
    QStringList lessons;
    for (const CourseStudent& s : students) {
        for (const CourseLesson& lesson : s.lessons) {
            if (!lessons.contains(lesson.lesson))
                lessons.append(lesson.lesson);
        }
    }
    std::sort(lessons.begin(), lessons.end());
    for (const QString& lesson : lessons)
        table.headers.append(QStringLiteral("Nota %1").arg(lesson));
    const auto markCell = [](int tenths) {
        return tenths >= 0 ? DecimalCell(tenths / 10.0, 1) : QVariant();
    };
    for (const CourseStudent& s : students) {
        const bool key = s.sectionsOffered >= 0;
        QVariantList row = {s.name,
                            int(s.lessons.size()),
                            s.visits,
                            s.accepted,
                            percentCell(s.firstRight, s.questionsAnswered),
                            key ? QVariant(s.sectionsCompleted) : QVariant(),
                            key ? QVariant(s.sectionsOffered) : QVariant(),
                            s.lastVisit.isValid() ? QVariant(s.lastVisit) : QVariant(),
                            s.questionsAnswered,
                            s.firstRight,
                            markCell(MeanMarkTenths(s))};
        for (const QString& name : lessons) {
            int mark = -1;
            for (const CourseLesson& lesson : s.lessons)
                mark = lesson.lesson == name ? lesson.mark : mark;
            row.append(markCell(mark));
        }
        table.rows.append(row);
    }
    return table;
}

QString SectionsText(int completed, int offered) {
    if (completed < 0)
        return QStringLiteral("sin clave");
    return QStringLiteral("%1 de %2").arg(completed).arg(offered);
}

QString VisitDatesText(const QList<QDate>& dates) {
    QStringList texts;
    for (const QDate& date : dates)
        texts.append(date.isValid() ? TeacherDate(date) : QStringLiteral("fecha desconocida"));
    return texts.join(QStringLiteral(", "));
}

SummaryTable StudentPageTable(const CourseStudent& student) {
    SummaryTable table;
    table.headers = {QStringLiteral("Lección"),
                     QStringLiteral("Visitas"),
                     QStringLiteral("Nota"),
                     QStringLiteral("% correctas al primer intento"),
                     QStringLiteral("Secciones completadas"),
                     QStringLiteral("Cuestiones por retomar")};
    for (const CourseLesson& lesson : student.lessons) {
        QStringList wrong;
        for (const WrongQuestion& q : lesson.wrongAtLast)
            wrong.append(QStringLiteral("%1.%2").arg(q.section).arg(q.question));
        table.rows.append(
            {lesson.lesson, VisitDatesText(lesson.visitDates),
             lesson.mark >= 0 ? DecimalCell(lesson.mark / 10.0, 1) : QVariant(),
             percentCell(lesson.firstRight, lesson.questionsAnswered),
             SectionsText(lesson.sectionsCompleted, lesson.sectionsOffered),
             wrong.isEmpty() ? QVariant() : QVariant(wrong.join(QStringLiteral(", ")))});
    }
    return table;
}

QString StudentLine(const CourseStudent& student) {
    QStringList parts = {
        Counted(int(student.lessons.size()), QStringLiteral("lección"),
                QStringLiteral("lecciones")),
        Counted(student.visits, QStringLiteral("visita"), QStringLiteral("visitas"))};
    const double percent = FirstRightPercent(student.firstRight, student.questionsAnswered);
    if (percent >= 0)
        parts.append(QStringLiteral("%1 correctas al primer intento").arg(DisplayCell(percent)));
    if (student.sectionsOffered >= 0)
        parts.append(QStringLiteral("%1 secciones completadas")
                         .arg(SectionsText(student.sectionsCompleted, student.sectionsOffered)));
    QString line = parts.join(QStringLiteral(", "));
    if (student.lastVisit.isValid())
        line += QStringLiteral("; última visita el %1").arg(TeacherDate(student.lastVisit));
    return line + u'.';
}

QStringList ToTakeUpAgain(const CourseStudent& student) {
    QStringList lines;
    for (const CourseLesson& lesson : student.lessons) {
        for (const WrongQuestion& q : lesson.wrongAtLast) {
            QString line = QStringLiteral("%1, cuestión %2.%3")
                               .arg(lesson.lesson)
                               .arg(q.section)
                               .arg(q.question);
            if (!q.text.isEmpty())
                line += QStringLiteral(": ") + q.text;
            lines.append(line);
        }
    }
    return lines;
}
