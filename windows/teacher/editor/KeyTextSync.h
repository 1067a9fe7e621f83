#pragma once

#include <QObject>

class KeyDocument;
class QPlainTextEdit;

// Keeps the key's text view and the key model the same: what the teacher types in the text is
// pushed to the model as one change of lines; a change of the model made elsewhere (the form,
// undo) is written into the text as the same lines only, so the cursor stays where it was.
class KeyTextSync : public QObject {
    Q_OBJECT
public:
    KeyTextSync(KeyDocument* document, QPlainTextEdit* editor);

    // The whole text again from the model (a key opened).
    void reload();

private:
    void modelChanged();
    void textChanged();

    KeyDocument* document_;
    QPlainTextEdit* editor_;
    bool writing_ = false; // the text is being changed from the model
    bool typing_ = false;  // the model is being changed from the text
};

// The lines of the text view's text: none for an empty text.
QStringList textLines(const QString& text);
