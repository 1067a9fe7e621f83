#include "teacher/CourseSummary.h"
#include "lesson/LessonFiles.h"
#include "teacher/SummaryCsv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kColumns = "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";

// A register dated by its name, last written on that day, as the student's program leaves it.
void writeFile(const QString& path, const QByteArray& bytes, const QDate& day) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.flush();
    file.setFileTime(QDateTime(day, QTime(18, 0)), QFileDevice::FileModificationTime);
}

// A key with the number of questions of each section; question S.Q reads "Pregunta S.Q".
void writeKey(const QString& folder, const QString& lesson, const QList<int>& sections) {
    QByteArray bytes;
    for (int s = 0; s < sections.size(); ++s) {
        bytes += ".Secci\xF3n " + QByteArray::number(s + 1) + "\r\n";
        for (int q = 1; q <= sections[s]; ++q)
            bytes += ".cPregunta " + QByteArray::number(s + 1) + '.' + QByteArray::number(q) +
                     "\r\n.rS\xED\r\n.bBien\r\n.rNo\r\n.mNo\r\n.rQuiz\xE1s\r\n.mNo\r\n";
    }
    QFile file(QDir(folder).filePath(KeyName(lesson)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Three students over four lessons in October and November. «Lucía» types her name three ways;
// Ana's name holds a comma, quoted by the present program and bare in the older one's register
// of lesson B; lesson C has no key.
class CourseSummaryTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString f = dir.path() + u'/';
        writeKey(f, "A", {2, 1});
        writeKey(f, "B", {2});
        writeKey(f, "D", {1});
        writeFile(
            f + "A05102026_reg.csv",
            "Luc\xED"
            "a,05/10/2026,A\r\n" +
                kColumns +
                "Luc\xED"
                "a,1,1,1,Correcta,si\r\nLuc\xED"
                "a,1,2,2,Incorrecta\r\n"
                "Luc\xED"
                "a,1,2,1,Correcta\r\nLuc\xED"
                "a,2,1,2,Incorrecta\r\n"
                "\"P\xE9rez, Ana\",05/10/2026,A\r\n" +
                kColumns +
                "\"P\xE9rez, Ana\",1,1,1,Correcta,si\r\n\"P\xE9rez, Ana\",1,2,1,Correcta,si\r\n"
                "\"P\xE9rez, Ana\",2,1,1,Correcta,si\r\n",
            {2026, 10, 5});
        writeFile(f + "A12102026_reg.csv",
                  "lucia ,12/10/2026,A\r\n" + kColumns + "lucia ,2,1,1,Correcta\r\n",
                  {2026, 10, 12});
        writeFile(f + "B20102026_reg.csv",
                  "P\xC3\xA9rez, Ana,20/10/2026,B\nNombre,Secci\xC3\xB3n,Cuesti\xC3\xB3n,Respuesta,"
                  "Juicio,1er intento\nP\xC3\xA9rez, Ana,1,1,2,Incorrecta\n"
                  "P\xC3\xA9rez, Ana,1,1,1,Correcta\nBeto,20/10/2026,B\nNombre,Secci\xC3\xB3n,"
                  "Cuesti\xC3\xB3n,Respuesta,Juicio,1er intento\nBeto,1,1,1,Correcta,si\n"
                  "Beto,1,2,3,Incorrecta\n",
                  {2026, 10, 20});
        writeFile(f + "C03112026_reg.csv",
                  "LUCIA G.,03/11/2026,C\r\n" + kColumns +
                      "LUCIA G.,1,1,1,Correcta,si\r\nLUCIA G.,1,2,2,Incorrecta\r\n"
                      "Beto,03/11/2026,C\r\n" +
                      kColumns + "Beto,1,1,1,Correcta,si\r\n",
                  {2026, 11, 3});
        writeFile(f + "D10112026_reg.csv",
                  "Luc\xED"
                  "a,10/11/2026,D\r\n" +
                      kColumns +
                      "Luc\xED"
                      "a,1,1,2,Incorrecta\r\nLuc\xED"
                      "a,1,1,1,Correcta\r\n"
                      "lucia,10/11/2026,D\r\n" +
                      kColumns + "lucia,1,1,2,Incorrecta\r\n",
                  {2026, 11, 10});
        writeFile(f + "D17112026_reg.csv",
                  "Beto,17/11/2026,D\r\n" + kColumns + "Beto,1,1,1,Correcta,si\r\n",
                  {2026, 11, 17});
        names.join("lucia", "Lucía");
        names.join("LUCIA G.", "Lucía");
    }

    QTemporaryDir dir;
    StudentNames names;
};

QStringList shownNames(const QList<CourseStudent>& students) {
    QStringList shown;
    for (const CourseStudent& s : students)
        shown.append(s.name);
    return shown;
}

TEST_F(CourseSummaryTest, CursoCsvAndAStudentsPageFollowTheDefinitions) {
    const ClassSummary summary = SummarizeFolder(dir.path(), false, {}, {}, {}, names);
    // The older program's bare comma is read and named, nothing else is doubtful.
    for (const RegisterProblem& p : AllWarnings(summary))
        EXPECT_TRUE(p.message.contains("versión antigua")) << p.message.toStdString();
    QTemporaryDir out;
    QString failure;
    ASSERT_TRUE(WriteSummaryCsv(summary, out.path(), failure)) << failure.toStdString();
    QFile csv(QDir(out.path()).filePath("curso.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    // Lucía: 6 questions met (A 3, C 2, D 1), 2 right at once; sections of A and D, C has no
    // key. Ana: B's section left half done. Beto's first attempts: B 1 of 2, C and D 1 of 1.
    // Marks: Lucía A 1 of 3, D 0 of 1, mean 1,65 up to 1,7; Ana A 3 of 3, B 0 of 2; Beto B 1
    // of 2, D 1 of 1; C has none.
    EXPECT_EQ(csv.readAll().toStdString(),
              "\xEF\xBB\xBF"
              "Alumno,Lecciones,Visitas,Respuestas aceptadas,% correctas al primer intento,"
              "Secciones completadas,Secciones ofrecidas,Última visita,Cuestiones respondidas,"
              "Correctas al primer intento,Nota media,Nota A,Nota B,Nota C,Nota D\r\n"
              "Beto,3,3,4,75.0,2,2,2026-11-17,4,3,7.5,,5.0,,10.0\r\n"
              "Lucía,3,5,10,33.3,3,3,2026-11-10,6,2,1.7,3.3,,,0.0\r\n"
              "\"Pérez, Ana\",2,2,5,75.0,2,3,2026-10-20,4,3,5.0,10.0,0.0,,\r\n");
    csv.close(); // Windows replaces no file that is open
    // For a Spanish Excel: semicolons, decimal commas and its own day/month/year.
    ASSERT_TRUE(WriteSummaryCsv(summary, out.path(), failure, CsvStyle::SpanishExcel))
        << failure.toStdString();
    QFile excel(QDir(out.path()).filePath("curso.csv"));
    ASSERT_TRUE(excel.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        excel.readAll().contains("\r\nLucía;3;5;10;33,3;3;3;10/11/2026;6;2;1,7;3,3;;;0,0\r\n"));

    // Her page: lessons in time order, and what was still wrong at the last attempt.
    const QList<CourseStudent> students = CourseStudents(summary);
    const CourseStudent* lucia = FindCourseStudent(students, "LUCÍA");
    ASSERT_NE(lucia, nullptr);
    EXPECT_EQ(FindCourseStudent(students, "perez, ana"), &students[2]);
    // Without the joins, "lucia" is a student of her own, and "Lucia" could be two.
    const QList<CourseStudent> apartStudents = CourseStudents(SummarizeFolder(dir.path(), false));
    EXPECT_EQ(FindCourseStudent(apartStudents, "Lucia")->name, "lucia");
    EXPECT_EQ(FindCourseStudent(apartStudents, "LUCIÁ"), nullptr);
    const SummaryTable page = StudentPageTable(*lucia);
    QList<QStringList> cells;
    for (const QVariantList& row : page.rows) {
        QStringList texts;
        for (const QVariant& value : row)
            texts.append(DisplayCell(value));
        cells.append(texts);
    }
    EXPECT_EQ(cells, (QList<QStringList>{
                         {"A", "05/10/2026, 12/10/2026", "3,3", "33,3\u00A0%", "2 de 2", ""},
                         {"C", "03/11/2026", "", "50,0\u00A0%", "sin clave", "1.2"},
                         {"D", "10/11/2026, 10/11/2026", "0,0", "0,0\u00A0%", "1 de 1", "1.1"}}));
    ASSERT_EQ(lucia->lessons[2].wrongAtLast.size(), 1);
    EXPECT_EQ(lucia->lessons[2].wrongAtLast[0].text, "Pregunta 1.1");
    EXPECT_EQ(lucia->lessons[1].wrongAtLast[0].text, "");

    // Without the joins, today's rule (trimmed, case ignored) keeps three names apart, and the
    // class summary's own per-lesson rows follow the joins too.
    const ClassSummary apart = SummarizeFolder(dir.path(), false);
    EXPECT_EQ(shownNames(CourseStudents(apart)),
              (QStringList{"Beto", "lucia", "Lucía", "LUCIA G.", "Pérez, Ana"}));
    EXPECT_EQ(apart.lessons[3].students.size(), 3);
    EXPECT_EQ(summary.lessons[3].students.size(), 2);
}

TEST_F(CourseSummaryTest, LikelyMatchesAndJoinsKeptInTheTeachersFile) {
    EXPECT_EQ(LikelyMatches({"Beto", "LUCIA G.", "Lucía", "lucia", "Lucas", "Pérez, Ana"}).size(),
              3);
    const QList<LikelyMatch> one = LikelyMatches({"Ana", "Anabel", "Beto"});
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one[0].second, "Anabel");

    const QString path = dir.filePath(kJoinsFileName);
    QString failure;
    ASSERT_TRUE(names.save(path, failure));
    StudentNames read;
    ASSERT_TRUE(read.load(path, failure));
    EXPECT_EQ(read.joins(), names.joins());
    EXPECT_EQ(read.shownName(" LUCIA g. "), "Lucía");
    // Joining the student to another name carries the names joined to her along.
    read.join("Lucía", "Lucía García");
    EXPECT_EQ(read.shownName("lucia"), "Lucía García");
    // A file that is not there has no joins; one that cannot be read says so.
    StudentNames none;
    EXPECT_TRUE(none.load(dir.filePath("no.ini"), failure));
    EXPECT_TRUE(none.isEmpty());
}

} // namespace
