#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Where every save also leaves its visit: a file of its own, made by exclusive creation under a
// random name, in a hidden folder beside the register, where no other program writes. Its bytes
// are exactly those the save appends. If locks fail on a share and another program writes over
// the visit in the register, the copy stays, and the teacher's program finds the visit missing
// and appends it again (VisitCopies in teacher/).
//
// "<folder>/.dorvalia-visitas/<register's file name>.<random>.visita"

inline const QString kVisitCopyFolder = QStringLiteral(".dorvalia-visitas");
inline const QString kVisitCopySuffix = QStringLiteral(".visita");

// The copies of a register's visits, sorted by the time the share gives them.
QStringList VisitCopiesOf(const QString& registerPath);

// Writes a new copy of a visit's bytes, after its save; its path, or empty when the folder takes
// no new files (the save is not undone for that).
QString WriteVisitCopy(const QString& registerPath, const QByteArray& bytes);

// True when the register at path holds bytes somewhere, read in pieces whatever its size.
bool RegisterHolds(const QString& path, const QByteArray& bytes);

// Now and then (one call in sixteen) removes the copies, of any register of the folder, whose
// visit is in their register and which the share dated a day or more before newCopy: by then no
// save still under way can write over them. Both dates are the share's, never compared with a
// computer's clock.
void RemoveSettledCopies(const QString& newCopy);
