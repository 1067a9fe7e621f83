// The start window driven as a student would: its documents, its buttons, choosing a lesson.

#include "tests/windows/StudentWindows.h"

#include "lesson/LessonFiles.h"
#include "platform/RichViewer.h"
#include "platform/core/Ansi.h"
#include "platform/core/Clock.h"
#include "platform/rtf/DocumentFile.h"
#include "study/Journal.h"
#include "windows/Unit1.h"
#include "windows/Unit3.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>

using Fixture::whenModal;

class StartWindowTest : public StudentWindowsTest {
    Q_OBJECT

private slots:
    void missingDocumentsShowTheirLinesAndTheButtonsToggle() {
        QFile::remove("dorvalia_intro.rtf");
        QFile::remove("dorvalia_instrucciones.rtf");
        FormInicio->show();
        RichViewer* memo = in<RichViewer>(FormInicio, "MemoIntro");
        QCOMPARE(memo->plainText(), QString("No se encuentra el archivo \"dorvalia_intro.rtf\""));
        QVERIFY(!enabled(FormInicio, "btIntro"));
        QVERIFY(enabled(FormInicio, "BtInstrucc"));

        click(FormInicio, "BtInstrucc");
        QCOMPARE(memo->plainText(), QString("No se encuentra \"dorvalia_instrucciones.rtf\"."));
        QVERIFY(enabled(FormInicio, "btIntro"));
        QVERIFY(!enabled(FormInicio, "BtInstrucc"));

        click(FormInicio, "btIntro");
        QCOMPARE(memo->plainText(), QString("No se encuentra el archivo \"dorvalia_intro.rtf\""));
        QVERIFY(!enabled(FormInicio, "btIntro"));
    }

    void documentsAreShownAsRichText() {
        for (const char* name : {"dorvalia_intro.rtf", "dorvalia_instrucciones.rtf"}) {
            QFile::remove(name);
            QVERIFY(QFile::copy(QString(DORVALIA_SAMPLES "/") + name, name));
        }
        FormInicio->show();
        RichViewer* memo = in<RichViewer>(FormInicio, "MemoIntro");
        QVERIFY(memo->plainText().startsWith("Bienvenido a Dorvalia"));
        QTextCursor title(memo->document());
        title.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(title.charFormat().fontWeight(), int(QFont::Bold));
        click(FormInicio, "BtInstrucc");
        QVERIFY(memo->plainText().startsWith("Instrucciones"));
        QVERIFY(memo->plainText().contains("Seleccionar lección"));
        QFile::remove("dorvalia_intro.rtf");
        QFile::remove("dorvalia_instrucciones.rtf");
    }

    // However the introduction fails, visits left unfinished are still offered at the start.
    void unfinishedVisitsAreOfferedWhateverTheIntroduction_data() {
        QTest::addColumn<QString>("introduction");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << QString() << QString();
        QTest::newRow("a folder") << QString("folder") << QString();
        QTest::newRow("too large to load") << QString("large") << QString("Failed to Load Stream.");
    }
    void unfinishedVisitsAreOfferedWhateverTheIntroduction() {
        QFETCH(QString, introduction);
        QFETCH(QString, error);
        QFile::remove("dorvalia_intro.rtf");
        const QString journals = JournalFolder();
        // Whatever the outcome, the next tests find neither this introduction nor the journal.
        const auto tidy = qScopeGuard([&] {
            QDir(journals).removeRecursively();
            QFile::remove("dorvalia_intro.rtf");
            QDir().rmdir("dorvalia_intro.rtf");
        });
        if (introduction == "folder") {
            QVERIFY(QDir().mkdir("dorvalia_intro.rtf"));
        } else if (introduction == "large") {
            QFile large("dorvalia_intro.rtf");
            QVERIFY(large.open(QIODevice::WriteOnly));
            QVERIFY(large.resize(DocumentFile::kMaxFileSize + 1)); // sparse: nothing written
        }
        QVERIFY(QDir().mkpath(journals));
        Fixture::writeFile(journals + "/visita-20261207-090000-000-1-0001.txt",
                           "{\"registro\":\"" + dir_.filePath("Isla07122026_reg.csv").toUtf8() +
                               "\",\"alumno\":\"Ana\",\"leccion\":\"Isla\","
                               "\"fecha\":\"07/12/2026\"}\n"
                               "Ana,07/12/2026,Isla\r\nNombre,Secci\xf3n,Cuesti\xf3n,Respuesta,"
                               "Juicio,1er intento\r\nAna,1,1,1,Correcta,si\r\n");
        Boxes::answer(false); // "Visita sin terminar": No, set it aside

        FormInicio->show();
        QTRY_VERIFY(Boxes::unusedAnswers() == 0);
        QStringList shown;
        for (const Boxes::Shown& b : Boxes::shown())
            shown.append(b.caption + u'|' + b.text.section(u',', 0, 0));
        QStringList expected;
        if (!error.isEmpty())
            expected.append("start_window_test|" + error);
        expected.append("Visita sin terminar|La visita de Ana a la lección Isla");
        QCOMPARE(shown, expected);
    }

    void terminarAsksBeforeEnding() {
        FormInicio->show();
        // No: the program goes on (the loop ends only when the guard stops it).
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] { qApp->exit(7); });
        Boxes::answer(false);
        QTimer::singleShot(0, [] { click(FormInicio, "Btterminar"); });
        guard.start(300);
        QCOMPARE(qApp->exec(), 7);
        QCOMPARE(lastBox(),
                 box(Boxes::Kind::Question, "Fin del programa", "¿Quiere cerrar este programa?"));
        // Yes: the event loop ends at once.
        Boxes::answer(true);
        QTimer::singleShot(0, [] { click(FormInicio, "Btterminar"); });
        guard.start(5000);
        QCOMPARE(qApp->exec(), 0);
        guard.stop();
    }

    void cancellingTheFileDialogAsksNothing() {
        FormInicio->show();
        const QString before = in<RichViewer>(FormInicio, "MemoIntro")->plainText();
        Boxes::answer(false);
        click(FormInicio, "BtSelecLec");
        QCOMPARE(Boxes::shown().size(), 1);
        QCOMPARE(Boxes::shown()[0].kind, Boxes::Kind::OpenFile);
        QCOMPARE(Boxes::shown()[0].text, QString("Lecciones|*_lec.rtf"));
        QCOMPARE(in<RichViewer>(FormInicio, "MemoIntro")->plainText(), before);
        QVERIFY(!FormLeccion->isVisible());
    }

    void aCancelledNameOpensTheLessonWithAnEmptyName() {
        writeLesson("Mi_tema_de_hoy", {".Sección 1"}, {".Sección 1", ".cUna", ".rSí", ".bBien"});
        FormInicio->show();
        NombreAlumno = QStringLiteral("Antes");
        Boxes::answer(true, lessonPath("Mi_tema_de_hoy"));
        Boxes::answer(false); // the name prompt
        Boxes::answer(false); // "Trabajo Incompleto": No, end the lesson
        bool opened = false;
        whenModal(FormLeccion, [&] {
            opened = FormLeccion->isVisible();
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        QVERIFY(opened);
        QVERIFY(!FormLeccion->isVisible());
        QCOMPARE(NombreAlumno.str(), QString());
        QCOMPARE(NombreLeccion.str(), QString("Mi_tema_de_hoy"));
        QCOMPARE(DirLeccion.str(), dir_.path() + u'/');
        QCOMPARE(Boxes::shown()[1].caption, QString("Nombre"));
        QCOMPARE(Boxes::shown()[1].text, QString("Escribe tu Nombre: "));
        QCOMPARE(FormLeccion->windowTitle(), QString("Mi_tema_de_hoy"));
        // The register's lines of a nameless student begin with ",".
        const QByteArray reg = Fixture::readFile(dir_.path() + "/Mi_tema_de_hoy07122026_reg.csv");
        QCOMPARE(reg, QByteArray(",07/12/2026,Mi_tema_de_hoy\r\n"
                                 "Nombre,Secci\xf3n,Cuesti\xf3n,Respuesta,Juicio,1er intento\r\n"));
    }
};

int main(int argc, char** argv) {
    return StudentWindowsTest::run<StartWindowTest>(argc, argv);
}

#include "StartWindowTest.moc"
