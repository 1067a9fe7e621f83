#pragma once

#include "lesson/LessonFiles.h"
#include "platform/core/Clock.h"
#include "platform/core/Verdict.h"
#include "study/LessonWindow.h"
#include "study/Visit.h"

#include <QString>

// A lesson window that a visit without windows needs.
class NoLessonWindow : public LessonWindow {
public:
    void LimpiarPreguntaYRespuesta() override {}
    void setQuestionMaximum(int) override {}
    void enableResults() override {}
};

// One student's visit of the lesson "El_volcan" on 7 December 2026 in folder: the given number of
// answers to questions 1, 2, ... of section 2, the verdicts in turn. The same in the programs of
// a class and in the test that checks their register.
inline void PlayClassVisit(const QString& folder, const QString& alumno, int answers) {
    NoLessonWindow window;
    Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
    DirLeccion = folder + u'/';
    NombreLeccion = QStringLiteral("El_volcan");
    NombreAlumno = alumno;
    StartVisit();
    const Verdict verdicts[] = {Verdict::Correcta, Verdict::Incorrecta, Verdict::Pendiente};
    for (int i = 1; i <= answers; ++i)
        AnotarJuicio(1, verdicts[i % 3], 2, QString::number(i), window);
}

inline QString ClassRegisterPath(const QString& folder) {
    return folder + QStringLiteral("/El_volcan07122026_reg.csv");
}
