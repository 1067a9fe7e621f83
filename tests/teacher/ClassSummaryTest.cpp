#include "teacher/ClassSummary.h"
#include "lesson/PublishedKey.h"
#include "study/RegisterLock.h"
#include "teacher/SummaryCsv.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// One register: visits of (name, date, entry lines), written as the student's program does.
void writeRegister(const QString& path,
                   const QList<std::tuple<QString, QString, QStringList>>& visits) {
    QByteArray bytes;
    for (const auto& [name, date, entries] : visits) {
        bytes += (name + u',' + date + QStringLiteral(",L\r\n")).toLatin1();
        bytes += "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";
        for (const QString& entry : entries)
            bytes += (name + u',' + entry + QStringLiteral("\r\n")).toLatin1();
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class ClassSummaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The first file by name holds the later day: time order is by the visit line's date.
        writeRegister(
            dir.filePath("L01122026_reg.csv"),
            {{"Ana", "07/12/2026", {"1,1,2,Incorrecta", "1,1,1,Correcta", "1,2,1,Correcta,si"}},
             {"Beto",
              "07/12/2026",
              {"1,1,0,Pendiente", "1,1,1,Correcta,si", "2,1,1,Correcta,si", "2,1,2,Incorrecta",
               "2,1,2,Incorrecta"}},
             {"", "07/12/2026", {"1,1,3,Incorrecta"}},
             {" ", "07/12/2026", {"1,1,2,Incorrecta"}}});
        writeRegister(dir.filePath("L02122026_reg.csv"),
                      {{" ana ", "06/12/2026", {"1,1,1,Correcta,si"}},
                       {"Carla",
                        "06/12/2026",
                        {"1,1,3,Incorrecta", "1,1,3,Incorrecta", "1,1,2,Incorrecta"}}});
    }

    // The key under the name given; a published key's name gets the published bytes.
    void writeKey(const QString& name) {
        QFile key(dir.filePath(name));
        ASSERT_TRUE(key.open(QIODevice::WriteOnly));
        const QByteArray plain(
            ".Secci\xF3n 1\r\n.c\xBFQui\xE9n?\r\n.rEl volc\xE1n\r\n.bBien\r\n.rEl "
            "r\xEDo\r\n.mNo\r\n"
            ".rNadie\r\n.mNo\r\n.cY\r\n.rS\xED\r\n.bBien\r\n.Secci\xF3n 2\r\n.cZ\r\n.rA\r\n.bB\r\n"
            ".rC\r\n.mD\r\n");
        key.write(IsPublishedKey(name) ? SealKey(plain, QStringLiteral("L")) : plain);
    }

    const LessonSummary& lesson(const ClassSummary& summary) {
        EXPECT_EQ(summary.lessons.size(), 1);
        return summary.lessons.at(0);
    }

    QTemporaryDir dir;
};

struct QuestionFigures {
    int section, question, students, firstRight;
    double percent;
    int mostWrong, mostWrongTimes;
    bool review;
    bool operator==(const QuestionFigures&) const = default;
};

QList<QuestionFigures> figures(const LessonSummary& lesson) {
    QList<QuestionFigures> rows;
    for (const QuestionRow& q : lesson.questions)
        rows.append({q.section, q.question, q.students, q.firstRight, q.firstRightPercent,
                     q.mostWrongAnswer, q.mostWrongTimes, q.review});
    return rows;
}

struct StudentFigures {
    QString name;
    int visits, accepted, correct, incorrect, pending, firstRight;
    bool operator==(const StudentFigures&) const = default;
};

QList<StudentFigures> figures(const QList<StudentRow>& students) {
    QList<StudentFigures> rows;
    for (const StudentRow& s : students)
        rows.append(
            {s.name, s.visits, s.accepted, s.correct, s.incorrect, s.pending, s.firstRight});
    return rows;
}

TEST_F(ClassSummaryTest, FiguresFollowTheDefinitions) {
    const ClassSummary summary = SummarizeFolder(dir.path(), false);
    EXPECT_EQ(summary.registersRead, 2);
    const LessonSummary& l = lesson(summary);
    EXPECT_EQ(l.name, "L");
    // 1,1: Ana's earliest visit (6 Dec) was right at once, Beto's after a "Pendiente"; the two
    // unnamed visits are two students; wrong answers 2 and 3 tie at 3 and 2 wins. 2,1: right
    // at once, but the wrong answer was chosen more often than the right one.
    EXPECT_EQ(figures(l), (QList<QuestionFigures>{{1, 1, 5, 2, 40.0, 2, 3, true},
                                                  {1, 2, 1, 1, 100.0, -1, 0, false},
                                                  {2, 1, 1, 1, 100.0, 2, 2, true}}));
    EXPECT_EQ(figures(l.students), (QList<StudentFigures>{{"ana", 2, 4, 3, 1, 0, 2},
                                                          {"Beto", 1, 5, 2, 2, 1, 2},
                                                          {"Carla", 1, 3, 0, 3, 0, 0},
                                                          {"(sin nombre)", 1, 1, 0, 1, 0, 0},
                                                          {"(sin nombre)", 1, 1, 0, 1, 0, 0}}));
    EXPECT_EQ(l.students[0].sectionsCompleted, -1);

    // From 7 December on, Ana's earliest visit to 1,1 is the one with a wrong answer first.
    const ClassSummary later = SummarizeFolder(dir.path(), false, QDate(2026, 12, 7));
    EXPECT_EQ(figures(lesson(later))[0], (QuestionFigures{1, 1, 4, 1, 25.0, 2, 2, true}));
    EXPECT_EQ(lesson(later).students[0].firstRight, 1);
    EXPECT_TRUE(SummarizeFolder(dir.path(), false, {}, QDate(2026, 12, 5)).lessons.isEmpty());
}

// A register that a student's program keeps locked is reported and left out; the others count.
TEST_F(ClassSummaryTest, OneUnreadableRegisterDoesNotStopTheOthers) {
    QLockFile saving(RegisterLockPath(dir.filePath("L01122026_reg.csv")));
    ASSERT_TRUE(saving.tryLock(0));
    const ClassSummary summary = SummarizeFolder(dir.path(), false);
    EXPECT_EQ(std::pair(summary.registersFound, summary.registersRead), std::pair(2, 1));
    ASSERT_EQ(summary.problems.size(), 1);
    EXPECT_EQ(summary.problems[0].line, 0);
    EXPECT_EQ(lesson(summary).students.size(), 2);
}

// A visit the web page saved is one more visit of the lesson's day, however often its file was
// dropped into the class's folders.
TEST_F(ClassSummaryTest, AWebPageRegisterCountsOnceWithTheLabs) {
    for (const QString& folder : {dir.path(), dir.filePath("copia")}) {
        QDir().mkpath(folder);
        writeRegister(QDir(folder).filePath("L081226_web-3f9a0c1e_reg.csv"),
                      {{"Dana", "08/12/26", {"1,1,1,Correcta,si"}}});
    }
    const ClassSummary summary = SummarizeFolder(dir.path(), true);
    EXPECT_EQ(summary.registersFound, 3);
    const QList<StudentRow>& students = lesson(summary).students;
    const auto dana = std::find_if(students.begin(), students.end(),
                                   [](const StudentRow& row) { return row.name == "Dana"; });
    ASSERT_NE(dana, students.end());
    EXPECT_EQ(dana->visits, 1);
    EXPECT_EQ(dana->visitDates, QList<QDate>{QDate(2026, 12, 8)});
}

// The key is found as the student's program finds it: by its name, in other letter case, or only
// as the class's published copy.
class KeyForms : public ClassSummaryTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KeyForms, TheKeyNamesQuestionsAndCountsCompletedSections) {
    writeKey(QString::fromLatin1(GetParam()));
    const ClassSummary summary = SummarizeFolder(dir.path(), false);
    const LessonSummary& l = lesson(summary);
    EXPECT_TRUE(l.hasKey);
    EXPECT_EQ(l.questions[0].text, "¿Quién?");
    EXPECT_EQ(l.questions[0].mostWrongText, "El río");
    QStringList sections;
    for (const StudentRow& s : l.students)
        sections.append(QString::number(s.sectionsCompleted) + u':' +
                        NumberList(s.sectionsPending));
    EXPECT_EQ(sections, QStringList({"1:2", "1:1", "0:1, 2", "0:1, 2", "0:1, 2"}));
}

INSTANTIATE_TEST_SUITE_P(ClassSummaryTest, KeyForms,
                         ::testing::Values("L_CRJ.TXT", "l_crj.txt", "L_CRJ.dvk"));

// A plain key beside the published one is read, and «Avisos» says so.
TEST_F(ClassSummaryTest, APlainKeyBesideThePublishedOneIsAWarning) {
    writeKey(QStringLiteral("L_CRJ.dvk"));
    writeKey(QStringLiteral("L_crj.txt"));
    const ClassSummary summary = SummarizeFolder(dir.path(), false);
    ASSERT_EQ(summary.notices.size(), 1);
    EXPECT_TRUE(summary.notices[0].file.endsWith("L_crj.txt"));
    EXPECT_TRUE(summary.notices[0].message.startsWith("junto a la clave publicada «L_CRJ.dvk»"));
}

TEST_F(ClassSummaryTest, CsvHasTheColumnsAndNumbersEverySpreadsheetReads) {
    writeRegister(dir.filePath("M07122026_reg.csv"),
                  {{"\"Pérez, Ana\"", "07/12/2026", {"1,1,1,Correcta,si"}},
                   {"'=Eva", "07/12/2026", {"1,1,2,Incorrecta"}}});
    QTemporaryDir out;
    QString failure;
    ASSERT_TRUE(WriteSummaryCsv(SummarizeFolder(dir.path(), false), out.filePath("csv"), failure));
    auto lines = [&](const char* name) {
        QFile file(QDir(out.filePath("csv")).filePath(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
        return QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    };
    const QStringList questions = lines("cuestiones.csv");
    EXPECT_TRUE(questions[0].startsWith(
        "Lección,Sección,Cuestión,Alumnos,Correctas al primer intento,% correctas al primer "
        "intento,Respuesta incorrecta más elegida,Veces elegida,"));
    EXPECT_TRUE(questions[1].startsWith("L,1,1,5,2,40.0,2,3,,,revisar,10,,,10.0,30.0,30.0,30.0"))
        << questions[1].toStdString();
    EXPECT_TRUE(questions[4].startsWith("M,1,1,2,1,50.0,2,1,,,,2,,,0.0,50.0,50.0"))
        << questions[4].toStdString();
    const QStringList students = lines("alumnos.csv");
    EXPECT_TRUE(students[0].startsWith("Lección,Alumno,Visitas,Respuestas aceptadas,Correctas,"
                                       "Incorrectas,Pendientes,Correctas al primer intento"));
    EXPECT_EQ(students.filter("M,").join(u'|'),
              "M,'=Eva,1,1,0,1,0,0,1,,,|M,\"Pérez, Ana\",1,1,1,0,0,1,1,,,");
    // Without a key nothing is judged: the first choices are counted all the same.
    EXPECT_EQ(lines("respuestas.csv").filter("M,").join(u'|'),
              "M,1,1,1,,,1,50.0,0,0,,,|M,1,1,2,,,1,50.0,0,0,,,");
}

} // namespace
