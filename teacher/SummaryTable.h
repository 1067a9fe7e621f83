#pragma once

#include "teacher/ClassSummary.h"

#include <QList>
#include <QStringList>
#include <QVariant>

// The two tables of the summary as every export and the window lay them out: a header row and
// cells that are whole numbers (int), percentages with one decimal (double), texts (QString), or
// empty (an invalid QVariant).
struct SummaryTable {
    QStringList headers;
    QList<QVariantList> rows;
};

// "Cuestiones" and "Alumnos" of every lesson, or of the one lesson named. A mark and a
// discrimination are Decimal cells (DecimalCell.h).
SummaryTable QuestionsTable(const ClassSummary& summary, const QString& lesson = {});
SummaryTable StudentsTable(const ClassSummary& summary, const QString& lesson = {});

// Columns of QuestionsTable before the answers' shares.
enum QuestionColumn {
    QLeccion,
    QSeccion,
    QCuestion,
    QAlumnos,
    QCorrectasPrimer,
    QPorcentajePrimer,
    QIncorrectaMasElegida,
    QVecesElegida,
    QTexto,
    QTextoIncorrecta,
    QRevisar,
    QRespuestasAceptadas,
    QDiscriminacion,
    QAviso,
    QFirstShare
};

// Columns of StudentsTable.
enum StudentColumn {
    SLeccion,
    SAlumno,
    SVisitas,
    SRespuestasAceptadas,
    SCorrectas,
    SIncorrectas,
    SPendientes,
    SCorrectasPrimer,
    SCuestionesRespondidas,
    SSeccionesCompletadas,
    SSeccionesSinCompletar,
    SNota
};

// The mark on a question to take up again in class.
inline const QString kRevisar = QStringLiteral("revisar");

// A cell as a Spanish reader sees it in the window and the printed report: "1.234",
// "40,0 %" (with a no-break space before the sign), "6,5" for a Decimal.
QString DisplayCell(const QVariant& value);
