#include "KeyRules.h"

#include "AnswerKey.h"

#include <QRegularExpression>

namespace {

using Severity = Problem::Severity;

const QString kHeaderWord = QStringLiteral(".Sección ");

bool isStructural(const QString& marker) {
    return marker == u".s" || marker == u".c" || marker == u".r";
}

bool isJudgmentMark(const QString& marker) {
    return marker == u".b" || marker == u".m";
}

QString quoted(const QString& text) {
    return u'«' + text + u'»';
}

// Why a ".s" line that looks like a header is not found, or an empty text when it does not look
// like one at all.
QString headerFault(const QString& line) {
    static const QRegularExpression loose(QStringLiteral("^\\.secci([oó])n(\\s*)(\\d+)(.*)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = loose.match(line);
    if (!m.hasMatch())
        return {};
    if (m.captured(1).compare(QStringLiteral("ó"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("falta la tilde de «Sección»");
    if (m.captured(2) != u" ")
        return QStringLiteral("entre «.Sección» y el número va un solo blanco");
    if (m.captured(3).startsWith(u'0'))
        return QStringLiteral("el número no lleva ceros delante");
    if (m.captured(4).trimmed().isEmpty())
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

int headerNumber(const QString& line) {
    const QString digits = line.mid(kHeaderWord.size());
    if (line.size() <= kHeaderWord.size() || digits.startsWith(u'0') || digits.size() > 9)
        return 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return 0;
    }
    // The same whole-line comparison as the student's program uses to find a header.
    if (line.compare(kHeaderWord + digits, Qt::CaseInsensitive) != 0)
        return 0;
    return digits.toInt();
}

KeyFacts checkKey(const QStringList& key, const QString& keyPath, QList<Problem>& problems) {
    KeyFacts facts;
    Builder out{keyPath, problems};
    const int n = int(key.size());
    QStringList markers;
    markers.reserve(n);
    for (const QString& line : key)
        markers.append(LineMarker(line));

    int header = -1;       // the section's header line, when the student's program finds it
    int questions = 0;     // questions since that header
    int lastHeader = -1;   // any ".s" line
    int question = -1;     // the open question's line; -1 after a header
    int lastQuestion = -1; // the last question line in the file
    int answers = 0, correct = 0;

    auto closeQuestion = [&] {
        if (question < 0)
            return;
        if (answers == 0)
            out.add(Severity::Error, question,
                    QStringLiteral("la pregunta no tiene ninguna respuesta: nadie podrá "
                                   "contestarla"));
        else if (correct == 0)
            out.add(Severity::Aviso, question,
                    QStringLiteral("la pregunta no tiene ninguna respuesta correcta («.b»)"));
        else if (correct > 1)
            out.add(Severity::Nota, question,
                    QStringLiteral("la pregunta tiene %1 respuestas correctas").arg(correct));
        question = -1;
    };
    auto closeSection = [&] {
        if (header >= 0 && questions == 0)
            out.add(Severity::Error, header,
                    QStringLiteral("la sección %1 no tiene ninguna pregunta: nadie podrá "
                                   "completarla")
                        .arg(headerNumber(key[header])));
        header = -1;
    };
    // Whether an answer line follows before the next question or header: a line standing there
    // moves every answer and judgment after it.
    auto answerFollows = [&](int i) {
        for (int j = i + 1; j < n; ++j) {
            if (markers[j] == u".r")
                return true;
            if (markers[j] == u".c" || markers[j] == u".s")
                return false;
        }
        return false;
    };

    for (int i = 0; i < n; ++i) {
        const QString& line = key[i];
        const QString& marker = markers[i];
        const QString text = LineText(line);

        if (i > 0 && markers[i - 1] == u".r" && !isStructural(marker)) {
            // The judgment line of the answer before it.
            if (line.isEmpty())
                out.add(
                    Severity::Nota, i,
                    QStringLiteral("la línea de juicio está vacía: el alumno verá «Pendiente»"));
            else if (!isJudgmentMark(marker))
                out.add(Severity::Nota, i,
                        QStringLiteral("el juicio %1 no es «.b» ni «.m»: el alumno verá "
                                       "«Pendiente»")
                            .arg(quoted(line.left(2))));
            if (!line.isEmpty() && text.trimmed().isEmpty())
                out.add(Severity::Nota, i,
                        QStringLiteral("el comentario de este juicio está vacío"));
            if (marker == u".b" && question >= 0)
                ++correct;
            continue;
        }

        if (marker == u".s") {
            closeQuestion();
            closeSection();
            lastHeader = i;
            const int number = headerNumber(line);
            if (number == 0) {
                const QString fault = headerFault(line);
                if (!fault.isEmpty())
                    out.add(Severity::Error, i,
                            QStringLiteral("el encabezado %1 no se encuentra nunca (%2)")
                                .arg(quoted(line), fault));
                else
                    out.add(Severity::Error, i,
                            QStringLiteral("la línea %1 empieza por «.s» pero no es un encabezado "
                                           "«.Sección N»: no se encuentra nunca, y las preguntas "
                                           "que la siguen no son de ninguna sección")
                                .arg(quoted(line)));
            } else if (facts.headers.contains(number)) {
                out.add(Severity::Aviso, i,
                        QStringLiteral("encabezado repetido: la sección %1 ya empieza en la línea "
                                       "%2, y solo cuenta aquel")
                            .arg(number)
                            .arg(facts.headers.value(number) + 1));
            } else {
                facts.headers.insert(number, i);
                header = i;
                questions = 0;
            }
        } else if (marker == u".c") {
            closeQuestion();
            question = lastQuestion = i;
            answers = correct = 0;
            ++questions;
            if (text.trimmed().isEmpty())
                out.add(Severity::Aviso, i, QStringLiteral("la pregunta está vacía"));
            if (lastHeader < 0)
                out.add(Severity::Aviso, i,
                        QStringLiteral("pregunta antes del primer encabezado: ningún alumno la "
                                       "verá"));
        } else if (marker == u".r") {
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
        } else if (isJudgmentMark(marker)) {
            out.add(Severity::Error, i,
                    i > 1 && markers[i - 2] == u".r"
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
                    QStringLiteral("la marca %1 no es ninguna de las conocidas (.Sección, .c, .r, "
                                   ".b, .m): la línea se ignora")
                        .arg(quoted(line.left(2))));
        }
    }
    closeQuestion();
    closeSection();
    return facts;
}
