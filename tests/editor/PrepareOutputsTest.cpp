// The key's outputs from «Preparar lección» and the command line: the worksheet's two copies,
// GIFT out and back, the refusals, and the worksheet as a verb.
#include "commandline/CommandLine.h"
#include "lesson/PublishedKey.h"
#include "platform/Boxes.h"
#include "platform/core/Clock.h"
#include "print/Worksheet.h"
#include "tests/windows/LessonFixture.h"
#include "windows/teacher/TeacherWindow.h"
#include "windows/teacher/editor/PrepareView.h"

#include <QAbstractTextDocumentLayout>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

class PrepareOutputsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString lessonPath(const QString& name) const { return dir_.path() + u'/' + name + "_lec.rtf"; }

private slots:
    void initTestCase() {
        Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
        Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
    }
    void init() { Boxes::startScript(); }
    void cleanup() {
        QCOMPARE(Boxes::unanswered(), 0);
        QCOMPARE(Boxes::unusedAnswers(), 0);
        Boxes::stopScript();
    }

    // The worksheet to hand out: each copy by its own button, printed through the print dialog
    // or saved as a PDF, said in the status bar; the questions under a heading of their own,
    // each on one page with its answers, a box before each answer, ticked on the teacher's copy.
    void aWorksheetToHandOut() {
        QStringList key = {".Sección 1"};
        for (int q = 1; q <= 14; ++q)
            key << QStringLiteral(".cPregunta %1: ¿qué dice el texto de este párrafo?").arg(q)
                << ".rSí"
                << ".bBien"
                << ".rNo"
                << ".mNo"
                << ".rQuizá"
                << ".pCasi"
                << ".rNunca"
                << ".mNo";
        Fixture::writeFile(lessonPath("Ficha"), Fixture::lessonText({".Sección 1"}));
        Fixture::writeFile(dir_.path() + "/Ficha_CRJ.TXT", Fixture::keyText(key));
        TeacherWindow window;
        auto* view = window.findChild<PrepareView*>();
        view->openLesson(lessonPath("Ficha"));
        const QString printed = dir_.path() + "/impresa.pdf", saved = dir_.path() + "/docente.pdf";
        for (const auto& [copy, how, file] :
             {std::tuple{"Ficha del alumno", "Imprimir…", printed},
              std::tuple{"Copia del docente", "Guardar en PDF…", saved}}) {
            Boxes::answer(true, copy);
            Boxes::answer(true, how);
            Boxes::answer(true, file);
            view->printWorksheetClicked();
            QVERIFY(Fixture::readFile(file).startsWith("%PDF"));
            // The print dialog may print to a file: the status bar says where, not «impresora».
            if (file == printed)
                QCOMPARE(window.statusBar()->currentMessage(),
                         "La ficha del alumno está en " + QDir::toNativeSeparators(printed) + ".");
        }
        QCOMPARE(window.statusBar()->currentMessage(),
                 "La copia del docente está en " + QDir::toNativeSeparators(saved) + ".");

        for (const WorksheetCopy copy : {WorksheetCopy::Alumno, WorksheetCopy::Docente}) {
            const bool teacher = copy == WorksheetCopy::Docente;
            QString failure;
            const auto sheet = MakeWorksheet(lessonPath("Ficha"), key, copy, failure);
            QVERIFY(sheet);
            QCOMPARE(sheet->firstBlock().text().startsWith("Nombre: ___"), !teacher);
            QVERIFY(!sheet->find("Preguntas").isNull());
            QCOMPARE(sheet->find("Preguntas").block().text(), "Preguntas");
            const qreal page = sheet->pageSize().height();
            auto pageOf = [&](const QTextBlock& block) {
                return int(sheet->documentLayout()->blockBoundingRect(block).bottom() / page);
            };
            int questions = 0;
            for (QTextBlock b = sheet->begin(); b.isValid(); b = b.next()) {
                if (!b.text().contains(": ¿qué dice"))
                    continue;
                ++questions;
                const QTextBlock last = sheet->findBlockByNumber(b.blockNumber() + 4);
                QVERIFY(last.text().contains("d) Nunca"));
                QCOMPARE(pageOf(b), pageOf(last));
                QCOMPARE(b.next().text().left(5), QString(teacher ? "\u2611  a)" : "\u2610  a)"));
                QCOMPARE(b.next().next().text().left(5), QString("\u2610  b)"));
            }
            QCOMPARE(questions, 14);
            QVERIFY(sheet->pageCount() > 2);
        }
    }

    // The verbs: gift and back, refusals, and the worksheet.
    void commandLine() {
        Fixture::writeFile(lessonPath("Verbos"), Fixture::lessonText({".Sección 1"}));
        const QStringList key = {".Sección 1", ".c¿Qué?", ".rEsto", ".bSí", ".rAquello", ".pQuizá"};
        Fixture::writeFile(dir_.path() + "/Verbos_CRJ.TXT", Fixture::keyText(key));
        auto run = [](const QStringList& arguments, int& status) {
            QString out, err;
            QTextStream o(&out), e(&err);
            status = runCommandLine(arguments, o, e);
            return out + err;
        };
        int status = -1;
        const QString gift = dir_.path() + "/v.gift";
        QCOMPARE(run({"gift", lessonPath("Verbos"), gift}, status),
                 "1 pregunta exportada a " + QDir::toNativeSeparators(gift) +
                     ".\n1 respuesta pendiente pasa a ser incorrecta (0 %) en Moodle.\n");
        QCOMPARE(status, 0);
        // The same lesson with its key only published exports no answers: that key is the
        // class's copy, on every student's computer.
        const QString published = dir_.path() + "/publicada";
        QVERIFY(QDir().mkpath(published));
        Fixture::writeFile(published + "/Verbos_lec.rtf", Fixture::lessonText({".Sección 1"}));
        Fixture::writeFile(published + "/Verbos_CRJ.dvk", SealKey(Fixture::keyText(key), "Verbos"));
        QVERIFY(run({"gift", published + "/Verbos_lec.rtf", published + "/v.gift"}, status)
                    .contains("hace falta la clave sin proteger, Verbos_CRJ.TXT"));
        QCOMPARE(status, 2);
        QVERIFY(!QFile::exists(published + "/v.gift"));
        const QString copy = dir_.path() + "/Copia_CRJ.TXT";
        QCOMPARE(run({"desde-gift", gift, copy}, status),
                 "1 pregunta escrita en " + QDir::toNativeSeparators(copy) + ".\n");
        QStringList back = key;
        back[5] = ".mQuizá";
        QCOMPARE(Fixture::readFile(copy), Fixture::keyText(back));
        QVERIFY(run({"desde-gift", gift, copy}, status).contains("ya existe"));
        QCOMPARE(status, 2);
        QCOMPARE(run({"desde-gift", gift, copy, "--reemplazar"}, status).isEmpty(), false);
        QCOMPARE(status, 0);
        QCOMPARE(Fixture::readFile(copy + ".bak"), Fixture::keyText(back));
        // Given the reading, it writes the key beside it; any other file is left alone.
        const QString reading = lessonPath("Verbos");
        const QByteArray readingBytes = Fixture::readFile(reading);
        QCOMPARE(run({"desde-gift", gift, reading, "--reemplazar"}, status).isEmpty(), false);
        QCOMPARE(status, 0);
        QCOMPARE(Fixture::readFile(reading), readingBytes);
        QCOMPARE(Fixture::readFile(dir_.path() + "/Verbos_CRJ.TXT"), Fixture::keyText(back));
        QVERIFY(
            run({"desde-gift", gift, gift, "--reemplazar"}, status).contains("no es una clave"));
        QCOMPARE(status, 64);
        Fixture::writeFile(dir_.path() + "/mala.txt", "¿Cuál?\nA) Una\nANSWER:\n");
        QVERIFY(
            run({"desde-gift", dir_.path() + "/mala.txt", dir_.path() + "/Otra_CRJ.TXT"}, status)
                .contains("línea 3: falta la letra de la respuesta correcta"));
        QCOMPARE(status, 1);
        QVERIFY(!QFile::exists(dir_.path() + "/Otra_CRJ.TXT"));
        Fixture::writeFile(dir_.path() + "/corta.gift", "::Corta:: ¿Cuánto? {=dos}\n\n¿Y? {=a ~b}");
        QVERIFY(
            run({"desde-gift", dir_.path() + "/corta.gift", dir_.path() + "/Otra_CRJ.TXT"}, status)
                .contains("\nlínea 1: «Corta» (respuesta corta)\n"));

        const QString pdf = dir_.path() + "/ficha.pdf";
        QCOMPARE(run({"ficha", lessonPath("Verbos"), "--pdf", pdf, "--con-clave"}, status),
                 "Ficha escrita en " + QDir::toNativeSeparators(pdf) + ".\n");
        QVERIFY(Fixture::readFile(pdf).startsWith("%PDF"));
        // The student's copy has the answers to tick; the teacher's, their judgments too.
        QTextDocument student, teacher;
        AppendWorksheetQuestions(student, key, WorksheetCopy::Alumno);
        AppendWorksheetQuestions(teacher, key, WorksheetCopy::Docente);
        QVERIFY(student.toPlainText().contains("Aquello"));
        QVERIFY(!student.toPlainText().contains("Quizá"));
        QVERIFY(teacher.toPlainText().contains("Correcta. Sí"));
        QVERIFY(teacher.toPlainText().contains("Pendiente. Quizá"));
    }

    // Questions of every height, with short answers and long ones: no question is parted from
    // any of its answers, on either copy, whatever the page's end falls on.
    void everyQuestionStaysWithItsAnswers() {
        QStringList key;
        for (int s = 1; s <= 3; ++s) {
            key << QStringLiteral(".Sección %1").arg(s);
            for (int q = 1; q <= 17; ++q) {
                key << ".c" + QString("¿Qué dice el texto? ").repeated(1 + (q * s) % 9);
                for (int a = 0; a < 2 + (q + s) % 5; ++a)
                    key << (a % 2 ? ".rNo."
                                  : ".r" + QString("Lo que dice el párrafo. ").repeated(a))
                        << (a == 0 ? ".bBien." : ".m" + QString("Vuelve a leer. ").repeated(q % 6));
            }
        }
        Fixture::writeFile(lessonPath("Alturas"), Fixture::lessonText({".Sección 1"}));
        for (const WorksheetCopy copy : {WorksheetCopy::Alumno, WorksheetCopy::Docente}) {
            QString failure;
            const auto sheet = MakeWorksheet(lessonPath("Alturas"), key, copy, failure);
            QVERIFY(sheet);
            const qreal page = sheet->pageSize().height();
            sheet->documentLayout()->documentSize(); // laid out whole, as printing does
            // The page of a block's first line (0) or its last (-1), as they are printed.
            auto pageOf = [&](const QTextBlock& block, int line) {
                const QTextLayout* lines = block.layout();
                const QRectF r = lines->lineAt(line < 0 ? lines->lineCount() - 1 : line).rect();
                return int((lines->position().y() + (line < 0 ? r.bottom() - 0.5 : r.top())) /
                           page);
            };
            int questions = 0;
            for (QTextBlock b = sheet->begin(); b.isValid(); b = b.next()) {
                if (!b.text().contains("¿Qué dice el texto?"))
                    continue;
                ++questions;
                QTextBlock last = b;
                while (last.next().text().startsWith(u'\u2610') ||
                       last.next().text().startsWith(u'\u2611'))
                    last = last.next();
                QVERIFY2(pageOf(b, 0) == pageOf(last, -1), qPrintable(b.text()));
            }
            QCOMPARE(questions, 51);
        }
    }
};

QTEST_MAIN(PrepareOutputsTest)
#include "PrepareOutputsTest.moc"
