#pragma once

#include "teacher/RegisterReader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Visits that a student's save reported saved and left beside their register as a copy
// (study/VisitCopy.h), but that the register lacks: on a share where the locks failed another
// program wrote over them. The teacher is told in «Avisos» and may put them back.

// One notice for every sealed copy of the register's visits that the register does not hold as a
// whole visit (as many times as it has copies), and one for every file among the copies that is
// not a sealed copy («copia no válida»): those are never vouched for, listed or put back.
QList<RegisterProblem> MissingVisitNotices(const QString& registerPath, QByteArrayView bytes);

// True for a notice of a missing visit, one that «Restaurar visitas» puts back.
bool IsMissingVisit(const RegisterProblem& notice);

// Appends to its register every missing visit of the registers of folder (and of its subfolders,
// when asked), each through the register's locked save and only if the register still lacks it.
// The number of visits put back; a Spanish line for each one that could not be.
int RestoreMissingVisits(const QString& folder, bool subfolders, QStringList& failures);
