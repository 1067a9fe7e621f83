#include "teacher/ItemAnalysis.h"

#include "teacher/ClassSummary.h"
#include "teacher/DecimalCell.h"
#include "teacher/KeyOutline.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

const QString kCorrecta = QStringLiteral("Correcta");
const QString kIncorrecta = QStringLiteral("Incorrecta");

quint32 questionKey(int section, int question) {
    return quint32(section) << 16 | quint32(question);
}

// What one question gathers over the students: the sums of Pearson's correlation between being
// right on it (x) and the right first attempts on the lesson's other gradable questions (y),
// and the first choices.
struct QuestionSums {
    qint64 right = 0;      // Σx, which is Σx² too
    qint64 restRight = 0;  // Σxy
    qint64 lessSquare = 0; // what Σy² loses to x: Σ over x = 1 of 2r - 1
    QMap<int, AnswerChoice> choices;
};

std::optional<double> correlation(qint64 n, qint64 sx, qint64 sy, qint64 sxx, qint64 syy,
                                  qint64 sxy) {
    // Whole numbers up to here: a series that does not vary is found exactly.
    const qint64 vx = n * sxx - sx * sx;
    const qint64 vy = n * syy - sy * sy;
    if (vx <= 0 || vy <= 0)
        return std::nullopt;
    return double(n * sxy - sx * sy) / std::sqrt(double(vx) * double(vy));
}

QStringList flagsOf(const QuestionRow& q) {
    QStringList flags;
    if (!q.gradable || q.students < kFewestForFlags)
        return flags;
    if (q.firstRight * 10 >= q.students * 9)
        flags.append(kMuyFacil);
    if (q.firstRight * 4 < q.students)
        flags.append(kMuyDificil);
    // Judged as shown: a discrimination shown as 0,20 is not under 0,2.
    if (q.discrimination && std::round(*q.discrimination * 100) < kLeastDiscrimination * 100)
        flags.append(kNoSepara);
    int rightUpper = 0;
    for (const AnswerChoice& c : q.choices)
        rightUpper += c.verdict == kCorrecta ? c.upper : 0;
    for (const AnswerChoice& c : q.choices) {
        if (c.verdict == kIncorrecta && c.upper > rightUpper) {
            flags.append(kClaveEquivocada);
            break;
        }
    }
    return flags;
}

} // namespace

QList<int> Thirds(const QList<int>& marks) {
    const int n = int(marks.size());
    QList<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return marks[a] > marks[b]; });
    const int third = (n + 2) / 3;
    QList<int> thirds(n, 0);
    for (int i = 0; i < third; ++i) {
        thirds[order[i]] |= kUpperThird;
        thirds[order[n - 1 - i]] |= kLowerThird;
    }
    return thirds;
}

QString FlagsText(const QStringList& flags) {
    return flags.join(QStringLiteral("; "));
}

QString MarksLine(const LessonSummary& lesson) {
    if (!lesson.hasKey)
        return QStringLiteral("Sin la clave no hay notas.");
    if (lesson.gradable == 0)
        return QStringLiteral("Sin notas: ninguna cuestión tiene respuesta correcta en la clave.");
    const MarkStats& m = lesson.marks;
    auto mark = [](double value) { return DecimalText({value, 1}, u','); };
    return QStringLiteral("Notas de %1 (sobre 10): media %2; mediana %3; desviación típica %4.")
        .arg(m.count == 1 ? QStringLiteral("1 alumno") : QStringLiteral("%1 alumnos").arg(m.count),
             mark(m.mean), mark(m.median), mark(m.spread));
}

QStringList FlagLines(const LessonSummary& lesson) {
    QStringList lines;
    for (const QuestionRow& q : lesson.questions) {
        if (!q.flags.isEmpty())
            lines.append(
                QStringLiteral("%1.%2: %3").arg(q.section).arg(q.question).arg(FlagsText(q.flags)));
    }
    return lines;
}

void AnalyseLesson(LessonSummary& lesson, const KeyOutline& key) {
    QHash<quint32, const QuestionView*> keyed;
    QSet<quint32> gradable;
    for (auto s = key.sections.cbegin(); s != key.sections.cend(); ++s) {
        for (int i = 0; i < s->size(); ++i) {
            const QuestionView& q = (*s)[i];
            keyed.insert(questionKey(s.key(), i + 1), &q);
            if (std::any_of(q.answers.cbegin(), q.answers.cend(),
                            [](const AnswerView& a) { return a.verdict == kCorrecta; }))
                gradable.insert(questionKey(s.key(), i + 1));
        }
    }
    lesson.gradable = int(gradable.size());
    const int n = int(lesson.students.size());
    QList<int> rights(n, 0), marks(n, -1);
    for (int i = 0; i < n; ++i) {
        StudentRow& student = lesson.students[i];
        student.gradableAnswered = 0;
        for (const FirstAttempt& a : student.firstAttempts) {
            const bool counted = gradable.contains(questionKey(a.section, a.question));
            rights[i] += a.right && counted;
            student.gradableAnswered += counted;
        }
        student.mark = MarkTenths(rights[i], lesson.gradable);
        marks[i] = student.mark;
    }
    lesson.marks = MarkStatistics(marks);
    const QList<int> thirds = lesson.gradable ? Thirds(marks) : QList<int>(n, 0);
    lesson.thirdSize = lesson.gradable ? (n + 2) / 3 : 0;

    QHash<quint32, QuestionSums> sums;
    qint64 total = 0, totalSquares = 0;
    for (int i = 0; i < n; ++i) {
        const qint64 r = rights[i];
        total += r;
        totalSquares += r * r;
        for (const FirstAttempt& a : lesson.students[i].firstAttempts) {
            const quint32 k = questionKey(a.section, a.question);
            QuestionSums& q = sums[k];
            AnswerChoice& choice = q.choices[a.answer];
            ++choice.first;
            choice.upper += (thirds[i] & kUpperThird) ? 1 : 0;
            choice.lower += (thirds[i] & kLowerThird) ? 1 : 0;
            if (a.right && gradable.contains(k)) {
                ++q.right;
                q.restRight += r - 1;
                q.lessSquare += 2 * r - 1;
            }
        }
    }
    for (QuestionRow& row : lesson.questions) {
        const quint32 k = questionKey(row.section, row.question);
        QuestionSums& q = sums[k];
        row.gradable = gradable.contains(k);
        if (row.gradable)
            row.discrimination = correlation(n, q.right, total - q.right, q.right,
                                             totalSquares - q.lessSquare, q.restRight);
        if (const QuestionView* view = keyed.value(k)) {
            for (int a = 1; a <= view->answers.size(); ++a) {
                AnswerChoice& choice = q.choices[a];
                choice.text = view->answers[a - 1].text;
                choice.verdict = view->answers[a - 1].verdict;
            }
        }
        for (auto it = q.choices.begin(); it != q.choices.end(); ++it) {
            it->answer = it.key();
            row.choices.append(*it);
        }
        row.flags = flagsOf(row);
    }
}
