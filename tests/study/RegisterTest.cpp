#include "study/Register.h"

#include "lesson/LessonFiles.h"
#include "platform/core/Clock.h"
#include "platform/core/ToolkitError.h"
#include "platform/core/Verdict.h"
#include "study/RegisterLines.h"
#include "study/Visit.h"
#include "tests/lesson/KeyFile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

class NoWindow : public LessonWindow {
public:
    void LimpiarPreguntaYRespuesta() override {}
    void setQuestionMaximum(int) override {}
    void enableResults() override {}
};

const QByteArray kColumns = "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";

class RegisterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        DirLeccion = dir.path() + u'/';
        NombreLeccion = QStringLiteral("El_volcan");
        NombreAlumno = QStringLiteral("Ana");
        setDay(QDate(2026, 12, 7), QTime(10, 0));
        Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
    }
    void TearDown() override {
        EndVisit();
        Clock::setNow(std::nullopt);
        Clock::setShortDatePattern(std::nullopt);
    }

    static void setDay(QDate day, QTime time) { Clock::setNow(QDateTime(day, time)); }

    // A visit of the given student with one accepted answer per verdict.
    void visit(const QString& alumno, const QList<Verdict>& verdicts) {
        NombreAlumno = alumno;
        StartVisit();
        int question = 1;
        for (const Verdict verdict : verdicts)
            AnotarJuicio(1, verdict, 2, QString::number(question++), window);
    }

    QString registerPath(const QString& digits = QStringLiteral("07122026")) const {
        return dir.filePath(QStringLiteral("El_volcan") + digits + QStringLiteral("_reg.csv"));
    }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    static QString saveError() {
        try {
            GuardarRegistro();
        } catch (const ToolkitError& e) {
            return e.message();
        }
        return QStringLiteral("(saved)");
    }

    QTemporaryDir dir;
    NoWindow window;
};

TEST_F(RegisterTest, TwoVisitsOnOneDayMakeOneFileWithTwoBlocks) {
    visit(QStringLiteral("Ana"), {Verdict::Correcta, Verdict::Incorrecta});
    GuardarRegistro();
    visit(QStringLiteral("Luis"), {});
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), "Ana,07/12/2026,El_volcan\r\n" + kColumns +
                                            "Ana,2,1,1,Correcta,si\r\n"
                                            "Ana,2,2,1,Incorrecta\r\n"
                                            "Luis,07/12/2026,El_volcan\r\n" +
                                            kColumns);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

// The register a visit in the web page saves is pinned in one file that the page's tests read
// too: this program, given the same visit, writes those very bytes; the page's file name is the
// day's register with the visit's id, which the teacher's program reads back as that day's.
TEST_F(RegisterTest, TheWebPagesPinnedVisitIsWhatThisProgramWrites) {
    const QString stored = QStringLiteral(DORVALIA_SOURCE "/tests/data/stored/");
    const QJsonObject visit = QJsonDocument::fromJson(contents(stored + "web-visit.json")).object();
    ASSERT_FALSE(visit.isEmpty());
    const QString date = visit.value("fecha").toString();
    NombreLeccion = visit.value("leccion").toString();
    NombreAlumno = visit.value("nombre").toString();
    setDay(QDate(2026, 12, 8), QTime(10, 0));
    Clock::setShortDatePattern(QStringLiteral("dd/MM/yy"));
    StartVisit();
    for (const QJsonValue& value : visit.value("respuestas").toArray()) {
        const QJsonArray answer = value.toArray();
        AnotarJuicio(answer[2].toInt(), VerdictOfText(answer[3].toString()).value(),
                     answer[0].toInt(), QString::number(answer[1].toInt()), window);
    }
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath(DateDigits(date))), contents(stored + "web-visit_reg.csv"));

    const QString id = visit.value("id").toString();
    const QString file = visit.value("archivo").toString();
    EXPECT_EQ(file, NombreLeccion + DateDigits(date) + "_web-" + id + kRegisterSuffix);
    EXPECT_EQ(WebRegisterId(file), id);
    EXPECT_EQ(RegisterStem(file), NombreLeccion + DateDigits(date));
}

TEST_F(RegisterTest, AVisitAcrossMidnightWritesTheNextDaysFileWithTheOpeningDate) {
    setDay(QDate(2026, 12, 31), QTime(23, 59));
    visit(QString(), {Verdict::Pendiente});
    setDay(QDate(2027, 1, 1), QTime(0, 1));
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath(QStringLiteral("01012027"))),
              ",31/12/2026,El_volcan\r\n" + kColumns + ",2,1,1,Pendiente\r\n");
}

TEST_F(RegisterTest, AppendingCutsTheFileAtAnEndOfFileByteNearItsEnd) {
    writeBytes(registerPath(), "viejo\r\n\x1A\x1A resto");
    visit(QStringLiteral("Ana"), {});
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), "viejo\r\nAna,07/12/2026,El_volcan\r\n" + kColumns);

    // Only the last 128 bytes are looked at.
    const QByteArray early = "\x1A" + QByteArray(200, 'x');
    writeBytes(registerPath(), early);
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), early + "Ana,07/12/2026,El_volcan\r\n" + kColumns);
}

TEST_F(RegisterTest, ShortDateSeparatorsThatRemainAreDroppedFromTheFileName) {
    EXPECT_EQ(DateDigits(QStringLiteral("07/12/2026")), QStringLiteral("07122026"));
    EXPECT_EQ(DateDigits(QStringLiteral("07.12.26")), QStringLiteral("071226"));
    EXPECT_EQ(DateDigits(QStringLiteral("2026-12-07")), QStringLiteral("206-2-07"));
    EXPECT_EQ(DateDigits(QStringLiteral("7/12/2026")), QStringLiteral("72026"));
    EXPECT_EQ(DateDigits(QStringLiteral("12:7")), QStringLiteral("127"));
    EXPECT_EQ(DateDigits(QStringLiteral("ab")), QStringLiteral("ab"));

    Clock::setShortDatePattern(QStringLiteral("d/M/yyyy"));
    visit(QStringLiteral("Ana"), {});
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath(QStringLiteral("72026"))),
              "Ana,7/12/2026,El_volcan\r\n" + kColumns);
}

TEST_F(RegisterTest, AFolderThatCannotTakeTheFileGivesTheErrorAndLosesNothing) {
    visit(QStringLiteral("Ana"), {Verdict::Correcta});
    const QStringList lines = Registro->lines();
    DirLeccion = dir.filePath(QStringLiteral("no_existe")) + u'/';
    EXPECT_EQ(saveError(), QStringLiteral("Cannot create file ") + DirLeccion +
                               QStringLiteral("El_volcan07122026_reg.csv"));
    EXPECT_EQ(Registro->lines(), lines);

    // A folder standing where the register should be: it exists, so it is not created afresh.
    DirLeccion = dir.path() + u'/';
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("El_volcan07122026_reg.csv")));
    EXPECT_EQ(saveError(), QStringLiteral("File access denied"));
    EXPECT_TRUE(QDir(registerPath()).isEmpty());

    // Once the way is clear, the same lines are saved.
    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("El_volcan07122026_reg.csv")));
    EXPECT_EQ(saveError(), QStringLiteral("(saved)"));
    EXPECT_EQ(contents(registerPath()),
              "Ana,07/12/2026,El_volcan\r\n" + kColumns + "Ana,2,1,1,Correcta,si\r\n");
}

#ifdef Q_OS_WIN
// A lesson chosen by a Windows path, with backslashes: its register lands in the lesson's folder
// with the same bytes as anywhere else. Runs under Wine with scripts/windows tests.
TEST_F(RegisterTest, ABackslashPathWritesTheRegisterInTheLessonFolder) {
    SepararRutaDeLeccion(
        QDir::toNativeSeparators(dir.filePath(QStringLiteral("El_volcan_lec.rtf"))));
    ASSERT_TRUE(DirLeccion.str().endsWith(u'\\'));
    visit(QStringLiteral("Ana"), {Verdict::Correcta});
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()),
              "Ana,07/12/2026,El_volcan\r\n" + kColumns + "Ana,2,1,1,Correcta,si\r\n");
}
#endif

TEST_F(RegisterTest, NamesWithCommasStayOneField) {
    NombreLeccion = QStringLiteral("Tema, 3");
    visit(QStringLiteral("García, Ana"), {Verdict::Correcta});
    GuardarRegistro();
    const QString path = dir.filePath(QStringLiteral("Tema, 307122026_reg.csv"));
    EXPECT_EQ(contents(path), "\"Garc\xED"
                              "a, Ana\",07/12/2026,\"Tema, 3\"\r\n" +
                                  kColumns +
                                  "\"Garc\xED"
                                  "a, Ana\",2,1,1,Correcta,si\r\n");
}

#ifdef Q_OS_UNIX
// Lets the next writes reach only `limit` bytes into any file, as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lower = saved_;
        lower.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lower);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(RegisterTest, ASaveThatFailsHalfWayLeavesTheRegisterAsItWas) {
    visit(QStringLiteral("Ana"), {Verdict::Correcta});
    GuardarRegistro();
    const QByteArray first = contents(registerPath());

    visit(QStringLiteral("Luis"), {Verdict::Incorrecta, Verdict::Pendiente});
    {
        FileSizeLimit limit(static_cast<rlim_t>(first.size() + 30));
        EXPECT_EQ(saveError(), QStringLiteral("Disk full"));
    }
    EXPECT_EQ(contents(registerPath()), first);
    // The next closing writes the visit once.
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()), first + "Luis,07/12/2026,El_volcan\r\n" + kColumns +
                                            "Luis,2,1,1,Incorrecta\r\n"
                                            "Luis,2,2,1,Pendiente\r\n");
}

TEST_F(RegisterTest, ANewRegisterThatFailsHalfWayIsNotLeftBehind) {
    visit(QStringLiteral("Ana"), {Verdict::Correcta});
    {
        FileSizeLimit limit(20);
        EXPECT_EQ(saveError(), QStringLiteral("Disk full"));
    }
    EXPECT_FALSE(QFile::exists(registerPath()));
    GuardarRegistro();
    EXPECT_EQ(contents(registerPath()),
              "Ana,07/12/2026,El_volcan\r\n" + kColumns + "Ana,2,1,1,Correcta,si\r\n");
}
#endif

// An entry line reads back as it was written, whatever the name holds; what the writing never
// makes is refused.
TEST(EntryLines, WhatIsWrittenReadsBackAndNothingElse) {
    struct Row {
        QString name;
        int section, answer;
        QString question;
        Verdict verdict;
        bool first;
    };
    const QList<Row> rows = {{"Ana", 2, 1, "3", Verdict::Correcta, true},
                             {"Pérez, Ana", 1, 0, "1", Verdict::Incorrecta, true},
                             {"=1+1", 255, 255, "65535", Verdict::Pendiente, false},
                             {"", 1, 2, "1", Verdict::Correcta, false}};
    for (const Row& row : rows) {
        const QString line =
            EntryLine(row.name, row.section, row.question, row.answer, row.verdict, row.first);
        EntryFields read;
        ASSERT_TRUE(ReadEntryLine(line, read)) << line.toStdString();
        EXPECT_EQ(std::tuple(read.section, QString::number(read.question), read.answer,
                             read.verdict, read.firstAttempt),
                  std::tuple(row.section, row.question, row.answer, row.verdict,
                             row.first && row.verdict == Verdict::Correcta))
            << line.toStdString();
    }
    EntryFields read;
    for (const char* line : {"Ana,1,1,Correcta", "Ana,1,1,1,Bien", "Ana,1,1,256,Correcta",
                             "Ana,1,1,1,Incorrecta,si", "Ana,-1,1,1,Pendiente"})
        EXPECT_FALSE(ReadEntryLine(QString::fromUtf8(line), read)) << line;
}

} // namespace
