#pragma once

#include "teacher/LessonCheck.h"
#include "teacher/TextRules.h"
#include "teacher/editor/KeySession.h"

#include <QWidget>

#include <memory>

namespace Ui {
class PrepareView;
}
class KeyTextSync;
class QTreeWidgetItem;
class QTimer;

// The tab «Preparar lección»: the answer key written in a form beside the reading, or as text,
// checked as it is written by the rules of `revisar`, and saved as the very file the student's
// program reads.
class PrepareView : public QWidget {
    Q_OBJECT
public:
    // A place in the form: a section of the key (or a section of the reading that the key lacks),
    // a question of it, an answer of that.
    struct Place {
        enum Kind { None, Section, Missing, Question, Answer };
        Kind kind = None;
        int section = -1; // index among the key's sections
        int question = -1;
        int answer = -1;
        int number = 0; // the section number, for a section the key lacks
    };

    explicit PrepareView(QWidget* parent = nullptr);
    ~PrepareView() override;

    // Opens the lesson whose reading is path, with its key; offers to start a key when it has
    // none.
    void openLesson(const QString& path);
    // Starts a key for the reading at path, one empty block for every section marker it has.
    void newKey(const QString& path);
    // Chooses a question of the key (its section's number, its number from 1), opening the
    // lesson whose reading is readingPath first when another one is open.
    void showKeyQuestion(const QString& readingPath, int section, int question);
    // Opens the lesson that another tab has opened, when it has a plain key and is not the one
    // shown; otherwise leaves the tab as it is.
    void followLesson(const QString& path);

    void openLessonClicked();
    void newKeyClicked();
    // False when the key could not be saved (the teacher was told why).
    bool saveKeyClicked();
    void addQuestionClicked();
    void addAnswerClicked();
    void removeClicked();
    void moveUpClicked();
    void moveDownClicked();
    void importClicked();
    void exportGiftClicked();
    void printWorksheetClicked();

    // Asks what to do with unsaved changes («Guardar», «Descartar», «Cancelar»); true when the
    // teacher may go on (saved, or discarded), false to stay.
    bool mayLeaveKey();

    KeyDocument* document() const { return document_; }
    const LessonReport& report() const { return report_; }
    Place currentPlace() const;
    // Runs the check now instead of at the next turn of the event loop.
    void checkNow();

signals:
    // A key was opened, started or shown for the lesson whose reading is path.
    void lessonOpened(const QString& path);
    // The key of the lesson whose reading is path was saved.
    void keySaved(const QString& path);
    // A short confirmation for the status bar.
    void said(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Reads the lesson's reading and its key into the tab; false, the teacher told why, when
    // either cannot be read.
    bool loadLesson(const KeyFinding& found);
    bool readLesson(const QString& readingPath);
    void openPublished(const KeyFinding& found);
    void keyLoaded();
    void keyChanged(int start, int removed, int added);
    void showTitle();
    void rebuildTree();
    bool updateTreeInPlace(int first = 0, int count = -1);
    void writeItem(QTreeWidgetItem* item, const Place& place);
    void select(const Place& place);
    QTreeWidgetItem* itemFor(const Place& place) const;
    void showPlace();
    void showSectionInReading(int number);
    void enableEdits();
    void showProblems();
    void problemSelected();
    void textEdited(const QString& text);
    void judgmentChosen(int index);
    void feedbackEdited(const QString& text);
    void move(int delta);
    Place placeOfLine(int line) const;
    int sectionNumberOf(const Place& place) const;

    std::unique_ptr<Ui::PrepareView> ui;
    KeyDocument* document_;
    KeySession session_;
    KeyTextSync* textSync_;
    QTimer* checkTimer_;
    QString readingPath_;
    LessonText reading_;
    TextFacts readingFacts_;
    LessonReport report_;
    Place wanted_;         // the place to choose after the next change of the tree's shape
    bool filling_ = false; // the form is being filled from the model
    int shownSection_ = 0; // the section the reading was last brought to
};
