#pragma once

#include "platform/core/Verdict.h"

#include "lesson/AnswerKey.h"
#include "lesson/Prompter.h"
#include "platform/core/NumberSet.h"
#include "platform/core/TextList.h"
#include "study/LessonWindow.h"

#include <memory>

// The state of one visit: set when the lesson window opens, read until it closes.
extern int SeccionActual;
extern int LineaSeccion;
extern int NumPreguntas;
extern int LineaPregunta;
extern int NumRespuestas;
extern NumberSet PreguntasPendientes;
extern int NumCorrectas;
extern int NumIncorrectas;
extern int NumPendientes;
extern std::unique_ptr<TextList> Falladas;
extern std::unique_ptr<TextList> Registro;

// Empties Falladas, starts Registro with its visit and column lines, zeroes the counters.
void StartVisit();

// Destroys Clave, Registro and Falladas at the end of a visit.
void EndVisit();

bool ConfirmarCambioDeSeccion(Prompter& prompter);

// Makes section n current in the key, after the window has shown its marker.
void EnterSection(int n, LessonWindow& window, Prompter& prompter);

// Makes question n (n >= 1) current; sets NumRespuestas and gives the question's text.
QString SelectQuestion(int n);

// Accepts answer k (0 = none of the above) to question n; section is the selected section's
// number and questionText the text of the question number box.
Judgment Accept(int k, int n, int section, const QString& questionText, LessonWindow& window);

void AnotarJuicio(int k, Verdict verdict, int section, const QString& questionText,
                  LessonWindow& window);

bool FalloAntes(const QString& key);

bool ConfirmarFinDeLeccion(Prompter& prompter);
