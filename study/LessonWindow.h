#pragma once

// What a visit does to the lesson window: nothing more than these three operations.
class LessonWindow {
public:
    virtual ~LessonWindow() = default;

    // Empties the question and answer boxes and sets both selectors to 0.
    virtual void LimpiarPreguntaYRespuesta() = 0;
    virtual void setQuestionMaximum(int maximum) = 0;
    // Enables "Ver resultados".
    virtual void enableResults() = 0;
};
