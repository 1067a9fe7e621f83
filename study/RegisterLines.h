#pragma once

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

// The reading side of the same rules, for the teacher's program. Splits a line into fields: a
// field that begins with a double quote runs to its closing quote, doubled quotes inside made
// single; any other field runs to the next comma. Returns false when a quoted field is left
// open or followed by anything but a comma: fields then holds the line cut at every comma, the
// way an older version that never quoted wrote it.
bool SplitRegisterLine(QStringView line, QStringList& fields);

// Undoes TypedRegisterField's apostrophe: "'=A" gives "=A"; an apostrophe before anything else
// was typed by the student and stays.
QString UnguardedField(const QString& field);
