#pragma once

#include "teacher/LessonCheck.h"

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QString>

// The lesson's data for its web page (leccion.js): each section's reading, its questions and
// answers as the student's program numbers and shows them, and the verdicts sealed (WebSeal.h).
// The page looks verdicts up here and never reads a key.

// One section's reading: HTML of the teacher's program's own writing, and the plain text that the
// browser's voice reads.
struct WebReading {
    QString html;
    QString text;
};

// [section][question][answer] -> ["Correcta"|"Incorrecta"|"Pendiente", feedback], answer 0 being
// «none of the above»: what the student's program tells on accepting each answer, judged by its
// own key queries. A section the key lacks has no questions.
QJsonArray WebVerdicts(const LessonReport& report);

// `window.DORVALIA_LECCION = {...};` and a line feed. readings has one entry per section of the
// report, in order.
QByteArray WebLessonScript(const LessonReport& report, const QString& lesson,
                           const QList<WebReading>& readings, bool voice, const QByteArray& nonce);
