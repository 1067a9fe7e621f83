#include "teacher/RegisterReader.h"
#include "study/RegisterLines.h"

#include "lesson/LessonFiles.h"
#include "platform/core/Clock.h"
#include "platform/core/Verdict.h"
#include "study/Register.h"
#include "study/RegisterLock.h"
#include "study/Visit.h"
#include "teacher/VisitCopies.h"

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(RegisterFields, SplitUndoesQuotingAndFallsBackOnBrokenQuotes) {
    struct Case {
        QString line;
        bool ok;
        QStringList fields;
    };
    const QList<Case> cases = {
        {"Ana,2,3,1,Correcta,si", true, {"Ana", "2", "3", "1", "Correcta", "si"}},
        {"\"Pérez, Ana\",7/12/2026,El_volcan", true, {"Pérez, Ana", "7/12/2026", "El_volcan"}},
        {"\"Ana \"\"Pili\"\"\",,", true, {"Ana \"Pili\"", "", ""}},
        {"\"Ana,2,3", false, {"\"Ana", "2", "3"}},
        {"\"Ana\"x,2", false, {"\"Ana\"x", "2"}},
    };
    for (const Case& c : cases) {
        QStringList fields;
        EXPECT_EQ(SplitRegisterLine(c.line, fields), c.ok) << c.line.toStdString();
        EXPECT_EQ(fields, c.fields) << c.line.toStdString();
    }
    EXPECT_EQ(UnguardedField("'=SUMA(A1)"), "=SUMA(A1)");
    EXPECT_EQ(UnguardedField("'Ana"), "'Ana");
}

TEST(RegisterNames, LessonAndDateFromFileNameAndVisitLine) {
    QString lesson;
    QDate date;
    SplitRegisterName("El_volcan07122026_reg.csv", lesson, date);
    EXPECT_EQ(lesson, "El_volcan");
    EXPECT_EQ(date, QDate(2026, 12, 7));
    SplitRegisterName("Tema307122026_REG.CSV", lesson, date);
    EXPECT_EQ(lesson, "Tema3");
    SplitRegisterName("Tema99999_reg.csv", lesson, date);
    EXPECT_EQ(lesson, "Tema");
    EXPECT_FALSE(date.isValid());

    const QList<std::pair<QString, QDate>> dates = {{"7/12/2026", QDate(2026, 12, 7)},
                                                    {"07-12-26", QDate(2026, 12, 7)},
                                                    {"2026-12-07", QDate(2026, 12, 7)},
                                                    {"12/31/2026", QDate()},
                                                    {"hoy", QDate()}};
    for (const auto& [text, expected] : dates)
        EXPECT_EQ(ParseVisitDate(text), expected) << text.toStdString();
}

RegisterFile parse(const QByteArray& bytes) {
    RegisterFile file;
    file.path = "R_reg.csv";
    file.fileDate = QDate(2026, 12, 1);
    ParseRegister(bytes, file);
    return file;
}

TEST(RegisterReading, OldAndNewQuotingBothEncodingsAndDamagedLines) {
    struct Case {
        const char* what;
        QByteArray bytes;
        QStringList names;
        int entries;
        QList<int> problemLines;
    };
    const QByteArray columns = "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";
    const QList<Case> cases = {
        {"current, Windows-1252, CR LF, end mark",
         "\"P\xE9rez, Ana\",07/12/2026,L\r\n" + columns +
             "\"P\xE9rez, Ana\",1,1,2,Incorrecta\r\n\"P\xE9rez, Ana\",1,1,1,Correcta\r\n"
             "'=Eva,07/12/2026,L\r\n" +
             columns + "'=Eva,1,2,1,Correcta,si\r\n\x1A",
         {"Pérez, Ana", "=Eva"},
         3,
         {}},
        {"older version: no quoting, UTF-8, LF",
         "P\xC3\xA9rez, "
         "Ana,7/12/2026,L\nNombre,Secci\xC3\xB3n,Cuesti\xC3\xB3n,Respuesta,Juicio,1er "
         "intento\nP\xC3\xA9rez, Ana,1,1,1,Correcta,si\n",
         {"Pérez, Ana"},
         1,
         {1}},
        {"damaged lines are skipped, the rest kept",
         "Ana,1,1,1,Correcta\r\nAna,7/12/2026,L\r\n" + columns +
             "Ana,1,x,1,Correcta\r\nAna,1,1,1,Bien\r\nAna,1,1,300,Incorrecta\r\nAna,1,1,2,"
             "Incorrecta,si\r\n\r\nAna,1,"
             "2,1,Pendiente\r\n\r\n" +
             columns + "Ana,1,3,1,Correcta\r\n",
         {"Ana"},
         1,
         {1, 4, 5, 6, 7, 11, 12}},
    };
    for (const Case& c : cases) {
        const RegisterFile file = parse(c.bytes);
        QStringList names;
        int entries = 0;
        for (const RegisterVisit& visit : file.visits) {
            names.append(visit.name);
            entries += int(visit.entries.size());
            EXPECT_EQ(visit.date, QDate(2026, 12, 7)) << c.what;
        }
        QList<int> lines;
        for (const RegisterProblem& problem : file.problems)
            lines.append(problem.line);
        EXPECT_EQ(names, c.names) << c.what;
        EXPECT_EQ(entries, c.entries) << c.what;
        EXPECT_EQ(lines, c.problemLines) << c.what;
    }
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// What the student's program writes, the teacher's program reads back the same.
TEST(RegisterReading, ReadsWhatTheStudentsProgramWrites) {
    QTemporaryDir dir;
    DirLeccion = dir.path() + u'/';
    NombreLeccion = QStringLiteral("El_volcan");
    Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
    struct NoWindow : LessonWindow {
        void LimpiarPreguntaYRespuesta() override {}
        void setQuestionMaximum(int) override {}
        void enableResults() override {}
    } window;
    const QStringList names = {"Pérez, Ana", "=1+1", "Ana \"la\" Rubia", ""};
    for (const QString& name : names) {
        NombreAlumno = name;
        StartVisit();
        AnotarJuicio(2, Verdict::Incorrecta, 3, "4", window);
        AnotarJuicio(1, Verdict::Correcta, 3, "4", window);
        GuardarRegistro();
        EndVisit();
    }
    Clock::setNow(std::nullopt);
    Clock::setShortDatePattern(std::nullopt);

    // The bytes are those of the register kept with the tests: a change to the format would leave
    // every register that classes already have behind.
    const QString written = dir.filePath("El_volcan07122026_reg.csv");
    EXPECT_EQ(readBytes(written),
              readBytes(DORVALIA_SOURCE "/tests/data/stored/El_volcan07122026_reg.csv"));
    const RegisterFile file = ReadRegister(written);
    EXPECT_TRUE(file.read);
    EXPECT_EQ(file.lesson, "El_volcan");
    EXPECT_TRUE(file.problems.isEmpty());
    ASSERT_EQ(file.visits.size(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        const RegisterVisit& visit = file.visits[i];
        EXPECT_EQ(visit.name, names[i]);
        EXPECT_EQ(visit.date, QDate(2026, 12, 7));
        ASSERT_EQ(visit.entries.size(), 2);
        const RegisterEntry& second = visit.entries[1];
        EXPECT_EQ(std::tuple(second.section, second.question, second.answer, second.verdict,
                             second.firstAttempt),
                  std::tuple(3, 4, 1, Verdict::Correcta, false));
    }
}

// A register being saved is read whole once the save ends, or not at all if it does not end in
// time; the lock is gone afterwards.
TEST(RegisterReading, ARegisterBeingWrittenIsReadWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString path = dir.filePath("L07122026_reg.csv");
    const QByteArray visit = "Ana,07/12/2026,L\r\nNombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,"
                             "1er intento\r\nAna,1,1,1,Correcta,si\r\n";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QLockFile lock(RegisterLockPath(path));
    ASSERT_TRUE(lock.tryLock(0));
    file.write(visit.left(30));
    file.flush();

    const RegisterFile refused = ReadRegister(path, 50);
    EXPECT_FALSE(refused.read);
    ASSERT_EQ(refused.problems.size(), 1);
    EXPECT_EQ(refused.problems[0].line, 0);

    std::thread save([&] {
        QThread::msleep(150);
        file.write(visit.mid(30));
        file.close();
        lock.unlock();
    });
    const RegisterFile whole = ReadRegister(path, 5000);
    save.join();
    EXPECT_TRUE(whole.read);
    ASSERT_EQ(whole.visits.size(), 1);
    EXPECT_EQ(whole.visits[0].entries.size(), 1);
    EXPECT_TRUE(whole.problems.isEmpty());
    EXPECT_FALSE(QFile::exists(RegisterLockPath(path)));
}

// A visit reported saved and then written over (the register cut back to before it) is named in
// the notices and put back once, however often the teacher asks.
TEST(RegisterReading, AVisitMissingFromItsRegisterIsNamedAndPutBackOnce) {
    QTemporaryDir dir;
    const QString path = dir.filePath("L25122026_reg.csv");
    const QByteArray columns = "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";
    const QByteArray ana = "Ana,25/12/2026,L\r\n" + columns + "Ana,1,1,1,Correcta,si\r\n";
    const QByteArray eva = "Eva,25/12/2026,L\r\n" + columns + "Eva,1,1,2,Incorrecta\r\n";
    AppendToRegister(path, ana);
    AppendToRegister(path, eva);
    ASSERT_TRUE(QFile::resize(path, ana.size()));

    const QList<RegisterProblem> notices = ReadRegister(path).notices;
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(IsMissingVisit(notices[0]));
    EXPECT_TRUE(notices[0].message.contains(QStringLiteral("la visita de Eva del 25/12/2026 "
                                                           "(1 respuesta)")))
        << notices[0].message.toStdString();
    QStringList failures;
    EXPECT_EQ(RestoreMissingVisits(dir.path(), false, failures), 1);
    EXPECT_EQ(RestoreMissingVisits(dir.path(), false, failures), 0);
    EXPECT_TRUE(failures.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ana + eva);
    EXPECT_TRUE(ReadRegister(path).notices.isEmpty());
}

} // namespace

// A register far larger than a class makes (here 1 GB, all but its first visit unwritten) is
// refused unread, so that it cannot exhaust the teacher's memory, and said to be so.
TEST(RegisterReading, AHugeRegisterIsRefusedUnread) {
    QTemporaryDir dir;
    const QString path = dir.filePath("L07122026_reg.csv");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "Ana,07/12/2026,L\r\nNombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n");
    ASSERT_TRUE(file.resize(qint64(1) << 30));
    file.close();
    const RegisterFile huge = ReadRegister(path);
    EXPECT_FALSE(huge.read);
    ASSERT_EQ(huge.problems.size(), 1);
    EXPECT_EQ(huge.problems[0].message.toStdString(), "ocupa más de 64 MB y no se lee");
}
