#pragma once

#include "study/LessonWindow.h"
#include "windows/LessonAdapters.h"

#include <QDialog>

#include <memory>

class ListeningBar;
class Speaker;

namespace Ui {
class TFormLeccion;
}

// The lesson window, where a visit happens: the reading, its sections, the questions and their
// answers, the verdicts, the results and the end of the lesson.
class TFormLeccion : public QDialog, public LessonWindow {
    Q_OBJECT
public:
    explicit TFormLeccion(QWidget* parent = nullptr);
    ~TFormLeccion() override;

    void FormActivate();
    void ListaDeSeccionesClick();
    void NpreguntaChange();
    void NrespuestaChange();
    void BtAceptarClick();
    void BtResultadosClick();
    void BtTerminarLecClick();
    bool FormCloseQuery();

    void LimpiarPreguntaYRespuesta() override;
    void setQuestionMaximum(int maximum) override;
    void enableResults() override;

    // Offers read-aloud with this voice: the listening controls under the reading.
    void setSpeaker(Speaker& speaker);
    ListeningBar* listening() const { return listening_; }

    // Esc does nothing: the lesson ends only by its button or the close box.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // A typed answer number that is not one the selector offers puts the edit back.
    void restoreAnswerNumber();
    void enableAnswerSelector(bool enabled);

    std::unique_ptr<Ui::TFormLeccion> ui;
    std::unique_ptr<ViewerAdapter> viewer_;
    std::unique_ptr<ListAdapter> sections_;
    BoxPrompter prompter_;
    ListeningBar* listening_ = nullptr;
};

extern TFormLeccion* FormLeccion;
