#pragma once

#include "teacher/editor/EditHistory.h"
#include "teacher/editor/KeyEdits.h"
#include "teacher/editor/KeySave.h"
#include "teacher/editor/KeyStructure.h"
#include "teacher/editor/KeyText.h"

#include <QObject>

// The key being edited: one model, its lines exactly as the file has them, of which the form and
// the text are two views. Every change is a LineEdit kept in the history for undo; views redraw
// from `changed`, never keeping text of their own.
class KeyDocument : public QObject {
    Q_OBJECT
public:
    explicit KeyDocument(QObject* parent = nullptr);

    // Reads the key file; false with a Spanish reason when it cannot be read.
    bool open(const QString& path, QString& failure);
    // The lines of the published key at path, to be shown and not changed: no edit is taken and
    // nothing is saved.
    void showPublished(const QString& path, const QStringList& lines);
    // An empty key to be saved at path, with the lines given.
    void startNew(const QString& path, const QStringList& lines);

    const QString& path() const { return path_; }
    const KeyText& text() const { return text_; }
    const QStringList& lines() const { return text_.lines; }
    const KeyStructure& structure() const { return structure_; }
    bool modified() const { return !history_.isClean() || unsaved_; }
    bool canUndo() const { return history_.canUndo(); }
    bool canRedo() const { return history_.canRedo(); }
    bool readOnly() const { return readOnly_; }

    // Makes the edit. Typing in one line merges with the typing just before it, so that one
    // undo takes back a word typed, not a letter.
    void edit(const LineEdit& edit, bool typing = false);
    // The text view's whole text, as lines: pushed as the one change it makes.
    void setLines(const QStringList& lines);

    void undo();
    void redo();

    KeySaveResult save();
    // True when the file is no longer what was opened or last saved here (another teacher, a
    // copy from a USB stick): saving would overwrite that change.
    bool changedOnDisk() const;

signals:
    // Lines [start, start + removed) were replaced by `added` lines.
    void changed(int start, int removed, int added);
    // A new key, or another one, was loaded.
    void reset();
    // What undo, redo or saving would do changed.
    void historyChanged();

private:
    void load(const KeyText& text, const QString& path);
    // The lines inserted come with their line breaks.
    void replace(int start, int removed, const QStringList& inserted,
                 const QList<KeyText::LineEnd>& ends);

    KeyText text_;
    KeyStructure structure_;
    QString path_;
    EditHistory history_;
    bool unsaved_ = false;  // a new key not yet on disk
    bool readOnly_ = false; // a published key
    QByteArray diskDigest_; // of the file as opened or saved; empty when there was none
};
