#include "study/Visit.h"

#include "lesson/LessonFiles.h"
#include "lesson/Sections.h"
#include "platform/core/Clock.h"
#include "platform/core/ToolkitError.h"
#include "platform/core/Verdict.h"
#include "tests/lesson/Fakes.h"
#include "tests/lesson/KeyFile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class FakeWindow : public LessonWindow {
public:
    int cleared = 0;
    int questionMaximum = 100;
    bool resultsEnabled = false;

    void LimpiarPreguntaYRespuesta() override { ++cleared; }
    void setQuestionMaximum(int maximum) override { questionMaximum = maximum; }
    void enableResults() override { resultsEnabled = true; }
};

// Section 1: three questions; section 2: one question whose last answer's judgment is missing;
// section 3: no questions.
const QStringList kKey = {
    QStringLiteral(".Sección 1"), QStringLiteral(".c¿Quién?"), QStringLiteral(".rAna"),
    QStringLiteral(".bBien"),     QStringLiteral(".rLuis"),    QStringLiteral(".mMal"),
    QStringLiteral(".c¿Cuándo?"), QStringLiteral(".rHoy"),     QStringLiteral(".bSí"),
    QStringLiteral(".c¿Dónde?"),  QStringLiteral(".rAquí"),    QStringLiteral(".pDepende"),
    QStringLiteral(".Sección 2"), QStringLiteral(".cÚnica"),   QStringLiteral(".rSola"),
    QStringLiteral(".Sección 3"),
};

class VisitTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 30)));
        Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
        NombreAlumno = QStringLiteral("Ana");
        NombreLeccion = QStringLiteral("El_volcan");
        const QString path = dir.filePath(QStringLiteral("El_volcan_CRJ.TXT"));
        writeAnsiLines(path, kKey);
        Clave = std::make_unique<TextList>();
        StartVisit();
        LoadKey(path);
        NumSecciones = 3;
        LlenarListaDeSecciones(list);
        SeccionActual = 0;
        PreguntasPendientes.clear();
    }
    void TearDown() override {
        EndVisit();
        Clock::setNow(std::nullopt);
        Clock::setShortDatePattern(std::nullopt);
    }

    // The window's road to an accepted answer: question n, answer k, in section.
    Judgment answer(int section, int n, int k) {
        SelectQuestion(n);
        return Accept(k, n, section, QString::number(n), window);
    }

    QStringList entries() const { return Registro->lines().mid(2); }

    QTemporaryDir dir;
    FakeWindow window;
    FakePrompter prompter;
    FakeList list;
};

TEST_F(VisitTest, StartsWithTheVisitAndColumnLines) {
    EXPECT_EQ(
        Registro->lines(),
        QStringList({QStringLiteral("Ana,07/12/2026,El_volcan"),
                     QStringLiteral("Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento")}));
    EXPECT_EQ(Falladas->count(), 0);
    EXPECT_EQ(NumCorrectas + NumIncorrectas + NumPendientes, 0);
}

TEST_F(VisitTest, EnteringASectionCountsItsQuestionsAndMarksThemPending) {
    EnterSection(1, window, prompter);
    EXPECT_EQ(SeccionActual, 1);
    EXPECT_EQ(LineaSeccion, 0);
    EXPECT_EQ(NumPreguntas, 3);
    EXPECT_EQ(window.questionMaximum, 3);
    EXPECT_EQ(window.cleared, 1);
    for (int q = 1; q <= 3; ++q)
        EXPECT_TRUE(PreguntasPendientes.contains(q));
    EXPECT_FALSE(PreguntasPendientes.contains(4));

    EXPECT_EQ(SelectQuestion(2), QStringLiteral("¿Cuándo?"));
    EXPECT_EQ(LineaPregunta, 6);
    EXPECT_EQ(NumRespuestas, 1);
    EXPECT_EQ(AnswerText(1, LineaPregunta), QStringLiteral("Hoy"));
}

TEST_F(VisitTest, AHeaderMissingFromTheKeyIsReportedAndLeavesTheQuestionsAsTheyWere) {
    EnterSection(1, window, prompter);
    PreguntasPendientes.remove(2);
    EnterSection(4, window, prompter);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, QStringLiteral("message"));
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("No se encuentra .Sección 4 en el archivo El_volcan_crj.txt"));
    EXPECT_EQ(SeccionActual, 4);
    EXPECT_EQ(LineaSeccion, -1);
    EXPECT_EQ(window.cleared, 1);
    EXPECT_EQ(window.questionMaximum, 3);
    EXPECT_TRUE(PreguntasPendientes.contains(1));
    EXPECT_FALSE(PreguntasPendientes.contains(2));
    // No other section's question is shown under this number.
    EXPECT_EQ(SelectQuestion(1), QString());
    EXPECT_EQ(NumRespuestas, 0);
}

TEST_F(VisitTest, FirstAttemptMarkFollowsEarlierIncorrectAnswersOnly) {
    EnterSection(1, window, prompter);
    // Correct at once; correct again after a correct or a pending one.
    EXPECT_EQ(answer(1, 1, 1).verdict, Verdict::Correcta);
    EXPECT_EQ(answer(1, 3, 1).verdict, Verdict::Pendiente);
    EXPECT_EQ(answer(1, 3, 0).feedback, QStringLiteral("NINGUNA DE LAS RESPUESTAS"));
    EXPECT_TRUE(window.resultsEnabled);
    EXPECT_EQ(answer(1, 1, 1).feedback, QStringLiteral("Bien"));
    // Incorrect twice, then correct: counted each time, remembered once, no ",si".
    const Judgment wrong = answer(1, 1, 2);
    EXPECT_EQ(wrong.verdict, Verdict::Incorrecta);
    EXPECT_EQ(wrong.feedback, QStringLiteral("Mal"));
    answer(1, 1, 2);
    answer(1, 1, 1);
    EXPECT_EQ(entries(), QStringList({
                             QStringLiteral("Ana,1,1,1,Correcta,si"),
                             QStringLiteral("Ana,1,3,1,Pendiente"),
                             QStringLiteral("Ana,1,3,0,Pendiente"),
                             QStringLiteral("Ana,1,1,1,Correcta,si"),
                             QStringLiteral("Ana,1,1,2,Incorrecta"),
                             QStringLiteral("Ana,1,1,2,Incorrecta"),
                             QStringLiteral("Ana,1,1,1,Correcta"),
                         }));
    EXPECT_EQ(NumCorrectas, 3);
    EXPECT_EQ(NumIncorrectas, 2);
    EXPECT_EQ(NumPendientes, 2);
    EXPECT_EQ(Falladas->lines(), QStringList({QStringLiteral("1,1,")}));
    EXPECT_TRUE(FalloAntes(QStringLiteral("1,1,")));
    EXPECT_FALSE(FalloAntes(QStringLiteral("1,11,")));
    // The same question number in another section is another question.
    EnterSection(2, window, prompter);
    answer(2, 1, 1);
    EXPECT_EQ(entries().last(), QStringLiteral("Ana,2,1,1,Pendiente"));
}

TEST_F(VisitTest, AnsweringEveryQuestionOnceCompletesTheSection) {
    EnterSection(1, window, prompter);
    answer(1, 1, 2);
    answer(1, 2, 0);
    EXPECT_TRUE(SeccionesPendientes.contains(1));
    answer(1, 3, 1);
    EXPECT_TRUE(PreguntasPendientes.isEmpty());
    EXPECT_FALSE(SeccionesPendientes.contains(1));
    EXPECT_TRUE(SeccionesPendientes.contains(2));
    // Leaving a completed section asks nothing.
    EXPECT_TRUE(ConfirmarCambioDeSeccion(prompter));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(VisitTest, LeavingAnUnfinishedSectionAsksFirst) {
    EnterSection(1, window, prompter);
    answer(1, 1, 1);
    answer(1, 2, 1);
    prompter.answers = {true, false};
    EXPECT_FALSE(ConfirmarCambioDeSeccion(prompter));
    EXPECT_TRUE(ConfirmarCambioDeSeccion(prompter));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].kind, QStringLiteral("question"));
    EXPECT_EQ(prompter.shown[0].caption, QStringLiteral("Faltan preguntas"));
    EXPECT_EQ(prompter.shown[0].text,
              QStringLiteral("Le faltan algunas preguntas de la sección 1\n\r"
                             "¿Seguir contestando esta sección?"));
    // Entering the same section again makes all its questions unanswered again.
    EnterSection(1, window, prompter);
    EXPECT_TRUE(PreguntasPendientes.contains(1) && PreguntasPendientes.contains(2));
}

TEST_F(VisitTest, EndingTheLessonNamesTheUnfinishedSections) {
    // A section without questions can be left freely but stays unfinished.
    EnterSection(3, window, prompter);
    EXPECT_EQ(NumPreguntas, 0);
    EXPECT_TRUE(ConfirmarCambioDeSeccion(prompter));
    EnterSection(2, window, prompter);
    answer(2, 1, 1);
    prompter.answers = {true, false};
    EXPECT_FALSE(ConfirmarFinDeLeccion(prompter));
    EXPECT_TRUE(ConfirmarFinDeLeccion(prompter));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].caption, QStringLiteral("Trabajo Incompleto"));
    EXPECT_EQ(prompter.shown[1].text,
              QStringLiteral("Le falta terminar las secciones: 1, 3, \n\r¿Seguir estudiando?"));
    // Only an accept with question 0 completes a section without questions.
    EnterSection(3, window, prompter);
    Accept(0, 0, 3, QStringLiteral("0"), window);
    EXPECT_FALSE(SeccionesPendientes.contains(3));
}

TEST_F(VisitTest, ClosingWithEverythingDoneAsksNothing) {
    SeccionesPendientes.clear();
    EXPECT_TRUE(ConfirmarFinDeLeccion(prompter));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(VisitTest, SectionAndQuestionNumbersEnterTheSetsModulo256) {
    NumSecciones = 300;
    LlenarListaDeSecciones(list);
    EXPECT_EQ(list.items.size(), 300);
    // Sections 1 and 257 are one member; the closing question lists 1 to 300 mod 256 = 44 only.
    SeccionesPendientes.clear();
    SeccionesPendientes.add(257);
    SeccionesPendientes.add(100);
    prompter.answers = {false};
    EXPECT_TRUE(ConfirmarFinDeLeccion(prompter));
    EXPECT_EQ(prompter.shown.at(0).text,
              QStringLiteral("Le falta terminar las secciones: 1, \n\r¿Seguir estudiando?"));

    EnterSection(1, window, prompter);
    PreguntasPendientes.clear();
    PreguntasPendientes.add(2);
    Accept(0, 258, 257, QStringLiteral("258"), window);
    EXPECT_TRUE(PreguntasPendientes.isEmpty());
    EXPECT_FALSE(SeccionesPendientes.contains(1));
}

TEST_F(VisitTest, AMalformedKeyGivesTheListErrorAndTheVisitGoesOn) {
    EnterSection(2, window, prompter);
    EXPECT_EQ(SelectQuestion(1), QStringLiteral("Única"));
    EXPECT_EQ(NumRespuestas, 1);
    // The answer's judgment line is missing: the next header stands in its place.
    EXPECT_EQ(answer(2, 1, 1).verdict, Verdict::Pendiente);
    const QStringList before = Registro->lines();
    try {
        Accept(5, 1, 2, QStringLiteral("1"), window);
        FAIL() << "no error";
    } catch (const ToolkitError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("List index out of bounds (23)"));
    }
    EXPECT_EQ(Registro->lines(), before);
    EXPECT_EQ(NumPendientes, 1);
    EXPECT_THROW(SelectQuestion(3), ToolkitError);
    EnterSection(1, window, prompter);
    EXPECT_EQ(answer(1, 1, 1).verdict, Verdict::Correcta);
}

TEST_F(VisitTest, AnEmptyNameStartsEveryLineWithAComma) {
    NombreAlumno = QString();
    StartVisit();
    EnterSection(1, window, prompter);
    answer(1, 1, 1);
    EXPECT_EQ(Registro->at(0), QStringLiteral(",07/12/2026,El_volcan"));
    EXPECT_EQ(Registro->at(2), QStringLiteral(",1,1,1,Correcta,si"));
}

TEST_F(VisitTest, NamesThatASpreadsheetWouldSplitOrRunAreProtected) {
    NombreAlumno = QStringLiteral("García, Ana \"la Rápida\"");
    NombreLeccion = QStringLiteral("=HYPERLINK(\"x\")");
    StartVisit();
    EnterSection(1, window, prompter);
    answer(1, 1, 1);
    EXPECT_EQ(Registro->at(0), QStringLiteral("\"García, Ana \"\"la Rápida\"\"\",07/12/2026,"
                                              "\"'=HYPERLINK(\"\"x\"\")\""));
    EXPECT_EQ(Registro->at(2),
              QStringLiteral("\"García, Ana \"\"la Rápida\"\"\",1,1,1,Correcta,si"));
    NombreAlumno = QStringLiteral("@Ana");
    AnotarJuicio(1, Verdict::Correcta, 1, QStringLiteral("1"), window);
    EXPECT_EQ(Registro->lines().last(), QStringLiteral("'@Ana,1,1,1,Correcta,si"));
    NombreAlumno = QStringLiteral("+34 Ana-María");
    AnotarJuicio(1, Verdict::Correcta, 1, QStringLiteral("1"), window);
    EXPECT_EQ(Registro->lines().last(), QStringLiteral("'+34 Ana-María,1,1,1,Correcta,si"));
}

} // namespace
