#pragma once

#include "lesson/SpokenText.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QAbstractScrollArea;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class RichViewer;
class Speaker;

// «Escuchar»: the lesson window's read-aloud controls. They read the current section, from its
// start or from the word the student clicked, or the question and the answer shown, and light each
// word as the voice says it. Reading never touches the lesson's own state: whatever the student
// does to the lesson stops the voice, and the visit goes on as without it.
class ListeningBar : public QWidget {
    Q_OBJECT

public:
    ListeningBar(QWidget* window, Speaker& speaker, RichViewer* reading, QPlainTextEdit* question,
                 QPlainTextEdit* answer);

    // A lesson whose teacher forbade listening shows none of the controls.
    void setAllowed(bool allowed);
    bool allowed() const { return allowed_; }

    // The controls in their order, for the window's tab order.
    QList<QWidget*> controls() const;

    void listen();
    void listenToQuestion();
    void pauseOrResume();
    void stopReading();

signals:
    // After the word at position (in the box's plain text) was lit.
    void wordLit(int position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Part {
        QAbstractScrollArea* box;
        QString shown;
        int start;
        int end;
    };
    void read(const QList<Part>& parts);
    void readNextPart();
    void onWord(int position, int length);
    void onFinished();
    void onFailed(const QString& message);
    void showState();
    void lightOff();
    QPushButton* addButton(const QString& name, const QString& text, const QString& accessible,
                           Qt::Key key);

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

    QList<Part> parts_; // still to read after the current one
    std::optional<Part> part_;
    std::optional<SpokenText> spoken_;
    QPointer<QAbstractScrollArea> lit_;
    bool allowed_ = true;
};
