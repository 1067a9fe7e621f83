// A lesson copied from a Windows teacher whose editor named the key "Isla_CRJ.txt": the student's
// program opens it on any system, as Windows does, and writes the register under its described
// name; the teacher's check says which key it read, or names the nearest file when none is there.
#include "tests/windows/LessonFixture.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QStringList kKey = {
    ".Sección 1",      ".cPregunta uno", ".rBuena", ".bBien.", ".rMala",
    ".mNo.",           ".cPregunta dos", ".rBuena", ".bSí.",   ".Sección 2",
    ".cPregunta tres", ".rBuena",        ".bBien.",
};

// Runs a program to its end; gives what it printed and its exit status.
QString run(const QString& program, const QStringList& args, const QString& data, int& status) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_DATA_HOME", data);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(60000));
    status = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}

TEST(KeyName, KeyInOtherLetterCaseOpensAndIsNamedByTheCheck) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString reading = dir.filePath("Isla_lec.rtf");
    Fixture::writeFile(reading, Fixture::lessonText({".Sección 1", ".Sección 2"}));
    Fixture::writeFile(dir.filePath("Isla_CRJ.txt"), Fixture::keyText(kKey));

    int status = -1;
    const QString boxes = run(QStringLiteral(DORVALIA_VISIT), {"visita", reading, "Ana", "cerrar"},
                              dir.filePath("datos"), status);
    EXPECT_EQ(status, 0) << boxes.toStdString();
    EXPECT_FALSE(boxes.contains("Cannot open file")) << boxes.toStdString();
    // The three answers are in the register of the lesson's described name.
    const QStringList registers = QDir(dir.path()).entryList({"*.csv"}, QDir::Files);
    EXPECT_EQ(registers, QStringList{"Isla07122026_reg.csv"});
    EXPECT_TRUE(Fixture::readFile(dir.filePath("Isla07122026_reg.csv")).contains("Ana,1,"));

    const QString checked =
        run(QStringLiteral(DORVALIA_DOCENTE), {"revisar", reading}, dir.filePath("datos"), status);
    EXPECT_TRUE(checked.contains(dir.filePath("Isla_CRJ.txt") +
                                 ": nota: se lee la clave «Isla_CRJ.txt», porque no hay ninguna "
                                 "«Isla_CRJ.TXT»"))
        << checked.toStdString();
    EXPECT_EQ(status, 0);

    // Word's "Isla_CRJ.TXT.txt" is not the key, but the check names it.
    ASSERT_TRUE(QFile::rename(dir.filePath("Isla_CRJ.txt"), dir.filePath("Isla_CRJ.TXT.txt")));
    const QString missing =
        run(QStringLiteral(DORVALIA_DOCENTE), {"revisar", reading}, dir.filePath("datos"), status);
    EXPECT_TRUE(missing.contains("no se puede leer la clave: no se puede abrir el archivo " +
                                 dir.filePath("Isla_CRJ.TXT") + ". ¿Es Isla_CRJ.TXT.txt?"))
        << missing.toStdString();
    EXPECT_EQ(status, 2);
}

} // namespace
