#include "teacher/ItemAnalysis.h"

#include "teacher/ClassSummary.h"
#include "teacher/DecimalCell.h"
#include "teacher/KeyOutline.h"
#include "teacher/Reliability.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

quint32 questionKey(int section, int question) {
    return quint32(section) << 16 | quint32(question);
}

// What one question gathers over the students who made an attempt at it: the sums of Pearson's
// correlation between being right on it (x) and the right first attempts on the lesson's other
// gradable questions (y), its thirds, and the first choices.
struct QuestionSums {
    qint64 n = 0, sx = 0, sy = 0, syy = 0, sxy = 0; // Σx² is Σx
    int upper = 0, lower = 0;                       // of them, in the upper and the lower third
    int rightUpper = 0, rightLower = 0;
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
        rightUpper += c.verdict == Verdict::Correcta ? c.upper : 0;
    for (const AnswerChoice& c : q.choices) {
        if (c.verdict == Verdict::Incorrecta && c.upper > rightUpper) {
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

QString TestLine(const LessonSummary& lesson) {
    if (!lesson.hasKey || lesson.gradable == 0)
        return {};
    if (!lesson.alpha)
        return QStringLiteral("Fiabilidad de la prueba: no se puede calcular (hacen falta dos "
                              "alumnos y dos cuestiones que unos acierten y otros no).");
    QString line = QStringLiteral("Fiabilidad de la prueba (alfa) %1, sobre %2.")
                       .arg(DecimalText({*lesson.alpha, 2}, u','),
                            lesson.varying == 1
                                ? QStringLiteral("1 cuestión que varía")
                                : QStringLiteral("%1 cuestiones que varían").arg(lesson.varying));
    if (lesson.standardError)
        line += QStringLiteral(" Error típico de una nota: %1 puntos.")
                    .arg(DecimalText({*lesson.standardError, 1}, u','));
    else
        line += QStringLiteral(" Con un alfa negativo la prueba no mide nada firme: no hay error "
                               "típico.");
    return line;
}

QString CautionLine(const LessonSummary& lesson) {
    if (lesson.gradable == 0 || lesson.students.size() >= kFewestForFirmFigures)
        return {};
    return QStringLiteral("Con %1 la fiabilidad, la discriminación y los tercios cambian mucho de "
                          "una clase a otra: tómelos como una orientación, no como una medida.")
        .arg(lesson.students.size() == 1
                 ? QStringLiteral("un solo alumno")
                 : QStringLiteral("solo %1 alumnos").arg(lesson.students.size()));
}

QString GroupLine() {
    return QStringLiteral(
        "Cada cuestión cuenta a los alumnos que la intentaron: su primer intento es la primera "
        "respuesta juzgada Correcta o Incorrecta (una «Pendiente» no es un intento). Sobre ellos "
        "se calculan la facilidad, la discriminación, el índice D y los tercios; en la nota y la "
        "fiabilidad, no intentarla cuenta como fallarla. Los tercios: los ⌈n/3⌉ alumnos de mejor "
        "y de peor nota; a igual nota en el límite, decide el nombre.");
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
    QHash<quint32, int> column; // a gradable question's column of right first attempts
    for (auto s = key.sections.cbegin(); s != key.sections.cend(); ++s) {
        for (int i = 0; i < s->size(); ++i) {
            const QuestionView& q = (*s)[i];
            keyed.insert(questionKey(s.key(), i + 1), &q);
            if (std::any_of(q.answers.cbegin(), q.answers.cend(),
                            [](const AnswerView& a) { return a.verdict == Verdict::Correcta; }))
                column.insert(questionKey(s.key(), i + 1), int(column.size()));
        }
    }
    lesson.gradable = int(column.size());
    const int n = int(lesson.students.size());
    // Not attempting a question counts as not getting it right, in the marks and the test's
    // figures alike.
    ScoreColumns scores(lesson.gradable, QList<quint8>(n, 0));
    QList<int> rights(n, 0), marks(n, -1);
    for (int i = 0; i < n; ++i) {
        StudentRow& student = lesson.students[i];
        for (const FirstAttempt& a : student.firstAttempts) {
            const int j = column.value(questionKey(a.section, a.question), -1);
            if (a.right && j >= 0) {
                ++rights[i];
                scores[j][i] = 1;
            }
        }
        student.mark = MarkTenths(rights[i], lesson.gradable);
        marks[i] = student.mark;
    }
    lesson.marks = MarkStatistics(marks);
    const QList<int> thirds = lesson.gradable ? Thirds(marks) : QList<int>(n, 0);
    lesson.thirdSize = lesson.gradable ? (n + 2) / 3 : 0;

    QList<int> varying;
    for (int j = 0; j < lesson.gradable; ++j) {
        if (Varies(scores[j]))
            varying.append(j);
    }
    lesson.varying = int(varying.size());
    lesson.alpha = Alpha(scores, varying);
    // A reliability under zero says nothing of the error: there is none to show.
    if (lesson.alpha && *lesson.alpha >= 0)
        lesson.standardError = lesson.marks.spread * std::sqrt(1 - std::min(1.0, *lesson.alpha));

    QHash<quint32, QuestionRow*> rows;
    for (QuestionRow& row : lesson.questions)
        rows.insert(questionKey(row.section, row.question), &row);
    QHash<quint32, QuestionSums> sums;
    for (int i = 0; i < n; ++i) {
        for (const FirstAttempt& a : lesson.students[i].firstAttempts) {
            const quint32 k = questionKey(a.section, a.question);
            const QuestionRow* row = rows.value(k);
            // One group per question: its figures count those who made an attempt at it.
            if (!row || !(a.judged || row->opinion))
                continue;
            QuestionSums& q = sums[k];
            AnswerChoice& choice = q.choices[a.answer];
            ++choice.first;
            choice.upper += (thirds[i] & kUpperThird) ? 1 : 0;
            choice.lower += (thirds[i] & kLowerThird) ? 1 : 0;
            q.upper += (thirds[i] & kUpperThird) ? 1 : 0;
            q.lower += (thirds[i] & kLowerThird) ? 1 : 0;
            const qint64 x = a.right && column.contains(k) ? 1 : 0;
            const qint64 y = rights[i] - x; // the right first attempts on the other questions
            ++q.n;
            q.sx += x;
            q.sy += y;
            q.syy += y * y;
            q.sxy += x * y;
            if (x) {
                q.rightUpper += (thirds[i] & kUpperThird) ? 1 : 0;
                q.rightLower += (thirds[i] & kLowerThird) ? 1 : 0;
            }
        }
    }
    for (QuestionRow& row : lesson.questions) {
        const quint32 k = questionKey(row.section, row.question);
        QuestionSums& q = sums[k];
        const int j = column.value(k, -1);
        row.gradable = j >= 0;
        row.upperStudents = q.upper;
        row.lowerStudents = q.lower;
        if (row.gradable) {
            row.discrimination = correlation(q.n, q.sx, q.sy, q.sx, q.syy, q.sxy);
            if (q.upper > 0 && q.lower > 0)
                row.indexD = double(q.rightUpper) / q.upper - double(q.rightLower) / q.lower;
            if (varying.contains(j)) {
                QList<int> others = varying;
                others.removeOne(j);
                row.alphaWithout = Alpha(scores, others);
            }
        }
        if (const QuestionView* view = keyed.value(k)) {
            if (!view->answers.isEmpty())
                row.chance = 1.0 / double(view->answers.size());
            for (int a = 1; a <= view->answers.size(); ++a) {
                AnswerChoice& choice = q.choices[a];
                choice.text = view->answers[a - 1].text;
                choice.verdict = view->answers[a - 1].verdict;
                choice.unchosen = choice.verdict == Verdict::Incorrecta && choice.first == 0 &&
                                  row.students >= kFewestForFlags;
            }
        }
        for (auto it = q.choices.begin(); it != q.choices.end(); ++it) {
            it->answer = it.key();
            row.choices.append(*it);
        }
        row.flags = flagsOf(row);
    }
}
