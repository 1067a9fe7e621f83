#pragma once

#include "teacher/SummaryTable.h"

// «Respuestas»: a row per answer of each question, with how many students chose it first, in
// all and within the upper and the lower third of the class by mark, and the share of each third
// that did.
SummaryTable AnswersTable(const ClassSummary& summary, const QString& lesson = {});

// Columns of AnswersTable.
enum AnswerColumn {
    RLeccion,
    RSeccion,
    RCuestion,
    RRespuesta,
    RJuicio,
    RTexto,
    RPrimeraEleccion,
    RPorcentaje,
    RTercioSuperior,
    RTercioInferior,
    RPorcentajeSuperior,
    RPorcentajeInferior,
    RAviso
};

// A wrong answer that no one chose first: it distracts nobody.
inline const QString kNadieLaElige = QStringLiteral("nadie la elige");

// The answer as the teacher reads it: its text, or «ninguna de las respuestas» for 0.
QString AnswerName(const AnswerChoice& choice);
