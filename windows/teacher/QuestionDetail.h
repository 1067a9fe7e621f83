#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class QuestionDetail;
}
struct ClassSummary;
struct LessonSummary;
struct QuestionRow;

// A question of the class's results in detail: its figures and flags, and each answer's share
// of the first choices, in the whole class and in its upper and lower thirds. «Abrir en la
// clave» asks for the question in «Preparar lección».
class QuestionDetail : public QDialog {
    Q_OBJECT
public:
    QuestionDetail(const ClassSummary& summary, const LessonSummary& lesson,
                   const QuestionRow& question, QWidget* parent = nullptr);
    ~QuestionDetail() override;

    void openKeyClicked();

signals:
    void keyWanted();

private:
    std::unique_ptr<Ui::QuestionDetail> ui;
};

// "Facilidad: 33,3 % (3 de 9 correctas al primer intento). Discriminación: 0,00."
QString QuestionFigures(const LessonSummary& lesson, const QuestionRow& question);
