#include "teacher/editor/Questions.h"

#include <QRegularExpression>

namespace {

QString optionLetters(const QString& letters) {
    QStringList list;
    for (QChar c : letters)
        list.append(c);
    return list.join(QStringLiteral(", "));
}

} // namespace

// An Aiken question: its text on one line or more, then its options, one a line, each a capital
// letter, ")" or ".", a blank and the text, then "ANSWER: " and the right option's letter.
ImportResult readAiken(const QString& source) {
    ImportResult result;
    static const QRegularExpression option(QStringLiteral("^([A-Z])[).]\\s+(.*)$"));
    static const QRegularExpression answerLine(QStringLiteral("^ANSWER:\\s*(.*)$"));
    const QStringList lines = source.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    ImportedQuestion question;
    QStringList textLines; // the question's text, joined once its options start
    QString letters;
    auto fail = [&](int line, const QString& what) {
        result.failure = QStringLiteral("línea %1: %2").arg(line).arg(what);
    };
    for (int n = 0; n < lines.size() && result.failure.isEmpty(); ++n) {
        QString line = lines[n];
        if (n == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        line = line.trimmed();
        const int number = n + 1;
        if (line.isEmpty()) {
            if (!question.answers.isEmpty())
                fail(number, QStringLiteral("falta la línea «ANSWER:» con la letra de la "
                                            "respuesta correcta de la pregunta de la línea %1")
                                 .arg(question.line));
            continue;
        }
        const QRegularExpressionMatch answer = answerLine.match(line);
        if (answer.hasMatch()) {
            const QString letter = answer.captured(1).trimmed();
            if (question.answers.isEmpty())
                fail(number, QStringLiteral("«ANSWER:» sin opciones antes"));
            else if (letter.isEmpty())
                fail(number, QStringLiteral("falta la letra de la respuesta correcta tras "
                                            "«ANSWER:»"));
            else if (letter.size() != 1 || !letters.contains(letter))
                fail(number, QStringLiteral("«%1» no es la letra de ninguna opción de la "
                                            "pregunta (%2)")
                                 .arg(letter, optionLetters(letters)));
            else {
                for (int k = 0; k < question.answers.size(); ++k)
                    question.answers[k].judgment =
                        letters[k] == letter[0] ? Verdict::Correcta : Verdict::Incorrecta;
                result.questions.append(question);
            }
            question = ImportedQuestion{};
            textLines.clear();
            letters.clear();
            continue;
        }
        const QRegularExpressionMatch opt = option.match(line);
        if (opt.hasMatch() && !textLines.isEmpty()) {
            if (question.answers.isEmpty())
                question.text = textLines.join(u' ');
            const QChar letter = opt.captured(1).at(0);
            if (letters.contains(letter)) {
                fail(number, QStringLiteral("la opción %1 está repetida").arg(letter));
                break;
            }
            letters += letter;
            question.answers.append({opt.captured(2).trimmed(), Verdict::Incorrecta, {}});
            continue;
        }
        if (!question.answers.isEmpty()) {
            fail(number, QStringLiteral("falta la línea «ANSWER:» con la letra de la respuesta "
                                        "correcta de la pregunta de la línea %1")
                             .arg(question.line));
            break;
        }
        if (textLines.isEmpty())
            question.line = number;
        textLines.append(line);
    }
    if (result.failure.isEmpty() && !textLines.isEmpty())
        fail(int(lines.size()),
             question.answers.isEmpty()
                 ? QStringLiteral("la pregunta de la línea %1 no tiene opciones").arg(question.line)
                 : QStringLiteral("falta la línea «ANSWER:» con la letra de la respuesta correcta "
                                  "de la pregunta de la línea %1")
                       .arg(question.line));
    if (!result.failure.isEmpty())
        result.questions.clear();
    return result;
}
