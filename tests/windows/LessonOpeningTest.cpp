// Lessons that cannot open, as a student meets them from the start window: the error box over
// the lesson window, and the register of the visit that could not start.

#include "tests/windows/StudentWindows.h"

#include "lesson/Sections.h"
#include "platform/ListBox.h"
#include "windows/Unit1.h"
#include "windows/Unit3.h"

#include <QFile>
#include <QTest>

using Fixture::whenModal;

class LessonOpeningTest : public StudentWindowsTest {
    Q_OBJECT

private slots:
    void aMissingKeyEndsInTheErrorBoxAndTheLessonStillCloses() {
        Fixture::writeFile(lessonPath("SinClave"), Fixture::lessonText({".Sección 1"}));
        FormInicio->show();
        NumSecciones = 0;
        SeccionesPendientes.clear();
        Boxes::answer(true, lessonPath("SinClave"));
        Boxes::answer(true, "Ana");
        bool stayedOpen = false;
        whenModal(FormLeccion, [&] {
            stayedOpen = FormLeccion->isVisible();
            QCOMPARE(in<ListBox>(FormLeccion, "ListaDeSecciones")->count(), 0);
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        QVERIFY(stayedOpen);
        QCOMPARE(Boxes::shown()[2].kind, Boxes::Kind::Error);
        QCOMPARE(Boxes::shown()[2].caption, QString("lesson_opening_test"));
        QCOMPARE(Boxes::shown()[2].text, "Cannot open file " + dir_.path() + "/SinClave_CRJ.TXT.");
        // The error shows over the lesson window, already on screen.
        QCOMPARE(Boxes::shown()[2].over, FormLeccion);
        QVERIFY(!FormLeccion->isVisible());
        QCOMPARE(Fixture::readFile(dir_.path() + "/SinClave07122026_reg.csv"),
                 QByteArray("Ana,07/12/2026,SinClave\r\n"
                            "Nombre,Secci\xf3n,Cuesti\xf3n,Respuesta,Juicio,1er intento\r\n"));
    }

    void aMissingTextOrABadLastMarkerStopsTheOpening() {
        FormInicio->show();
        NumSecciones = 0;
        SeccionesPendientes.clear();
        Fixture::writeFile(dir_.path() + "/SinTexto_CRJ.TXT", Fixture::keyText({".Sección 1"}));
        writeLesson("MalMarcada", {".Sección 1", ".Sección 2."}, {".Sección 1"});
        for (const QString& name : {QString("SinTexto"), QString("MalMarcada")}) {
            Boxes::answer(true, lessonPath(name));
            Boxes::answer(true, "Ana");
            whenModal(FormLeccion, [&] { click(FormLeccion, "BtTerminarLec"); });
            click(FormInicio, "BtSelecLec");
            QVERIFY(!FormLeccion->isVisible());
        }
        QCOMPARE(Boxes::shown()[2].text, "Cannot open file " + dir_.path() + "/SinTexto_lec.rtf.");
        QCOMPARE(Boxes::shown()[5].text, QString("' 2.' is not a valid integer value."));
        QVERIFY(QFile::exists(dir_.path() + "/MalMarcada07122026_reg.csv"));
    }
};

int main(int argc, char** argv) {
    return StudentWindowsTest::run<LessonOpeningTest>(argc, argv);
}

#include "LessonOpeningTest.moc"
