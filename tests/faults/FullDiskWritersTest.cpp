#include "platform/core/ToolkitError.h"
#include "teacher/PlainCopy.h"
#include "teacher/StudentNames.h"
#include "teacher/editor/KeyDocument.h"
#include "tests/faults/FileFaults.h"
#include "tests/teacher/TeacherTesting.h"
#include "tests/windows/LessonFixture.h"

#include <QDirIterator>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

// Every file the teacher's program writes, on a disk that is full after its first bytes: each
// writer says so in Spanish, exits with the status its help promises, and leaves every file of
// the folder exactly as it was, with no leftover beside them.
class FullDiskWritersTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir;

    QString at(const QString& name) const { return dir.filePath(name); }

    QMap<QString, QByteArray> everyFile() const {
        QMap<QString, QByteArray> files;
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files.insert(it.next(), Fixture::readFile(it.filePath()));
        return files;
    }

    // The writers that no verb reaches: the editor's «Guardar», the joined names of «Alumnos a lo
    // largo del curso», the plain copy of a published lesson. 3, like a verb, when nothing was
    // written (and the editor's key is still unsaved).
    int writeInProcess(const QString& what, QString& said) {
        if (what == "guardar") {
            KeyDocument document;
            if (!document.open(at("L_CRJ.TXT"), said))
                return -1;
            document.setLines({".Sección 1", ".c¿Otra?", ".rSí", ".bBien"});
            const KeySaveResult result = document.save();
            said = result.failure;
            return result.saved || !document.modified() ? 0 : 3;
        }
        if (what == "alumnos") {
            StudentNames names;
            names.join("lucia", "Lucía");
            return names.save(at("alumnos.ini"), said) ? 0 : 3;
        }
        try {
            return savePlainCopy(at("clase/L_lec.rtf"), at("clase/L_CRJ.dvk"), at("copia")), 0;
        } catch (const ToolkitError& e) {
            return said = e.message(), 3;
        }
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        for (const char* folder : {"clase", "copia", "csv", "registros"})
            QDir(dir.path()).mkpath(folder);
        Fixture::writeFile(at("L_lec.rtf"), Fixture::lessonText({".Sección 1"}));
        Fixture::writeFile(at("L_CRJ.TXT"),
                           Fixture::keyText({".Sección 1", ".c¿Qué?", ".rAlgo", ".bBien"}));
        Fixture::writeFile(at("L_CRJ.TXT.bak"), "la copia anterior");
        int status = -1;
        run({"publicar", at("L_lec.rtf"), at("clase")}, status);
        QCOMPARE(status, 0);
        Fixture::writeFile(at("preguntas.gift"), "¿Qué? {=Algo ~Nada}\n");
        Fixture::writeFile(at("registros/L071226_reg.csv"),
                           "Ana,07/12/26,L\r\nNombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,"
                           "1er intento\r\nAna,1,1,1,Correcta,si\r\n");
        for (const char* old :
             {"salida.gift", "ficha.pdf", "libro.xlsx", "informe.pdf", "alumnos.ini",
              "csv/cuestiones.csv", "csv/alumnos.csv", "csv/curso.csv"})
            Fixture::writeFile(at(old), "lo que había");
    }

    // Every verb's help promises 3 when its output could not be written.
    void writers_data() {
        QTest::addColumn<QStringList>("arguments");
        const QString lesson = at("L_lec.rtf");
        const QString registers = at("registros");
        for (const QStringList& arguments : QList<QStringList>{
                 {"guardar"},
                 {"alumnos"},
                 {"copia"},
                 {"desde-gift", at("preguntas.gift"), at("L_CRJ.TXT"), "--reemplazar"},
                 {"publicar", "--forzar", lesson, at("clase")},
                 {"gift", lesson, at("salida.gift")},
                 {"ficha", lesson, "--pdf", at("ficha.pdf")},
                 {"resumen", registers, "--csv", at("csv")},
                 {"resumen", registers, "--csv-excel", at("csv")},
                 {"resumen", registers, "--xlsx", at("libro.xlsx")},
                 {"resumen", registers, "--pdf", at("informe.pdf")},
                 {"informe", registers, "--alumno", "Ana", "--pdf", at("informe.pdf")}})
            QTest::newRow(qPrintable((arguments.mid(0, 1) + arguments.filter("--")).join(' ')))
                << arguments;
    }

    void writers() {
        QFETCH(QStringList, arguments);
        const QMap<QString, QByteArray> before = everyFile();
        int exited = -1;
        QString said;
        {
            FileFaults::FileSizeLimit full(16);
            if (!full.reason().isEmpty())
                QSKIP(qPrintable(full.reason()));
            if (arguments.size() == 1)
                exited = writeInProcess(arguments.first(), said);
            else
                said = run(arguments, exited);
        }
        QCOMPARE(exited, 3);
        QVERIFY2(said.contains("No se puede"), qPrintable(said));
        QCOMPARE(everyFile(), before);
    }
};

QTEST_MAIN(FullDiskWritersTest)
#include "FullDiskWritersTest.moc"
