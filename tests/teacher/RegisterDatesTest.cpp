#include "teacher/RegisterDates.h"
#include "teacher/ClassSummary.h"
#include "teacher/RegisterReader.h"

#include "lesson/LessonFiles.h"
#include "platform/core/Clock.h"
#include "platform/core/Verdict.h"
#include "study/Register.h"
#include "study/Visit.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct NoWindow : LessonWindow {
    void LimpiarPreguntaYRespuesta() override {}
    void setQuestionMaximum(int) override {}
    void enableResults() override {}
};

// The short dates of four kinds of classroom computer.
const QString kSpanishLinux = QStringLiteral("dd/MM/yy");
const QString kEnglishLinux = QStringLiteral("MM/dd/yy");
const QString kSpanishWindows = QStringLiteral("dd/MM/yyyy");
const QString kYearFirst = QStringLiteral("yyyy-MM-dd");

// One visit saved by the student's program on a computer with that short date, in a folder of
// its own; its register last changed on the save day, or later when it was copied without its
// times.
struct Case {
    const char* student;
    QString pattern;
    QDateTime opened;
    QDateTime saved;
    QDate modified;
    // What the teacher's program must make of it.
    QDate date;
    bool uncertain;
    const char* filtered; // between 30/11/2026 and 07/12/2026: "in", "noticed" or "counted"
};

QDateTime at(int day, int hour = 10) {
    return QDateTime(QDate(2026, 12, day), QTime(hour, 0));
}

void saveVisit(const QString& folder, const Case& c) {
    DirLeccion = folder + u'/';
    NombreLeccion = QStringLiteral("El_faro");
    NombreAlumno = QString::fromUtf8(c.student);
    Clock::setShortDatePattern(c.pattern);
    Clock::setNow(c.opened);
    NoWindow window;
    StartVisit();
    AnotarJuicio(1, Verdict::Correcta, 1, QStringLiteral("1"), window);
    Clock::setNow(c.saved);
    GuardarRegistro();
    EndVisit();
    const QStringList files = QDir(folder).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    QFile file(QDir(folder).filePath(files[0]));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime(c.modified, QTime(12, 0)), QFileDevice::FileModificationTime));
}

// Registers from four locales, read as a teacher would: each visit's date, the uncertain
// registers listed, and a filter that leaves nobody out without saying so.
TEST(RegisterDates, RegistersFromFourLocalesReadRightOrListed) {
    const QDate copied(2026, 12, 20);
    const QList<Case> cases = {
        // The day of the last change decides what the digits leave open.
        {"Ana", kSpanishLinux, at(7), at(7), QDate(2026, 12, 7), QDate(2026, 12, 7), false, "in"},
        {"Beto", kEnglishLinux, at(7), at(7), QDate(2026, 12, 7), QDate(2026, 12, 7), false, "in"},
        {"Carla", kSpanishWindows, at(2), at(2), QDate(2026, 12, 2), QDate(2026, 12, 2), false,
         "in"},
        {"Dani", kEnglishLinux, at(12), at(12), QDate(2026, 12, 12), QDate(2026, 12, 12), false,
         "counted"},
        // Copied later: what only the digits say.
        {"Eva", kYearFirst, at(7), at(7), copied, QDate(2026, 12, 7), false, "in"},
        {"Fede", kEnglishLinux, at(14), at(14), copied, QDate(2026, 12, 14), false, "counted"},
        {"Gael", kSpanishWindows, at(3), at(3), copied, QDate(2026, 12, 3), true, "in"},
        {"Hugo", kEnglishLinux, at(5), at(5), copied, QDate(2026, 5, 12), true, "noticed"},
        {"Inés", kSpanishLinux, at(10), at(10), copied, QDate(2026, 12, 10), true, "counted"},
        // Past midnight: the name is a day later than the line, which only one order allows.
        {"Juan", kSpanishLinux, at(6, 23), at(7, 0), copied, QDate(2026, 12, 6), false, "in"},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        const QString folder = dir.filePath(QString::fromUtf8(c.student));
        ASSERT_TRUE(QDir().mkpath(folder));
        saveVisit(folder, c);
    }
    Clock::setNow(std::nullopt);
    Clock::setShortDatePattern(std::nullopt);

    QList<RegisterFile> files;
    for (const QString& path : FindRegisters(dir.path(), true))
        files.append(ReadRegister(path));
    ASSERT_EQ(files.size(), cases.size());
    const ClassSummary summary = Summarize(files, QDate(2026, 11, 30), QDate(2026, 12, 7));
    int included = 0;
    for (const LessonSummary& lesson : summary.lessons) {
        EXPECT_EQ(lesson.name, "El_faro");
        for (const StudentRow& s : lesson.students)
            included += s.visits;
    }
    EXPECT_EQ(summary.lessons.size(), 1);

    int noticed = 0, counted = 0;
    for (const Case& c : cases) {
        const QString folder = QDir(dir.filePath(QString::fromUtf8(c.student))).path();
        const auto file = std::find_if(files.cbegin(), files.cend(), [&](const RegisterFile& f) {
            return QFileInfo(f.path).path() == folder;
        });
        ASSERT_NE(file, files.cend()) << c.student;
        const std::string what =
            c.student + (u' ' + QFileInfo(file->path).fileName()).toStdString();
        EXPECT_EQ(file->lesson, "El_faro") << what;
        ASSERT_EQ(file->visits.size(), 1) << what;
        EXPECT_EQ(TeacherDate(file->visits[0].date), TeacherDate(c.date)) << what;
        EXPECT_EQ(file->notices.size(), c.uncertain ? 1 : 0) << what;
        qsizetype listed = 0;
        for (const RegisterProblem& notice : summary.notices)
            listed += notice.file == file->path && notice.line == 1;
        EXPECT_EQ(listed, QByteArray(c.filtered) == "noticed" ? 1 : 0) << what;
        noticed += QByteArray(c.filtered) == "noticed";
        counted += QByteArray(c.filtered) == "counted";
    }
    EXPECT_EQ(summary.visitsLeftOut, counted);
    EXPECT_EQ(included + noticed + counted, cases.size());
}

// The digits the year-first short date gives: the 6th and then the 3rd character of
// "2026-12-07" go, leaving "206-2-07"; the name is split back from the line's own digits.
TEST(RegisterDates, NamesSplitBackIntoLessonAndDate) {
    struct Row {
        QString fileName;
        QStringList lines;
        QString lesson;
        QDate fileDate;
    };
    const QList<Row> rows = {
        {"El_faro206-2-07_reg.csv", {"2026-12-07"}, "El_faro", QDate(2026, 12, 7)},
        {"El_faro206-2-07_reg.csv", {}, "El_faro", QDate()},
        {"Tema372026_reg.csv", {"7/12/2026"}, "Tema3", QDate(2026, 12, 7)},
        {"Tema307122026_reg.csv", {}, "Tema3", QDate(2026, 12, 7)},
        // Renamed: the visit line names the lesson.
        {"L01122026_reg.csv", {"07/12/2026"}, "L", QDate(2026, 12, 1)},
    };
    for (const Row& row : rows) {
        QList<VisitDateText> visits;
        for (const QString& line : row.lines)
            visits.append({line, row.lesson});
        const RegisterDating dating = DateRegister(row.fileName, visits, QDate(2026, 12, 7));
        EXPECT_EQ(dating.lesson, row.lesson) << row.fileName.toStdString();
        EXPECT_EQ(dating.fileDate, row.fileDate) << row.fileName.toStdString();
    }
}

} // namespace
