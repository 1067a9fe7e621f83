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

// «Prueba»: a row per lesson, the test as a whole: its students, the questions that count in the
// mark, the marks' mean, median and spread, its reliability (alpha) and a mark's standard error.
SummaryTable TestTable(const ClassSummary& summary, const QString& lesson = {});

// Columns of QuestionsTable before the answers' shares; after them come «% al azar», «Índice D»
// and «Alfa sin ella» (QuestionsTailColumn counts them from the end).
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

enum QuestionsTailColumn { QAzarFromEnd = 3, QIndiceDFromEnd = 2, QAlfaSinEllaFromEnd = 1 };

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
