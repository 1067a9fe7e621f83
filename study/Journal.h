#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// The journal of the visit in progress: its register lines, exactly as the closing will write
// them, kept on the disk from the first accepted answer in the student's own data folder, so that
// a crash, a power cut or a computer switched off at the bell loses no answer. The closing that
// saves the register removes it; a journal left behind is offered back at the next start.
//
// A journal is one file "visita-<start, UTC>-<process>-<n>.txt" in JournalFolder(): one line of
// UTF-8 JSON (the register's path, the student, the lesson, the day the visit started in the
// short date format), a line feed, and then the register's bytes, one CR LF line per register
// line, appended and synced at every accepted answer. While its visit is open its program holds a
// QLockFile beside it (the journal's path with ".lock" added), so that another Dorvalia of the
// same user never offers a journal whose program is still running.
namespace VisitJournal {

// Starts the journal of a new visit, begun on the day fecha (short date), whose lines go to the
// register at registerPath. Nothing is written before the first accepted answer.
void begin(const QString& registerPath, const QString& fecha);

// Brings the journal up to date with the visit's lines. A journal that cannot be written does
// not stop the visit; it is written whole again at the next answer.
void record(const QStringList& lines);

// The visit is in its register: its journal goes.
void finish();

// The visit is in its register but left no copy there: its journal stays on the disk, no longer
// this program's, and the next start finds the visit saved (Recovery.h) and removes it.
void leave();

// The journal this program holds for the visit in progress; empty before its first answer.
QString path();

} // namespace VisitJournal

// Where journals live: the application's data folder in the student's profile, never the lesson
// folder, which may be shared or read-only.
QString JournalFolder();

// A journal as read back: where its lines go, whose they are, and the lines themselves.
struct JournalContents {
    QString registerPath;
    QString alumno;
    QString leccion;
    QString fecha; // the day the visit started, in the short date format
    QByteArray bytes;
    int answers = 0;
};

// Reads a journal; empty for a file that is not one (cut before its opening lines were synced).
// A last line cut short by a crash is dropped.
std::optional<JournalContents> ReadJournal(const QString& path);
