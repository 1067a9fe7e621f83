// The student's program on a lesson whose key is only published: every verdict, every feedback
// and the register as with the plain key; a published key that was damaged stops the opening as
// a missing key does.
#include "tests/windows/StudentWindows.h"

#include "lesson/AnswerKey.h"
#include "lesson/PublishedKey.h"
#include "platform/Application.h"
#include "platform/Boxes.h"
#include "platform/ListBox.h"
#include "platform/UpDown.h"
#include "platform/core/Clock.h"
#include "windows/Unit1.h"
#include "windows/Unit3.h"
#include "windows/Unit5.h"

#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every kind of judgment: ".b", ".m", ".B", ".p", an empty line; accented feedback.
const QStringList kEveryJudgment = {
    ".Sección 1",
    ".c¿Qué dice el primer párrafo?",
    ".rQue el volcán duerme.",
    ".bBien: lo dice la primera frase.",
    ".rQue el volcán ruge.",
    ".mNo: relee la primera frase.",
    ".c¿Quién es Lucía?",
    ".rLa abuela.",
    ".mNo: Lucía es la nieta.",
    ".rLa nieta.",
    ".b¡Eso es!",
    ".rUna científica.",
    ".pPiénsalo otra vez.",
    ".Sección 2",
    ".cPregunta de la sección 2",
    ".rRespuesta buena",
    ".BCorrecto, en mayúsculas.",
    ".rSin juicio escrito",
    "",
    ".Sección 3",
    ".c¿Dónde está la isla?",
    ".rEn el mar.",
    ".bSí.",
};

// Accepts every answer of every question, and then none of the above, section by section.
int acceptEverything() {
    int accepted = 0;
    for (int s = 0; s < in<ListBox>(FormLeccion, "ListaDeSecciones")->count(); ++s) {
        pickSection(s);
        const int questions = in<UpDown>(FormLeccion, "UpDownPregunta")->maximum();
        for (int q = 1; q <= questions; ++q) {
            step(FormLeccion, "UpDownPregunta", "up");
            const int answers = in<UpDown>(FormLeccion, "UpDownRespuesta")->maximum();
            for (int k = 0; k <= answers; ++k) { // the last step wraps to 0
                step(FormLeccion, "UpDownRespuesta", "up");
                click(FormLeccion, "BtAceptar");
                ++accepted;
            }
        }
    }
    return accepted;
}

QStringList boxesShown() {
    QStringList boxes;
    for (const Boxes::Shown& b : Boxes::shown())
        boxes.append(QString::number(int(b.kind)) + u'|' + b.caption + u'|' + b.text);
    return boxes;
}

} // namespace

class PublishedLessonTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // The lesson in a folder of its own: its reading and its plain or its published key.
    QString writeLesson(const QString& folder, const QByteArray& plainKey, bool published,
                        const QByteArray& reading = Fixture::lessonText({".Sección 1", ".Sección 2",
                                                                         ".Sección 3"})) {
        QDir().mkpath(dir_.filePath(folder));
        const QString base = dir_.filePath(folder) + "/Isla";
        Fixture::writeFile(base + "_lec.rtf", reading);
        if (published)
            Fixture::writeFile(base + "_CRJ.dvk", SealKey(plainKey, QStringLiteral("Isla")));
        else
            Fixture::writeFile(base + "_CRJ.TXT", plainKey);
        return base + "_lec.rtf";
    }

    // Opens the lesson as Ana, accepts everything and ends it; gives the boxes shown, and the
    // register written.
    QStringList visit(const QString& lesson, QByteArray& reg, int& accepted) {
        Boxes::stopScript();
        Boxes::startScript();
        Boxes::answer(true, lesson);
        Boxes::answer(true, "Ana");
        Fixture::whenModal(FormLeccion, [&] {
            accepted = acceptEverything();
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        reg = Fixture::readFile(QFileInfo(lesson).path() + "/Isla07122026_reg.csv");
        return boxesShown();
    }

private slots:
    void initTestCase() {
        Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
        Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
    }

    void init() {
        Boxes::startScript();
        FormInicio = new TFormInicio();
        FormLeccion = new TFormLeccion(FormInicio);
        Resultados = new TResultados(FormLeccion);
        FormInicio->show();
    }

    void cleanup() {
        QCOMPARE(Boxes::unanswered(), 0);
        QCOMPARE(Boxes::unusedAnswers(), 0);
        Boxes::stopScript();
        delete FormInicio;
        FormInicio = nullptr;
        FormLeccion = nullptr;
        Resultados = nullptr;
    }

    void aPublishedKeyGivesThePlainKeysVerdictsAndFeedback_data() {
        QTest::addColumn<QByteArray>("key");
        QTest::addColumn<QByteArray>("reading");
        const QByteArray reading = Fixture::lessonText({".Sección 1", ".Sección 2", ".Sección 3"});
        QTest::newRow("Windows-1252") << Fixture::keyText(kEveryJudgment) << reading;
        QTest::newRow("UTF-8") << kEveryJudgment.join(u'\n').toUtf8() << reading;
        QTest::newRow("ejemplo") << Fixture::readFile(DORVALIA_SAMPLES "/El_volcan_CRJ.TXT")
                                 << Fixture::readFile(DORVALIA_SAMPLES "/El_volcan_lec.rtf");
    }

    void aPublishedKeyGivesThePlainKeysVerdictsAndFeedback() {
        QFETCH(QByteArray, key);
        QFETCH(QByteArray, reading);
        QByteArray plainRegister, publishedRegister;
        int plainAccepted = 0, publishedAccepted = 0;
        const QStringList plain =
            visit(writeLesson(QTest::currentDataTag() + QString("/plana"), key, false, reading),
                  plainRegister, plainAccepted);
        const QStringList published =
            visit(writeLesson(QTest::currentDataTag() + QString("/publicada"), key, true, reading),
                  publishedRegister, publishedAccepted);
        QVERIFY(plainAccepted >= 6);
        QCOMPARE(publishedAccepted, plainAccepted);
        QCOMPARE(published, plain);
        QCOMPARE(publishedRegister, plainRegister);
        QVERIFY(plain.join(u'\n').contains("|Correcta|"));
        QVERIFY(plain.join(u'\n').contains("|Incorrecta|"));
    }

    // The window as after any failed opening: the error box over it, its caption, nothing
    // listed, the key empty; it still closes and saves the visit's register.
    void aDamagedPublishedKeyStopsTheOpening() {
        const QString lesson = writeLesson("dañada", Fixture::keyText(kEveryJudgment), true);
        const QString published = QFileInfo(lesson).path() + "/Isla_CRJ.dvk";
        QByteArray bytes = Fixture::readFile(published);
        bytes[bytes.size() - 40] = char(bytes[bytes.size() - 40] ^ 0x04);
        Fixture::writeFile(published, bytes);
        Boxes::answer(true, lesson);
        Boxes::answer(true, "Ana");
        bool stayedOpen = false;
        int listed = -1;
        qsizetype keyLines = -1;
        Fixture::whenModal(FormLeccion, [&] {
            stayedOpen = FormLeccion->isVisible();
            listed = FormLeccion->findChild<ListBox*>("ListaDeSecciones")->count();
            keyLines = Clave ? Clave->count() : 0;
            QCOMPARE(FormLeccion->windowTitle(), QString("Isla"));
            QVERIFY(!FormLeccion->findChild<UpDown*>("UpDownPregunta")->isEnabled());
            click(FormLeccion, "BtTerminarLec");
        });
        click(FormInicio, "BtSelecLec");
        QVERIFY(stayedOpen);
        QCOMPARE(listed, 0);
        QCOMPARE(keyLines, 0);
        QCOMPARE(Boxes::shown().size(), 3);
        QCOMPARE(Boxes::shown()[2].kind, Boxes::Kind::Error);
        QCOMPARE(Boxes::shown()[2].over, FormLeccion);
        QCOMPARE(Boxes::shown()[2].text,
                 "La clave publicada " + published +
                     " está dañada o se ha cambiado a mano: vuelva a publicar la lección.");
        QVERIFY(!FormLeccion->isVisible());
        QCOMPARE(Fixture::readFile(QFileInfo(lesson).path() + "/Isla07122026_reg.csv"),
                 QByteArray("Ana,07/12/2026,Isla\r\n"
                            "Nombre,Secci\xf3n,Cuesti\xf3n,Respuesta,Juicio,1er intento\r\n"));
    }
};

int main(int argc, char** argv) {
    qputenv("LC_ALL", "C.UTF-8");
    Application app(argc, argv);
    PublishedLessonTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "PublishedLessonTest.moc"
