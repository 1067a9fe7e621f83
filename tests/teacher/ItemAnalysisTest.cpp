#include "teacher/AnswersTable.h"
#include "teacher/ClassSummary.h"
#include "teacher/DecimalCell.h"
#include "teacher/SummaryTable.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A key of one section whose first `gradable` questions have answers 1 (right), 2 and 3
// (wrong); the others have answers 1 and 2, neither right nor wrong.
QByteArray key(int questions, int gradable) {
    QByteArray bytes = ".Secci\xF3n 1\r\n";
    for (int q = 1; q <= questions; ++q) {
        bytes += ".cPregunta " + QByteArray::number(q) + "\r\n";
        bytes += q <= gradable ? ".r1\r\n.bBien\r\n.r2\r\n.mNo\r\n.r3\r\n.mNo\r\n"
                               : ".r1\r\n.pVale\r\n.r2\r\n.pVale\r\n";
    }
    return bytes;
}

// A register of one visit per student: "A:2-1" chose 2 first on question 1, left question 2
// unanswered and chose 1 on question 3, judged as key() judges.
QByteArray visits(const char* lesson, const QStringList& students, int gradable) {
    QByteArray bytes;
    for (const QString& student : students) {
        const QString name = student.section(u':', 0, 0);
        const QString answers = student.section(u':', 1);
        bytes +=
            (name + QStringLiteral(",07/12/2026,") + lesson + QStringLiteral("\r\n")).toLatin1();
        bytes += "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";
        for (int q = 0; q < answers.size(); ++q) {
            if (answers[q] == u'-')
                continue;
            const QString verdict = q >= gradable        ? QStringLiteral("Pendiente")
                                    : answers[q] == u'1' ? QStringLiteral("Correcta,si")
                                                         : QStringLiteral("Incorrecta");
            bytes += QStringLiteral("%1,1,%2,%3,%4\r\n")
                         .arg(name)
                         .arg(q + 1)
                         .arg(answers[q])
                         .arg(verdict)
                         .toLatin1();
        }
    }
    return bytes;
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Worked by hand. L: nine students, questions 1-4 gradable, 5 not. Right first attempts r:
// A3 B2 C2 D4 E1 F2 G1 H2 I1 (Σr 18, Σr² 44), marks 10·r/4; mean 45/9 = 5,0, median 5,0,
// spread √(50/9) = 2,36. Thirds of ⌈9/3⌉ = 3 by mark, ties by name: upper D A B (B ties with C F
// H at 5,0), lower E G I. Discrimination of q with x its 0/1 and y = r − x over the n who made
// an attempt at it: (nΣxy − ΣxΣy) / √((nΣx² − (Σx)²)(nΣy² − (Σy)²)); D: the right share of
// the upper third less that of the lower, of those who made an attempt.
// Alpha over 1.2-1.4 (1.1 does not vary): item variances ·n² 18 + 14 + 20 = 52, totals 2 1 1 3
// 0 1 0 1 0: 9·17 − 81 = 72, so 3/2·(1 − 52/72) = 0,42; error 2,36·√(1 − 0,42) = 1,8.
// 1.1: all right: x does not vary, blank; 100 % «muy fácil»; D 3/3 − 3/3.
// 1.2: right D F H (y 3 1 1): Σxy 5, Σy 15, Σy² 31: (45 − 45) / … = 0,00 «no separa»; upper
//      chose 2 twice, the right 1 once: «¿clave equivocada?»; D 1/3; alpha without it, over
//      1.3-1.4: 2·(1 − 34/54) = 0,74.
// 1.3: right A D (y 2 3): Σxy 5, Σy 16, Σy² 32: 13 / √(14·32) = 0,61; 2 of 9 «muy difícil»;
//      D 2/3; without it: 2·(1 − 38/32) = −0,38.
// 1.4: right A B C D (y 2 1 1 3), G left it, so over eight: Σxy 7, Σy 13, Σy² 25:
//      4 / √(16·31) = 0,18 «no separa»; 4 of 8; D 3/3 − 0/2 (G is not counted); without it:
//      2·(1 − 32/38) = 0,32.
// 1.5: no right answer in the key: no mark, no discrimination, no flag.
// P: two students, 2/3 = 6,7 (rounded up) and 1/3 = 3,3; figures without flags; only 1.2
//    varies, so no alpha.
// U: one student who left two questions: 3,3, in both thirds.
TEST(ItemAnalysisTest, FiguresOfAClassWorkedByHand) {
    QTemporaryDir dir;
    write(dir.filePath("L_CRJ.TXT"), key(5, 4));
    write(dir.filePath("L07122026_reg.csv"),
          visits("L",
                 {"A:12111", "B:12212", "C:1221", "D:11111", "E:1232", "F:11222", "G:132-1",
                  "H:1132", "I:12221"},
                 4));
    write(dir.filePath("P_CRJ.TXT"), key(3, 3));
    write(dir.filePath("P07122026_reg.csv"), visits("P", {"X:112", "Y:122"}, 3));
    write(dir.filePath("U_CRJ.TXT"), key(3, 3));
    write(dir.filePath("U07122026_reg.csv"), visits("U", {"Z:1"}, 3));

    QStringList shown;
    for (const LessonSummary& lesson : SummarizeFolder(dir.path(), false).lessons) {
        QStringList marks;
        for (const StudentRow& s : lesson.students)
            marks.append(s.name + u' ' + QString::number(s.mark / 10.0, 'f', 1));
        shown.append(lesson.name + u' ' + marks.join(u' '));
        shown.append(MarksLine(lesson));
        shown.append(TestLine(lesson));
        for (const QuestionRow& q : lesson.questions) {
            QStringList choices;
            for (const AnswerChoice& c : q.choices)
                choices.append(QStringLiteral("%1:%2/%3/%4")
                                   .arg(c.answer)
                                   .arg(c.first)
                                   .arg(c.upper)
                                   .arg(c.lower));
            auto figure = [](const std::optional<double>& f) {
                return f ? DecimalText({*f, 2}) : QString();
            };
            shown.append(QStringLiteral("%1.%2 | %3 | %4 | %5 | %6 | %7 %8")
                             .arg(q.section)
                             .arg(q.question)
                             .arg(QString::number(q.firstRightPercent, 'f', 1),
                                  figure(q.discrimination), FlagsText(q.flags), choices.join(u' '),
                                  figure(q.indexD), figure(q.alphaWithout)));
        }
    }
    EXPECT_EQ(shown,
              QStringList({
                  "L A 7.5 B 5.0 C 5.0 D 10.0 E 2.5 F 5.0 G 2.5 H 5.0 I 2.5",
                  "Notas de 9 alumnos (sobre 10): media 5,0; mediana 5,0; desviación típica 2,4.",
                  "Fiabilidad de la prueba (alfa) 0,42, sobre 3 cuestiones que varían. Error "
                  "típico de una nota: 1,8 puntos.",
                  "1.1 | 100.0 |  | muy fácil | 1:9/3/3 2:0/0/0 3:0/0/0 | 0.00 ",
                  "1.2 | 33.3 | 0.00 | no separa a quienes entendieron; ¿clave equivocada? | "
                  "1:3/1/0 2:5/2/2 3:1/0/1 | 0.33 0.74",
                  "1.3 | 22.2 | 0.61 | muy difícil | 1:2/2/0 2:5/1/2 3:2/0/1 | 0.67 -0.38",
                  "1.4 | 50.0 | 0.18 | no separa a quienes entendieron | 1:4/3/0 2:4/0/2 3:0/0/0 "
                  "| 1.00 0.32",
                  "1.5 | 0.0 |  |  | 1:4/2/2 2:2/1/0 |  ",
                  "P X 6.7 Y 3.3",
                  "Notas de 2 alumnos (sobre 10): media 5,0; mediana 5,0; desviación típica 1,7.",
                  "Fiabilidad de la prueba: no se puede calcular (hacen falta dos alumnos y dos "
                  "cuestiones que unos acierten y otros no).",
                  "1.1 | 100.0 |  |  | 1:2/1/1 2:0/0/0 3:0/0/0 | 0.00 ",
                  "1.2 | 50.0 |  |  | 1:1/1/0 2:1/0/1 3:0/0/0 | 1.00 ",
                  "1.3 | 0.0 |  |  | 1:0/0/0 2:2/1/1 3:0/0/0 | 0.00 ",
                  "U Z 3.3",
                  "Notas de 1 alumno (sobre 10): media 3,3; mediana 3,3; desviación típica 0,0.",
                  "Fiabilidad de la prueba: no se puede calcular (hacen falta dos alumnos y dos "
                  "cuestiones que unos acierten y otros no).",
                  "1.1 | 100.0 |  |  | 1:1/1/1 2:0/0/0 3:0/0/0 | 0.00 ",
              }));
}

// A discrimination of 0,1992 is shown as 0,20, and a question shown so does separate.
TEST(ItemAnalysisTest, ADiscriminationShownAsTheLeastSeparates) {
    QTemporaryDir dir;
    write(dir.filePath("L_CRJ.TXT"), key(4, 4));
    write(dir.filePath("L07122026_reg.csv"),
          visits("L",
                 {"A:1112", "B:2111", "C:1112", "D:1112", "E:1222", "F:2221", "G:2221", "H:2222",
                  "I:1111", "J:1122"},
                 4));
    const LessonSummary lesson = SummarizeFolder(dir.path(), false).lessons.value(0);
    ASSERT_FALSE(lesson.questions.isEmpty());
    const QuestionRow& first = lesson.questions.first();
    ASSERT_TRUE(first.discrimination);
    EXPECT_LT(*first.discrimination, kLeastDiscrimination);
    EXPECT_EQ(DecimalText({*first.discrimination, 2}, u','), "0,20");
    EXPECT_FALSE(first.flags.contains(kNoSepara)) << FlagsText(first.flags).toStdString();
}

// One first attempt everywhere: the first answer judged right or wrong, over all the visits; a
// «Pendiente» is no attempt. Question 1 has 1 right, 2 wrong, 3 «Pendiente»; question 2 is an
// opinion question. A: 3 then 1, right. B: only 3, no attempt. C: 2 then 1, wrong. D: 3 on one
// visit, 1 on the next, right.
TEST(ItemAnalysisTest, TheFirstAttemptIsTheFirstJudgedAnswerEverywhere) {
    QTemporaryDir dir;
    write(dir.filePath("F_CRJ.TXT"),
          ".Secci\xF3n 1\r\n.cUno\r\n.rS\xED\r\n.bBien\r\n.rNo\r\n.mMal\r\n"
          ".rQuiz\xE1s\r\n.pYa veremos\r\n.cOpini\xF3n\r\n.rA\r\n.pVale\r\n"
          ".rB\r\n.pVale\r\n");
    QByteArray reg;
    for (const char* visit :
         {"A:1,1,3,Pendiente|A,1,1,1,Correcta,si|A,1,2,2,Pendiente",
          "B:1,1,3,Pendiente|B,1,2,1,Pendiente", "C:1,1,2,Incorrecta|C,1,1,1,Correcta",
          "D:1,1,3,Pendiente", "D:1,1,1,Correcta,si"}) {
        const QByteArray v(visit);
        const QByteArray name = v.left(1);
        reg += name +
               ",07/12/2026,F\r\nNombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";
        reg += name + ',' + v.mid(2).replace('|', "\r\n") + "\r\n";
    }
    write(dir.filePath("F07122026_reg.csv"), reg);
    const ClassSummary summary = SummarizeFolder(dir.path(), false);
    ASSERT_EQ(summary.lessons.size(), 1);
    const LessonSummary& lesson = summary.lessons[0];
    QStringList marks;
    for (const StudentRow& s : lesson.students)
        marks.append(s.name + u' ' + QString::number(s.mark) + u' ' +
                     QString::number(s.firstRight));
    EXPECT_EQ(marks.join(u' '), "A 100 1 B 0 0 C 0 0 D 100 1");
    QStringList rows;
    for (const QVariantList& row : QuestionsTable(summary).rows)
        rows.append(QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(row[QCuestion].toInt())
                        .arg(row[QAlumnos].toInt())
                        .arg(DisplayCell(row[QPorcentajePrimer]), row[QRevisar].toString(),
                             row[QAviso].toString()));
    EXPECT_EQ(rows, QStringList({"1 3 66,7\u00A0%  ", "2 2   "}));
    QStringList answers;
    for (const QVariantList& row : AnswersTable(summary).rows)
        answers.append(QStringLiteral("%1.%2:%3 %4")
                           .arg(row[RCuestion].toInt())
                           .arg(row[RRespuesta].toInt())
                           .arg(row[RPrimeraEleccion].toInt())
                           .arg(DisplayCell(row[RPorcentaje])));
    EXPECT_EQ(answers.join(u' ').replace(u'\u00A0', u' '),
              "1.1:2 66,7 % 1.2:1 33,3 % 1.3:0 0,0 % 2.1:1 50,0 % 2.2:1 50,0 %");
}

// A simulated class of 47 (tests/data/analysis: make_class.py wrote it, reference.R computed its
// figures with R's psych package): the test's alpha, alpha without each question, and each
// question's discrimination, which is psych's corrected item–total correlation over the students
// who made an attempt at it. A question psych has no correlation for has none here either.
TEST(ItemAnalysisTest, AgreesWithPsychOnASimulatedClass) {
    QTemporaryDir dir;
    const QString data = QStringLiteral(DORVALIA_SOURCE "/tests/data/analysis/");
    for (const char* name : {"Clase_CRJ.TXT", "Clase13112026_reg.csv"})
        ASSERT_TRUE(QFile::copy(data + name, dir.filePath(name)));
    const ClassSummary summary = SummarizeFolder(dir.path(), false);
    ASSERT_EQ(summary.lessons.size(), 1);
    const LessonSummary& lesson = summary.lessons[0];
    ASSERT_EQ(lesson.students.size(), 47);
    QHash<QString, const QuestionRow*> rows;
    for (const QuestionRow& q : lesson.questions)
        rows.insert(QStringLiteral("q%1_%2").arg(q.section).arg(q.question), &q);

    QFile reference(data + "referencia.txt");
    ASSERT_TRUE(reference.open(QIODevice::ReadOnly | QIODevice::Text));
    QSet<QString> correlated;
    int figures = 0;
    while (!reference.atEnd()) {
        const QStringList f = QString::fromUtf8(reference.readLine()).trimmed().split(u' ');
        SCOPED_TRACE(f.join(u' ').toStdString());
        const double expected = f.last().toDouble();
        const QuestionRow* q = f.size() == 3 ? rows.value(f[1]) : nullptr;
        std::optional<double> figure = lesson.alpha;
        if (f[0] == "alfa_sin")
            figure = q ? q->alphaWithout : std::nullopt;
        else if (f[0] == "r_drop") {
            figure = q ? q->discrimination : std::nullopt;
            correlated.insert(f[1]);
        }
        ASSERT_TRUE(figure.has_value());
        EXPECT_NEAR(*figure, expected, 0.01);
        ++figures;
    }
    EXPECT_EQ(figures, 18);
    for (auto it = rows.cbegin(); it != rows.cend(); ++it)
        EXPECT_EQ(it.value()->discrimination.has_value(), correlated.contains(it.key()))
            << it.key().toStdString();
}

} // namespace
