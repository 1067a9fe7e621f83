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

// What the teacher chooses when publishing, kept in the published key.
struct PublishChoices {
    bool listening = true;      // the students may have the reading read aloud
    bool exam = false;          // «modo examen»: one accepted answer per question
    bool feedbackAtEnd = false; // in an exam, the feedback held until the student ends the lesson
};

// Writes the lesson of the report (checked with checkLessonFiles) into the class's folder: the
// reading, the published key of the key the check read and the program documents beside the
// reading (or the program's own, where the folder has none), each replaced whole or not at all.
// The published key records the choices and the digest of the reading, and takes its place before
// the reading does, so that a publication stopped between the two leaves a pair that every reader
// sees as mismatched. Publications into one folder take turns (a lock file beside the lesson,
// which a killed publisher does not leave blocking), and one returns only when its own pair is
// what stands in the folder.
// Throws ToolkitError with a Spanish message when the lesson cannot be read, the folder is the
// lesson's own (its plain key would stay there for the class), a file of the lesson in the class's
// folder is a link or not a regular file, another publication holds the folder too long, or a
// file cannot be written.
Publication publishLesson(const LessonReport& report, const QString& classFolder,
                          const PublishChoices& choices = {});

// The lesson's plain keys in the folder, in any letter case, by path.
QStringList plainKeysIn(const QString& folder, const QString& lesson);

// Why the answers of a lesson are not printed nor exported from its published key (the class's
// copy, which any student's computer holds): the teacher's plain key is needed, named here.
QString AnswersNeedPlainKey(const QString& publishedKey, const QString& plainKey);
