#pragma once

#include "platform/core/Verdict.h"

#include <QString>
#include <QStringList>
#include <QStringView>

// The register's lines as a spreadsheet must read them. A field holding a comma, a double quote
// or a line break is quoted, its quotes doubled; every other field is written as it is.
QString RegisterField(const QString& text);

// A name the student or teacher typed: as RegisterField, and a leading "=", "+", "-" or "@" gets
// an apostrophe before it, so that a spreadsheet does not take it for a formula.
QString TypedRegisterField(const QString& text);

// NombreAlumno, date, NombreLeccion.
QString VisitLine(const QString& alumno, const QString& date, const QString& leccion);

// "Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento".
QString ColumnLine();

// An entry line: NombreAlumno, the section's number, the question's number as its box shows it,
// the answer's number (0: none of them), the verdict, and ",si" after a "Correcta" at the first
// attempt.
QString EntryLine(const QString& alumno, int section, const QString& question, int answer,
                  Verdict verdict, bool firstAttempt);

// An entry line as read back.
struct EntryFields {
    int section = 0;
    int question = 0;
    int answer = 0;
    Verdict verdict = Verdict::Pendiente;
    bool firstAttempt = false;
};

// Numbers past these are nothing the program writes: a lesson has at most 255 sections, a
// question's answers are counted in a byte.
constexpr int kMostEntrySection = 255;
constexpr int kMostEntryQuestion = 0xFFFF;
constexpr int kMostEntryAnswer = 255;

// Reads an entry line from its end: its last four fields (five with ",si") are numbers and a
// verdict and are never quoted; the name before them may hold commas and is not read. False for
// a line that EntryLine cannot have written (a field missing, not a number, out of bounds, an
// unknown verdict, "si" after anything but "Correcta").
bool ReadEntryLine(QStringView line, EntryFields& fields);

// The reading side of the same rules, for the teacher's program. Splits a line into fields: a
// field that begins with a double quote runs to its closing quote, doubled quotes inside made
// single; any other field runs to the next comma. Returns false when a quoted field is left
// open or followed by anything but a comma: fields then holds the line cut at every comma, the
// way an older version that never quoted wrote it.
bool SplitRegisterLine(QStringView line, QStringList& fields);

// Undoes TypedRegisterField's apostrophe: "'=A" gives "=A"; an apostrophe before anything else
// was typed by the student and stays.
QString UnguardedField(const QString& field);
