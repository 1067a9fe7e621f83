#include "teacher/KeyRules.h"

#include "lesson/KeyPositions.h"
#include "teacher/MarkerSlips.h"

namespace {

using Severity = Problem::Severity;

bool isStructural(const QString& marker) {
    return marker == Mark::Section || marker == Mark::Question || marker == Mark::Answer;
}

// A judgment line one key away from ".b" or ".m" on the keyboard, or with a blank before: a slip
// of the finger that the student sees as «Pendiente». Keys beside B (V, N, G, H) and M (N, J,
// K), and the comma and hyphen beside the full stop. An empty text when the line is none.
qsizetype leadingBlanks(const QString& line) {
    qsizetype blanks = 0;
    while (blanks < line.size() && line.at(blanks).isSpace())
        ++blanks;
    return blanks;
}

QString nearJudgment(const QString& line) {
    const QString marker = LineMarker(line);
    const qsizetype blanks = leadingBlanks(line);
    if (blanks > 0 && IsJudgmentMark(LineMarker(line.mid(blanks))))
        return QStringLiteral("lleva un blanco delante");
    if (marker.size() < 2)
        return {};
    const QChar stop = marker.at(0), letter = marker.at(1);
    const bool nearLetter = stop == Mark::Right.at(0) && QStringLiteral("vnghjk").contains(letter);
    const bool nearDot = (stop == u',' || stop == u'-') &&
                         (letter == Mark::Right.at(1) || letter == Mark::Wrong.at(1));
    if (nearLetter || nearDot)
        return QStringLiteral("está a una tecla de «%1» o «%2»").arg(Mark::Right, Mark::Wrong);
    return {};
}

QString quoted(const QString& text) {
    return u'«' + text + u'»';
}

// Why a ".s" line that looks like a header is not found, or an empty text when it does not look
// like one at all.
QString headerFault(const QString& line) {
    const MarkerSlip slip = markerSlip(line, false);
    if (!slip.matches)
        return {};
    if (slip.accentMissing)
        return QStringLiteral("falta la tilde de «Sección»");
    if (slip.blanks != u" ")
        return QStringLiteral("entre %1 y el número va un solo blanco")
            .arg(quoted(kSectionHeaderText.trimmed()));
    if (slip.number.startsWith(u'0'))
        return QStringLiteral("el número no lleva ceros delante");
    if (slip.trailing.trimmed().isEmpty())
        return QStringLiteral("tiene un blanco al final");
    return QStringLiteral("tiene algo tras el número");
}

struct Builder {
    const QString& path;
    QList<Problem>& problems;

    void add(Severity severity, int index, const QString& text) {
        problems.append({severity, path, index + 1, text});
    }
};

} // namespace

KeyFacts checkKey(const QStringList& key, const QString& keyPath, QList<Problem>& problems) {
    KeyFacts facts;
    Builder out{keyPath, problems};
    const int n = int(key.size());
    QStringList markers;
    markers.reserve(n);
    for (const QString& line : key)
        markers.append(LineMarker(line));

    // The headers and question counts the student's program finds.
    facts.headers = SectionHeaderLines(key);
    const TextList withSentinels = KeyWithSentinels(key);
    int lastHeader = -1;   // any ".s" line
    int question = -1;     // the open question's line; -1 after a header
    int lastQuestion = -1; // the last question line in the file
    int answers = 0, correct = 0;
    int pendingHere = 0; // the open question's answers judged «.p» on purpose

    auto closeQuestion = [&] {
        if (question < 0)
            return;
        if (answers == 0)
            out.add(Severity::Error, question,
                    QStringLiteral("la pregunta no tiene ninguna respuesta: nadie podrá "
                                   "contestarla"));
        else if (correct == 0 && pendingHere == answers)
            // Every answer left «Pendiente» on purpose: a question of opinion, which the marks
            // and the class's analysis leave out.
            out.add(Severity::Nota, question,
                    QStringLiteral("pregunta de opinión: todas sus respuestas son «Pendiente»; "
                                   "no cuenta en la nota"));
        else if (correct == 0)
            out.add(Severity::Aviso, question,
                    QStringLiteral("la pregunta no tiene ninguna respuesta correcta (%1)")
                        .arg(quoted(Mark::Right)));
        else if (correct > 1)
            out.add(Severity::Nota, question,
                    QStringLiteral("la pregunta tiene %1 respuestas correctas").arg(correct));
        question = -1;
    };
    // Whether an answer line follows before the next question or header: a line standing there
    // moves every answer and judgment after it.
    auto answerFollows = [&](int i) {
        for (int j = i + 1; j < n; ++j) {
            if (markers[j] == Mark::Answer)
                return true;
            if (markers[j] == Mark::Question || markers[j] == Mark::Section)
                return false;
        }
        return false;
    };

    for (int i = 0; i < n; ++i) {
        const QString& line = key[i];
        const QString& marker = markers[i];
        const QString text = LineText(line);

        if (i > 0 && markers[i - 1] == Mark::Answer && !isStructural(marker)) {
            // The judgment line of the answer before it.
            if (line.isEmpty())
                out.add(
                    Severity::Nota, i,
                    QStringLiteral("la línea de juicio está vacía: el alumno verá «Pendiente»"));
            else if (const QString slip = nearJudgment(line); !slip.isEmpty())
                out.add(Severity::Aviso, i,
                        QStringLiteral("el juicio %1 %2: el alumno verá «Pendiente»")
                            .arg(quoted(line.left(leadingBlanks(line) + 2)), slip));
            else if (marker == Mark::Pending) {
                ++facts.pending;
                pendingHere += question >= 0 ? 1 : 0;
            } else if (!IsJudgmentMark(marker))
                out.add(Severity::Nota, i,
                        QStringLiteral("el juicio %1 no es %2 ni %3: el alumno verá "
                                       "«Pendiente»")
                            .arg(quoted(line.left(2)), quoted(Mark::Right), quoted(Mark::Wrong)));
            if (!line.isEmpty() && text.trimmed().isEmpty())
                out.add(Severity::Nota, i,
                        QStringLiteral("el comentario de este juicio está vacío"));
            if (marker == Mark::Right && question >= 0)
                ++correct;
            continue;
        }

        if (marker == Mark::Section) {
            closeQuestion();
            lastHeader = i;
            const int number = SectionHeaderNumber(line);
            if (number == 0) {
                const QString fault = headerFault(line);
                if (!fault.isEmpty())
                    out.add(Severity::Error, i,
                            QStringLiteral("el encabezado %1 no se encuentra nunca (%2)")
                                .arg(quoted(line), fault));
                else
                    out.add(Severity::Error, i,
                            QStringLiteral("la línea %1 empieza por %2 pero no es un encabezado "
                                           "%3: no se encuentra nunca, y las preguntas que la "
                                           "siguen no son de ninguna sección")
                                .arg(quoted(line), quoted(Mark::Section),
                                     quoted(kSectionHeaderText + u'N')));
            } else if (facts.headers.value(number) != i) {
                out.add(Severity::Aviso, i,
                        QStringLiteral("encabezado repetido: la sección %1 ya empieza en la línea "
                                       "%2, y solo cuenta aquel")
                            .arg(number)
                            .arg(facts.headers.value(number) + 1));
            } else if (ContarMarcas(withSentinels, Mark::Question, i) == 0) {
                out.add(Severity::Error, i,
                        QStringLiteral("la sección %1 no tiene ninguna pregunta: nadie podrá "
                                       "completarla")
                            .arg(number));
            }
        } else if (marker == Mark::Question) {
            closeQuestion();
            question = lastQuestion = i;
            answers = correct = pendingHere = 0;
            if (text.trimmed().isEmpty())
                out.add(Severity::Aviso, i, QStringLiteral("la pregunta está vacía"));
            if (lastHeader < 0)
                out.add(Severity::Aviso, i,
                        QStringLiteral("pregunta antes del primer encabezado: ningún alumno la "
                                       "verá"));
        } else if (marker == Mark::Answer) {
            if (question >= 0) {
                ++answers;
                if (text.trimmed().isEmpty())
                    out.add(Severity::Aviso, i, QStringLiteral("la respuesta está vacía"));
            } else if (lastQuestion >= 0) {
                out.add(Severity::Error, i,
                        QStringLiteral("respuesta entre el encabezado de la línea %1 y su primera "
                                       "pregunta: el alumno la verá como una respuesta más de la "
                                       "pregunta de la línea %2")
                            .arg(lastHeader + 1)
                            .arg(lastQuestion + 1));
            } else {
                out.add(Severity::Aviso, i,
                        QStringLiteral("respuesta antes de la primera pregunta: se ignora"));
            }
            if (i + 1 >= n || isStructural(markers[i + 1]))
                out.add(Severity::Error, i,
                        QStringLiteral("falta la línea de juicio tras esta respuesta: el "
                                       "programa del alumno tomará como juicio la línea "
                                       "siguiente"));
        } else if (IsJudgmentMark(marker)) {
            out.add(Severity::Error, i,
                    i > 1 && markers[i - 2] == Mark::Answer
                        ? QStringLiteral("línea de juicio sin respuesta antes: la respuesta de la "
                                         "línea %1 ya tiene su juicio")
                              .arg(i - 1)
                        : QStringLiteral("línea de juicio sin respuesta antes"));
        } else if (question >= 0 && answerFollows(i)) {
            out.add(Severity::Error, i,
                    (line.trimmed().isEmpty() ? QStringLiteral("línea vacía")
                                              : QStringLiteral("línea %1").arg(quoted(line))) +
                        QStringLiteral(" donde se espera una respuesta: el alumno la verá como "
                                       "respuesta, y las que siguen, desplazadas"));
        } else if (!line.trimmed().isEmpty()) {
            out.add(Severity::Aviso, i,
                    QStringLiteral("la marca %1 no es ninguna de las conocidas (%2): la línea "
                                   "se ignora")
                        .arg(quoted(line.left(2)),
                             QStringList{kSectionHeaderText.trimmed(), Mark::Question, Mark::Answer,
                                         Mark::Right, Mark::Wrong}
                                 .join(QStringLiteral(", "))));
        }
    }
    closeQuestion();
    return facts;
}
