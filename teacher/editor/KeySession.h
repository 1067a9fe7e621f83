#pragma once

#include "lesson/LessonPlace.h"
#include "teacher/editor/KeyDocument.h"

#include <QString>
#include <QStringList>

// What a lesson's folder holds for its key, as the student's program would read it.
struct KeyFinding {
    enum Kind {
        Plain,     // a plain key, in any letter case: the one to edit
        Published, // only the class's copy: shown, not changed
        Missing,   // no key at all: one may be started
    };
    Kind kind = Missing;
    LessonPlace lesson;
    QString keyFile; // the file found; for Missing, where a new key is saved
};

KeyFinding FindKey(const QString& readingPath);

// The lesson being prepared: its place and the key being edited, opened, started, saved and
// copied out of a class's folder with no widget. The reading itself is read by whoever shows it.
class KeySession {
public:
    explicit KeySession(KeyDocument* document) : document_(document) {}

    const LessonPlace& lesson() const { return lesson_; }
    KeyDocument* document() const { return document_; }
    bool isOpen() const { return !document_->path().isEmpty(); }

    // Whether the key that finding names can be read; false with a Spanish reason. Tried before
    // anything changes, so that a key that cannot be read leaves the lesson as it was.
    static bool canRead(const KeyFinding& finding, QString& failure);
    // Opens the key that finding names: a plain key to edit, a published key to show read-only.
    // False with a Spanish reason when it cannot be read (the session keeps what it had).
    bool open(const KeyFinding& finding, QString& failure);
    // Starts the lesson's key with one header line for every section number given.
    void startNew(const LessonPlace& lesson, const QList<int>& sections);
    KeySaveResult save();
    // Writes a plain copy of the open published lesson in folder (see PlainCopy.h) and returns
    // its reading's path. Throws ToolkitError with a Spanish message.
    QString copyPublished(const QString& folder) const;

private:
    KeyDocument* document_;
    LessonPlace lesson_;
};
