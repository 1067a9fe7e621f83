#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// A visit is known by its lines as a whole, in order: its visit line, its column line and its
// entries, each ended by CR LF. The same student may visit the same lesson twice on a day with the
// same answers, so a register may hold one visit's bytes more than once, and each time counts.

// How many times the register read from device holds visit as a visit of its own: from a line's
// start, and not followed by an entry line (that would make it the start of a longer visit). A
// last line without its CR LF (a save under way) ends the register. Read line by line: memory
// stays within a line of the visit's, whatever the register's size.
int CountWholeVisit(QIODevice& device, const QByteArray& visit);

// The same for the register at path; -1 when it cannot be opened.
int CountWholeVisitIn(const QString& path, const QByteArray& visit);
