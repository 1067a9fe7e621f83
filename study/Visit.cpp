#include "study/Visit.h"

#include "lesson/LessonFiles.h"
#include "lesson/Marks.h"
#include "lesson/Sections.h"
#include "platform/core/Clock.h"
#include "platform/core/Verdict.h"
#include "study/Journal.h"
#include "study/Register.h"
#include "study/RegisterLines.h"

int SeccionActual = 0;
int LineaSeccion = -1;
int NumPreguntas = 0;
int LineaPregunta = -1;
int NumRespuestas = 0;
NumberSet PreguntasPendientes;
int NumCorrectas = 0;
int NumIncorrectas = 0;
int NumPendientes = 0;
std::unique_ptr<TextList> Falladas;
std::unique_ptr<TextList> Registro;

namespace {
// The boxes break their lines with a line feed and then a carriage return, in that order.
const QString kBoxLineBreak = QStringLiteral("\n\r");
} // namespace

void StartVisit() {
    Falladas = std::make_unique<TextList>();
    Registro = std::make_unique<TextList>();
    // The visit line carries the day the lesson was opened, even if it is saved after midnight.
    const QString day = Clock::shortDate(Clock::today());
    Registro->add(VisitLine(NombreAlumno, day, NombreLeccion));
    Registro->add(ColumnLine());
    NumCorrectas = 0;
    NumIncorrectas = 0;
    NumPendientes = 0;
    // The journal keeps the register's folder; saved from it after a crash, the visit goes, like
    // any save, to the register of the day of saving (RegisterPathForSaving).
    VisitJournal::begin(RegisterPath(DateDigits(day)), day);
}

void EndVisit() {
    Clave.reset();
    Registro.reset();
    Falladas.reset();
}

bool ConfirmarCambioDeSeccion(Prompter& prompter) {
    if (PreguntasPendientes.isEmpty())
        return true;
    const bool keepAnswering =
        prompter.askYesNo(QStringLiteral("Faltan preguntas"),
                          QStringLiteral("Le faltan algunas preguntas de la sección ") +
                              QString::number(SeccionActual) + kBoxLineBreak +
                              QStringLiteral("¿Seguir contestando esta sección?"));
    return !keepAnswering;
}

void EnterSection(int n, LessonWindow& window, Prompter& prompter) {
    SeccionActual = n;
    const QString header = SectionHeader(n);
    LineaSeccion = FindSection(header);
    if (LineaSeccion < 0) {
        prompter.showMessage(QStringLiteral("No se encuentra ") + header +
                             QStringLiteral(" en el archivo ") + NombreLeccion +
                             QStringLiteral("_crj.txt"));
        return;
    }
    window.LimpiarPreguntaYRespuesta();
    PreguntasPendientes.clear();
    NumPreguntas = ContarMarcas(Mark::Question, LineaSeccion);
    window.setQuestionMaximum(NumPreguntas);
    for (int i = 1; i <= NumPreguntas % 256; ++i)
        PreguntasPendientes.add(i);
}

QString SelectQuestion(int n) {
    // With the section's header missing from the key there is no question to show: scanning
    // from the top of the key would show another section's questions under this one's number.
    if (LineaSeccion < 0) {
        LineaPregunta = -1;
        NumRespuestas = 0;
        return QString();
    }
    LineaPregunta = BuscarLineaDePregunta(n, LineaSeccion);
    const QString text = QuestionText(LineaPregunta);
    NumRespuestas = ContarMarcas(Mark::Answer, LineaPregunta);
    return text;
}

Judgment Accept(int k, int n, int section, const QString& questionText, LessonWindow& window) {
    Judgment judgment = Judge(k, LineaPregunta);
    AnotarJuicio(k, judgment.verdict, section, questionText, window);
    PreguntasPendientes.remove(n);
    if (PreguntasPendientes.isEmpty())
        SeccionesPendientes.remove(section);
    return judgment;
}

void AnotarJuicio(int k, Verdict verdict, int section, const QString& questionText,
                  LessonWindow& window) {
    const QString s = QString::number(section) + u',';
    const QString q = questionText + u',';
    const bool before = FalloAntes(s + q);
    // First attempt: no incorrect answer to this question was accepted earlier.
    const QString line = EntryLine(NombreAlumno, section, questionText, k, verdict, !before);
    if (verdict == Verdict::Correcta) {
        ++NumCorrectas;
    } else if (verdict == Verdict::Incorrecta) {
        ++NumIncorrectas;
        if (!before)
            Falladas->add(s + q);
    } else {
        ++NumPendientes;
    }
    Registro->add(line);
    VisitJournal::record(Registro->lines());
    window.enableResults();
}

bool FalloAntes(const QString& key) {
    return Falladas && Falladas->indexOf(key) >= 0;
}

bool ConfirmarFinDeLeccion(Prompter& prompter) {
    QString list;
    for (int i = 1; i <= NumSecciones % 256; ++i) {
        if (SeccionesPendientes.contains(i))
            list += QString::number(i) + QStringLiteral(", ");
    }
    if (SeccionesPendientes.isEmpty())
        return true;
    const bool keepStudying =
        prompter.askYesNo(QStringLiteral("Trabajo Incompleto"),
                          QStringLiteral("Le falta terminar las secciones: ") + list +
                              kBoxLineBreak + QStringLiteral("¿Seguir estudiando?"));
    return !keepStudying;
}
