// «Preparar lección»: the fields below the tree, the edits they make and the live check.

#include "windows/teacher/editor/PrepareView.h"

#include "ui_PrepareView.h"

#include "lesson/AnswerKey.h"
#include "lesson/Sections.h"
#include "print/SeverityColour.h"
#include "teacher/Words.h"
#include "windows/ViewerAdapter.h"
#include "windows/teacher/editor/PrepareParts.h"

#include <QFileInfo>
#include <QTextBlock>
#include <QTimer>

using Place = PrepareView::Place;

void PrepareView::showPlace() {
    if (filling_)
        return;
    const Place place = currentPlace();
    const QStringList& lines = document_->lines();
    const KeyStructure& key = document_->structure();
    QString text, feedback;
    int judgment = -1;
    bool textEditable = false;
    if (place.kind == Place::Section && place.section < key.sections.size()) {
        const KeySection& section = key.sections[place.section];
        text = section.header >= 0 ? lines[section.header] : QString();
    } else if (place.kind == Place::Question) {
        text = key.sections[place.section].questions[place.question].text;
        textEditable = true;
    } else if (place.kind == Place::Answer) {
        const KeyAnswer& answer =
            key.sections[place.section].questions[place.question].answers[place.answer];
        text = answer.text;
        textEditable = true;
        if (answer.judgment >= 0) {
            judgment = int(answer.verdict);
            feedback = answer.feedback;
        }
    }
    // Only what differs is written, so that the teacher's cursor stays where it is.
    if (ui->EdTexto->text() != text)
        ui->EdTexto->setText(text);
    if (ui->EdComentario->text() != feedback)
        ui->EdComentario->setText(feedback);
    ui->Juicio->setCurrentIndex(judgment);
    const bool answer = place.kind == Place::Answer && !document_->readOnly();
    ui->EdTexto->setEnabled(textEditable && !document_->readOnly());
    ui->Juicio->setEnabled(answer);
    ui->EdComentario->setEnabled(answer);
    ui->LTexto->setText(place.kind == Place::Question ? QStringLiteral("&Pregunta:")
                        : place.kind == Place::Answer ? QStringLiteral("&Respuesta:")
                                                      : QStringLiteral("&Texto:"));
    enableEdits();
    showSectionInReading(sectionNumberOf(place));
}

void PrepareView::enableEdits() {
    const Place place = currentPlace();
    const bool open = !document_->path().isEmpty() && !document_->readOnly();
    const bool item = open && (place.kind == Place::Question || place.kind == Place::Answer);
    ui->BtAnadirPregunta->setEnabled(open && place.kind != Place::None);
    ui->BtAnadirRespuesta->setEnabled(item);
    ui->BtQuitar->setEnabled(item);
    ui->BtSubir->setEnabled(item);
    ui->BtBajar->setEnabled(item);
}

void PrepareView::showSectionInReading(int number) {
    // Typing in the form keeps the reading where the teacher may have scrolled it.
    if (number <= 0 || readingPath_.isEmpty() || number == shownSection_)
        return;
    shownSection_ = number;
    // The student's program brings a section to the top this way; it takes the focus, which the
    // teacher keeps.
    QWidget* focused = focusWidget();
    ViewerAdapter viewer(ui->LecturaClave);
    ShowSection(viewer, number);
    if (focused)
        focused->setFocus();
}

// --- edits ---------------------------------------------------------------------------------

void PrepareView::textEdited(const QString& text) {
    const Place place = currentPlace();
    const KeyStructure& key = document_->structure();
    int line = -1;
    if (place.kind == Place::Question)
        line = key.sections[place.section].questions[place.question].line;
    else if (place.kind == Place::Answer)
        line = key.sections[place.section].questions[place.question].answers[place.answer].line;
    if (line >= 0)
        document_->edit(KeyEdits::setText(document_->lines(), line, text), true);
}

void PrepareView::judgmentChosen(int index) {
    const Place place = currentPlace();
    if (place.kind != Place::Answer || index < 0)
        return;
    const KeyAnswer& answer = document_->structure()
                                  .sections[place.section]
                                  .questions[place.question]
                                  .answers[place.answer];
    wanted_ = place;
    document_->edit(KeyEdits::setJudgment(document_->lines(), answer, Verdict(index)));
}

void PrepareView::feedbackEdited(const QString& text) {
    const Place place = currentPlace();
    if (place.kind != Place::Answer)
        return;
    const KeyAnswer& answer = document_->structure()
                                  .sections[place.section]
                                  .questions[place.question]
                                  .answers[place.answer];
    wanted_ = place;
    document_->edit(KeyEdits::setFeedback(document_->lines(), answer, text), true);
}

void PrepareView::addQuestionClicked() {
    Place place = currentPlace();
    if (place.kind == Place::None || document_->path().isEmpty() || document_->readOnly())
        return;
    if (place.kind == Place::Missing) {
        // The section's block first, then its question: two steps to undo.
        const int number = place.number;
        wanted_ = Place{};
        document_->edit(KeyEdits::addSection(document_->lines(), document_->structure(), number));
        place = Place{Place::Section, document_->structure().sectionNumbered(number)};
    }
    const KeySection& section = document_->structure().sections[place.section];
    const int after =
        place.kind == Place::Section ? int(section.questions.size()) - 1 : place.question;
    wanted_ = Place{Place::Question, place.section, after + 1};
    document_->edit(KeyEdits::addQuestion(section, after));
    ui->EdTexto->setFocus();
}

void PrepareView::addAnswerClicked() {
    const Place place = currentPlace();
    if (document_->readOnly() || (place.kind != Place::Question && place.kind != Place::Answer))
        return;
    const KeyQuestion& question =
        document_->structure().sections[place.section].questions[place.question];
    const int after =
        place.kind == Place::Question ? int(question.answers.size()) : place.answer + 1;
    wanted_ = Place{Place::Answer, place.section, place.question, after};
    document_->edit(KeyEdits::addAnswer(question, after));
    ui->EdTexto->setFocus();
}

void PrepareView::removeClicked() {
    if (document_->readOnly())
        return;
    const Place place = currentPlace();
    const KeyStructure& key = document_->structure();
    if (place.kind == Place::Question) {
        wanted_ = Place{Place::Question, place.section, std::max(0, place.question - 1)};
        if (place.question == 0)
            wanted_ = key.sections[place.section].questions.size() > 1
                          ? Place{Place::Question, place.section, 0}
                          : Place{Place::Section, place.section};
        document_->edit(KeyEdits::removeQuestion(key.sections[place.section], place.question));
    } else if (place.kind == Place::Answer) {
        const KeyQuestion& question = key.sections[place.section].questions[place.question];
        wanted_ =
            question.answers.size() > 1
                ? Place{Place::Answer, place.section, place.question, std::max(0, place.answer - 1)}
                : Place{Place::Question, place.section, place.question};
        document_->edit(KeyEdits::removeAnswer(question, place.answer));
    }
}

void PrepareView::move(int delta) {
    if (document_->readOnly())
        return;
    const Place place = currentPlace();
    const KeyStructure& key = document_->structure();
    std::optional<LineEdit> edit;
    if (place.kind == Place::Question) {
        edit = KeyEdits::moveQuestion(document_->lines(), key.sections[place.section],
                                      place.question, delta);
        wanted_ = Place{Place::Question, place.section, place.question + delta};
    } else if (place.kind == Place::Answer) {
        edit = KeyEdits::moveAnswer(document_->lines(),
                                    key.sections[place.section].questions[place.question],
                                    place.answer, delta);
        wanted_ = Place{Place::Answer, place.section, place.question, place.answer + delta};
    }
    if (edit)
        document_->edit(*edit);
    else
        wanted_ = Place{};
}

void PrepareView::moveUpClicked() {
    move(-1);
}

void PrepareView::moveDownClicked() {
    move(+1);
}

// --- the live check ------------------------------------------------------------------------

void PrepareView::checkNow() {
    checkTimer_->stop();
    if (document_->path().isEmpty())
        return;
    report_ = checkLesson(readingPath_, reading_, document_->path(), document_->lines());
    showProblems();
    showTitle();
}

void PrepareView::showProblems() {
    QTreeWidget* list = ui->ProblemasClave;
    list->blockSignals(true);
    list->clear();
    for (qsizetype i = 0; i < report_.problems.size(); ++i) {
        const Problem& problem = report_.problems[i];
        QString place = QFileInfo(problem.file).fileName();
        if (problem.line > 0)
            place += u':' + QString::number(problem.line);
        auto* item =
            new QTreeWidgetItem(list, {severityWord(problem.severity), place, problem.text});
        item->setForeground(0, severityColour(problem.severity));
        item->setToolTip(2, problem.text);
        item->setData(0, Qt::UserRole, int(i));
    }
    list->blockSignals(false);
    const int pending = report_.pendingAnswers;
    ui->CajaProblemasClave->setTitle(
        report_.problems.isEmpty()
            ? QStringLiteral("Problemas: ninguno, la clave está lista para la clase") +
                  (pending > 0 ? QStringLiteral(" (%1)").arg(
                                     Counted(pending, QStringLiteral("respuesta pendiente"),
                                             QStringLiteral("respuestas pendientes")))
                               : QString())
            : QStringLiteral("Problemas: %1")
                  .arg(problemCounts(report_.count(Problem::Severity::Error),
                                     report_.count(Problem::Severity::Aviso),
                                     report_.count(Problem::Severity::Nota), pending)));
}

void PrepareView::problemSelected() {
    const QList<QTreeWidgetItem*> chosen = ui->ProblemasClave->selectedItems();
    if (chosen.isEmpty())
        return;
    const Problem& problem = report_.problems.at(chosen.first()->data(0, Qt::UserRole).toInt());
    if (problem.line <= 0)
        return;
    if (problem.file == document_->path()) {
        select(placeOfLine(problem.line - 1));
        // In the text view, the line itself.
        const QTextBlock block = ui->TextoClave->document()->findBlockByNumber(problem.line - 1);
        if (block.isValid()) {
            QTextCursor cursor(block);
            ui->TextoClave->setTextCursor(cursor);
            ui->TextoClave->centerCursor();
        }
        return;
    }
    // A problem of the reading: the section whose marker stands there.
    for (auto it = readingFacts_.markerLines.begin(); it != readingFacts_.markerLines.end(); ++it) {
        if (it.value() + 1 == problem.line) {
            const int s = document_->structure().sectionNumbered(it.key());
            select(s >= 0 ? Place{Place::Section, s} : Place{Place::Missing, -1, -1, -1, it.key()});
            return;
        }
    }
}
