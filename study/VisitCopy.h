#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Where every save also leaves its visit: a file of its own, made by exclusive creation under a
// random name, in a hidden folder beside the register, where no other program writes. Its bytes
// are exactly those the save appends, and a seal (VisitSeal.h). If locks fail on a share and
// another program writes over the visit in the register, the copy stays, and the teacher's program
// finds the visit missing and appends it again (VisitCopies in teacher/).
//
// "<folder>/.dorvalia-visitas/<register's file name>.<random>.visita"

inline const QString kVisitCopyFolder = QStringLiteral(".dorvalia-visitas");
inline const QString kVisitCopySuffix = QStringLiteral(".visita");

// The copies of a register's visits, sorted by the time the share gives them: every name of a
// copy, whatever it is (a link, a FIFO, a hand-made file), so that none goes unreported. None when
// the copies' folder is itself a link.
QStringList VisitCopiesOf(const QString& registerPath);

// A copy as read back: the visit it holds, or empty with a Spanish reason when it is not a sealed
// copy of this register's (a link, too large, cut short, hand-made).
struct VisitCopyRead {
    QString path;
    QByteArray visit;
    QString notValid;
};
VisitCopyRead ReadVisitCopy(const QString& registerPath, const QString& copyPath);

// Writes a new copy of a visit's bytes, after its save; its path, or empty when the folder takes
// no new files (the save is not undone for that). A tag (VisitCopyTag) names the copy for the
// visit's journal instead of a random part: a copy of that tag already there is the one.
QString WriteVisitCopy(const QString& registerPath, const QByteArray& bytes,
                       const QString& tag = {});

// The tag of the copy that the visit of the journal at journalPath leaves.
QString VisitCopyTag(const QString& journalPath);

// True when a journal's visit is in the register already: its tagged copy is there, or the
// register holds the visit more often than it has sealed copies of it (the save reached the
// register, and its copy never came).
bool VisitInRegister(const QString& registerPath, const QByteArray& bytes, const QString& tag);

// Now and then (one call in sixteen) removes the sealed copies, of any register of the folder,
// whose visit is in their register (as often as it has copies) and which the share dated a day or
// more before newCopy: by then no save still under way can write over them. Both dates are the
// share's, never compared with a computer's clock.
void RemoveSettledCopies(const QString& newCopy);
