#pragma once

#include "teacher/LessonCheck.h"

#include <QString>
#include <QStringList>

// Publishing a checked lesson for the class: its reading copied into the class's folder, and its
// key there only as the published key (PublishedKey.h), never as the plain key.
struct Publication {
    QString textPath; // the reading's copy in the class's folder
    QString keyPath;  // the published key in the class's folder
    // Plain keys of the lesson already in the class's folder, in any letter case: the student's
    // program reads them before the published key.
    QStringList plainKeys;
    // The program documents (introduction, instructions) that stood beside the reading, copied
    // with it.
    QStringList documents;
    // Those the class's folder lacked and the reading had not beside it, written from the
    // program's own copies.
    QStringList programDocuments;
};

// Writes the lesson of the report (checked with checkLessonFiles) into the class's folder: the
// reading, the published key of the key the check read and the program documents beside the
// reading (or the program's own, where the folder has none), each replaced whole or not at all. The
// published key records whether the students may have the reading read aloud (listening). Throws
// ToolkitError with a Spanish message when the lesson cannot be read, the folder is the lesson's
// own (its plain key would stay there for the class) or a file cannot be written.
Publication publishLesson(const LessonReport& report, const QString& classFolder,
                          bool listening = true);

// The lesson's plain keys in the folder, in any letter case, by path.
QStringList plainKeysIn(const QString& folder, const QString& lesson);
