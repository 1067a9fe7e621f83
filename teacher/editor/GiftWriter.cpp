#include "teacher/editor/Questions.h"

#include <QDir>

#include "lesson/AnswerKey.h"

namespace {

// GIFT's own characters, and the backslash, written so that they are read as text.
QString escaped(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (QStringView(u"~=#{}:\\").contains(c))
            out += u'\\';
        out += c;
    }
    return out;
}

// Each of several right answers takes its share of the credit ("~%50%"), with the five decimals
// of Moodle's own grades ("33.33333"); one right answer is written "=".
QString rightMark(int rightAnswers) {
    if (rightAnswers <= 1)
        return QStringLiteral("=");
    QString share = QString::number(100.0 / rightAnswers, 'f', 5);
    while (share.endsWith(u'0'))
        share.chop(1);
    if (share.endsWith(u'.'))
        share.chop(1);
    return QStringLiteral("~%") + share + u'%';
}

} // namespace

GiftExport writeGift(const QStringList& lines) {
    GiftExport out;
    const KeyStructure key = readKeyStructure(lines);
    for (const KeySection& section : key.sections) {
        // What no student can reach stays out of Moodle too.
        if (section.number == 0) {
            out.skippedQuestions += int(section.questions.size());
            continue;
        }
        out.text += QStringLiteral("$CATEGORY: Sección %1\n\n").arg(section.number);
        for (int q = 0; q < section.questions.size(); ++q) {
            const KeyQuestion& question = section.questions[q];
            if (question.answers.isEmpty()) {
                ++out.skippedQuestions;
                continue;
            }
            out.text += QStringLiteral("::Sección %1, pregunta %2::%3 {\n")
                            .arg(section.number)
                            .arg(q + 1)
                            .arg(escaped(LineText(lines[question.line])));
            int right = 0;
            for (const KeyAnswer& answer : question.answers)
                right += answer.judgment >= 0 &&
                         VerdictOfMarker(LineMarker(lines[answer.judgment])) == Verdict::Correcta;
            bool wrong = false;
            for (const KeyAnswer& answer : question.answers) {
                const QString judgment = answer.judgment >= 0 ? lines[answer.judgment] : QString();
                QString mark = QStringLiteral("~");
                switch (VerdictOfMarker(LineMarker(judgment))) {
                case Verdict::Correcta:
                    mark = rightMark(right);
                    break;
                case Verdict::Incorrecta:
                    break;
                case Verdict::Pendiente:
                    mark = QStringLiteral("~%0%");
                    ++out.pendingAnswers;
                    break;
                }
                wrong = wrong || mark != u"=";
                out.text += u'\t' + mark + escaped(LineText(lines[answer.line]));
                const QString feedback = LineText(judgment);
                if (!feedback.isEmpty())
                    out.text += QStringLiteral(" #") + escaped(feedback);
                out.text += u'\n';
            }
            out.text += QStringLiteral("}\n\n");
            ++out.questions;
            if (!wrong)
                ++out.withoutWrongAnswer;
        }
    }
    return out;
}

namespace {

// "1 pregunta…" or "N preguntas…": the sentence for n in Spanish's singular or plural.
QString counted(qsizetype n, const QString& one, const QString& many) {
    return n == 1 ? one : many.arg(n);
}

} // namespace

QStringList exportNotes(const GiftExport& gift, const QString& path) {
    QStringList notes{counted(gift.questions, QStringLiteral("1 pregunta exportada a %1."),
                              QStringLiteral("%1 preguntas exportadas a %2."))
                          .arg(QDir::toNativeSeparators(path))};
    if (gift.pendingAnswers > 0)
        notes.append(counted(gift.pendingAnswers,
                             QStringLiteral("1 respuesta pendiente pasa a ser incorrecta (0 %) "
                                            "en Moodle."),
                             QStringLiteral("%1 respuestas pendientes pasan a ser incorrectas "
                                            "(0 %) en Moodle.")));
    if (gift.skippedQuestions > 0)
        notes.append(counted(gift.skippedQuestions,
                             QStringLiteral("1 pregunta sin respuestas o fuera de toda sección "
                                            "no se exporta."),
                             QStringLiteral("%1 preguntas sin respuestas o fuera de toda sección "
                                            "no se exportan.")));
    if (gift.withoutWrongAnswer > 0)
        notes.append(counted(gift.withoutWrongAnswer,
                             QStringLiteral("1 pregunta no tiene ninguna respuesta incorrecta: "
                                            "Moodle la lee como pregunta de respuesta corta."),
                             QStringLiteral("%1 preguntas no tienen ninguna respuesta "
                                            "incorrecta: Moodle las lee como preguntas de "
                                            "respuesta corta.")));
    return notes;
}
