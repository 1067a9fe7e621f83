#include "bench/LessonMaker.h"

#include "lesson/LessonPlace.h"
#include "platform/core/Ansi.h"

#include <QFile>

namespace LessonMaker {

QByteArray reading(int sections, qsizetype bytes) {
    const QByteArray paragraph =
        "\\pard\\sa120\\qj\\f1\\fs24 La abuela Mercedes no quer\\'eda irse: {\\b \\'abEsta es mi "
        "casa\\'bb}, repet\\'eda. Luc\\'eda se sent\\'f3 a su lado y le dijo que las casas se "
        "pueden arreglar, y las personas, {\\i no}.\\par\n";
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
                     "{\\f1\\froman Times New Roman;}}\n";
    const qsizetype perSection = bytes / sections;
    for (int s = 1; s <= sections; ++s) {
        rtf += "\\pard\\sb240\\f0\\fs22{\\b .Secci\\'f3n " + QByteArray::number(s) + "}\\par\n";
        const qsizetype end = rtf.size() + perSection;
        while (rtf.size() < end)
            rtf += paragraph;
    }
    return rtf + "}\n";
}

QByteArray key(int sections, int questions) {
    QByteArray out;
    for (int s = 1; s <= sections; ++s) {
        out += stringToAnsi(QStringLiteral(".Sección %1\r\n").arg(s));
        for (int q = 1; q <= questions; ++q) {
            out +=
                stringToAnsi(QStringLiteral(".c¿Pregunta %1 de la sección %2?\r\n").arg(q).arg(s));
            for (int a = 1; a <= 4; ++a) {
                out += stringToAnsi(QStringLiteral(".rRespuesta %1\r\n").arg(a));
                out += a == 1 ? ".bBien.\r\n" : (a == 4 ? ".pQuiz\xe1s.\r\n" : ".mNo.\r\n");
            }
        }
    }
    return out;
}

void write(const QString& folder, const QString& name, qsizetype readingBytes, int questions) {
    const LessonPlace lesson{folder + u'/', name};
    QFile text(lesson.readingPath());
    if (text.open(QIODevice::WriteOnly | QIODevice::Truncate))
        text.write(reading(99, readingBytes));
    QFile answers(lesson.keyPath());
    if (answers.open(QIODevice::WriteOnly | QIODevice::Truncate))
        answers.write(key(99, questions));
}

} // namespace LessonMaker
