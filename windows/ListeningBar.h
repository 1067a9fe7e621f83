#pragma once

#include "lesson/SpokenText.h"
#include "lesson/Syllables.h"
#include "platform/BoxWatch.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QAbstractScrollArea;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QToolButton;
class ListeningOptions;
class RichViewer;
class Speaker;

// «Escuchar»: the lesson window's read-aloud controls. They read the current section, from its
// start or from the word the student clicked, or the question and the answer shown, or the
// verdict's box, and light each word as the voice says it. Reading never touches the lesson's own
// state: whatever the student does to the lesson stops the voice, and the visit goes on as without
// it. Their keys belong to the window, so that they work whatever the buttons show.
class ListeningBar : public QWidget {
    Q_OBJECT

public:
    ListeningBar(QWidget* window, Speaker& speaker, RichViewer* reading, QPlainTextEdit* question,
                 QPlainTextEdit* answer);

    // A lesson whose teacher forbade listening shows none of the controls; why tells the student
    // so, in their place (empty: nothing is said, as for a lesson that did not open).
    void setAllowed(bool allowed, const QString& why = QString());
    bool allowed() const { return allowed_; }
    // What is said where the controls would be.
    QLabel* notice() const { return notice_; }

    // The controls in their order, for the window's tab order.
    QList<QWidget*> controls() const;

    // The verdict's box's button and key that read it aloud, and, when the student chose so, its
    // reading as soon as it shows. Nothing when listening is not allowed.
    Boxes::Extra verdictReading(const QString& verdict, const QString& feedback);

    void listen();
    void listenToQuestion();
    void pauseOrResume();
    void stopReading();
    // The sentence being read, again from its start; the sentence before it.
    void sentenceAgain();
    void sentenceBefore();

    static QString verdictButtonText();

signals:
    // After the word at position (in the box's plain text) was lit.
    void wordLit(int position);
    // After the syllable at position was lit, read by syllables.
    void syllableLit(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Part {
        QAbstractScrollArea* box; // none: read without a light (the verdict's box)
        QString shown;
        int start; // what may be read: a section, a box's text
        int end;
        QString lines;
        int from; // where the reading starts
                  // shown with its line breaks inside a paragraph kept apart
    };
    static Part partOf(QAbstractScrollArea* box, const QString& shown, int start, int end);
    void read(const QList<Part>& parts);
    void readNextPart();
    void readFrom(int position);
    void onWord(int position, int length);
    void onSound(bool vowel);
    void onFinished();
    void onFailed(const QString& message);
    void onBox(bool opening);
    void relight();
    void showState();
    void lightOff();
    QPushButton* addButton(const QString& name, const QString& text, const QString& accessible);
    void addKey(int key, void (ListeningBar::*slot)());

    Speaker& speaker_;
    RichViewer* reading_;
    QPlainTextEdit* question_;
    QPlainTextEdit* answer_;
    QPushButton* listen_;
    QPushButton* pause_;
    QPushButton* stop_;
    QPushButton* listenQuestion_;
    QComboBox* speed_;
    QComboBox* voice_;
    QToolButton* more_;
    ListeningOptions* options_;
    QLabel* notice_;
    QList<QObject*> keys_;

    QList<Part> parts_; // still to read after the current one
    std::optional<Part> part_;
    std::optional<SpokenText> spoken_;
    QPointer<QAbstractScrollArea> lit_;
    Span word_{-1, -1};   // the word lit, in the part's text
    Span sentence_;       // its sentence
    SyllableSteps steps_; // its syllables
    bool allowed_ = true;
};
