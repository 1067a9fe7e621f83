#include "teacher/editor/Questions.h"

#include "lesson/AnswerKeyValue.h"

#include <QDir>

#include <algorithm>

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
    const AnswerKeyValue key = ReadAnswerKey(lines);
    // What no student can reach stays out of Moodle too.
    out.skippedQuestions = int(key.unreachedQuestions.size());
    // The sections in the key's order, as the teacher wrote them.
    QList<const AnswerKeyValue::Section*> sections;
    for (const AnswerKeyValue::Section& section : key.sections)
        sections.append(&section);
    std::sort(sections.begin(), sections.end(),
              [](const auto* a, const auto* b) { return a->line < b->line; });
    for (const AnswerKeyValue::Section* section : sections) {
        out.text += QStringLiteral("$CATEGORY: Sección %1\n\n").arg(section->number);
        for (int q = 0; q < section->questions.size(); ++q) {
            const AnswerKeyValue::Question& question = section->questions[q];
            if (question.answers.isEmpty()) {
                ++out.skippedQuestions;
                continue;
            }
            out.text += QStringLiteral("::Sección %1, pregunta %2::%3 {\n")
                            .arg(section->number)
                            .arg(q + 1)
                            .arg(escaped(question.text));
            int right = 0;
            for (const AnswerKeyValue::Answer& answer : question.answers)
                right += answer.verdict == Verdict::Correcta;
            bool wrong = false;
            for (const AnswerKeyValue::Answer& answer : question.answers) {
                // An answer the student's program cannot judge goes as a wrong one.
                QString mark = QStringLiteral("~");
                switch (answer.verdict.value_or(Verdict::Incorrecta)) {
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
                out.text += u'\t' + mark + escaped(answer.text);
                if (!answer.feedback.isEmpty())
                    out.text += QStringLiteral(" #") + escaped(answer.feedback);
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
