// The student's program killed in the middle of a visit (as a power cut or a dead battery would
// stop it) and started again: the visit it had is offered back, and saved or set aside.
#include "tests/windows/LessonFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QStringList kKey = {
    ".Sección 1",      ".cPregunta uno", ".rBuena", ".bBien.", ".rMala",
    ".mNo.",           ".cPregunta dos", ".rBuena", ".bSí.",   ".Sección 2",
    ".cPregunta tres", ".rBuena",        ".bBien.",
};

class CrashTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A lesson "Isla" in its own folder; gives the path of its reading.
    QString lesson(const QString& folder) {
        const QString path = dir.filePath(folder);
        QDir().mkpath(path);
        Fixture::writeFile(path + "/Isla_lec.rtf",
                           Fixture::lessonText({".Sección 1", ".Sección 2"}));
        Fixture::writeFile(path + "/Isla_CRJ.TXT", Fixture::keyText(kKey));
        return path + "/Isla_lec.rtf";
    }
    QString registerOf(const QString& folder) {
        return dir.filePath(folder) + "/Isla07122026_reg.csv";
    }

    // The program, its journals in its own data folder.
    void start(QProcess& program, const QStringList& args, const QString& data) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", dir.filePath(data));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(DORVALIA_VISIT), args);
    }
    // Runs the program to its end; gives what it printed.
    QString run(const QStringList& args, const QString& data) {
        QProcess program;
        start(program, args, data);
        EXPECT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        return QString::fromUtf8(program.readAllStandardOutput());
    }
    // Starts a visit of three answers and kills the program (SIGKILL) while it is open. While it
    // runs, another start of the program must not offer its visit.
    void killInTheMiddle(const QString& folder, const QString& data) {
        QProcess visit;
        start(visit, {"visita", lesson(folder), "Ana", "esperar"}, data);
        ASSERT_TRUE(visit.waitForReadyRead(60000)) << visit.readAllStandardError().toStdString();
        ASSERT_EQ(visit.readLine().trimmed(), "aceptadas 3");
        EXPECT_EQ(run({"inicio", "si"}, data), QString());
        visit.kill();
        ASSERT_TRUE(visit.waitForFinished());
    }
    QStringList files(const QString& data, const QString& pattern) {
        QStringList found;
        QDirIterator it(dir.filePath(data), {pattern}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
        return found;
    }

    QTemporaryDir dir;
};

const QString kOffer = "Visita sin terminar|La visita de Ana a la lección Isla, empezada el "
                       "07/12/2026, no se terminó: tiene 3 respuestas.\\n\\r¿Guardarla en el "
                       "registro?\n";

TEST_F(CrashTest, YesSavesExactlyWhatTheClosingWouldHaveWritten) {
    run({"visita", lesson("normal"), "Ana", "cerrar"}, "datos-normal");
    const QByteArray closed = Fixture::readFile(registerOf("normal"));
    ASSERT_EQ(closed.count("\r\n"), 5);

    killInTheMiddle("corte", "datos");
    EXPECT_FALSE(QFile::exists(registerOf("corte")));
    EXPECT_EQ(run({"inicio", "si"}, "datos"), kOffer);
    EXPECT_EQ(Fixture::readFile(registerOf("corte")), closed);
    EXPECT_EQ(files("datos", "visita-*"), QStringList());
    EXPECT_EQ(run({"inicio", "si"}, "datos"), QString());
}

TEST_F(CrashTest, NoLeavesTheRegisterAsItWasAndKeepsTheVisitForTheTeacher) {
    const QByteArray earlier = "Eva,07/12/2026,Isla\r\n";
    lesson("corte");
    Fixture::writeFile(registerOf("corte"), earlier);
    killInTheMiddle("corte", "datos");
    EXPECT_EQ(run({"inicio", "no"}, "datos"), kOffer);
    EXPECT_EQ(Fixture::readFile(registerOf("corte")), earlier);
    const QStringList journals = files("datos", "visita-*.txt");
    ASSERT_EQ(journals.size(), 1);
    EXPECT_TRUE(journals.front().contains("/visitas/descartadas/"))
        << journals.front().toStdString();
    EXPECT_EQ(run({"inicio", "si"}, "datos"), QString());
}

} // namespace
