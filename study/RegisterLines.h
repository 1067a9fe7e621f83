#pragma once

#include <QString>

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
