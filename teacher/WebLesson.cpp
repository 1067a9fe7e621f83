#include "teacher/WebLesson.h"

#include "lesson/KeyPositions.h"
#include "teacher/WebSeal.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonArray verdictPair(const QString& verdict, const QString& feedback) {
    return QJsonArray{verdict, feedback};
}

// What the student is told for an answer the preview judged. An answer whose judgment the
// student's program cannot read shows its error box there; the page can only say the same words,
// under no verdict of its own.
QJsonArray answerVerdict(const AnswerView& answer) {
    return verdictPair(VerdictText(answer.verdict.value_or(Verdict::Pendiente)), answer.feedback);
}

QJsonValue sectionQuestions(const SectionView& section) {
    if (section.headerLine == 0)
        return QJsonValue::Null;
    QJsonArray questions;
    for (const QuestionView& question : section.questions) {
        QJsonArray answers;
        for (const AnswerView& answer : question.answers)
            answers.append(answer.text);
        questions.append(QJsonObject{{QStringLiteral("texto"), question.text},
                                     {QStringLiteral("respuestas"), answers}});
    }
    return questions;
}

// A line or paragraph separator is a line end in a script older browsers read: written escaped.
QByteArray scriptSafe(QByteArray json) {
    json.replace("\xE2\x80\xA8", "\\u2028");
    json.replace("\xE2\x80\xA9", "\\u2029");
    return json;
}

} // namespace

QJsonArray WebVerdicts(const LessonReport& report) {
    const Judgment none = Judge(TextList(), 0, 0);
    QJsonArray sections;
    for (const SectionView& section : report.sections) {
        QJsonArray questions;
        for (const QuestionView& question : section.questions) {
            QJsonArray answers{verdictPair(VerdictText(none.verdict), none.feedback)};
            for (const AnswerView& answer : question.answers)
                answers.append(answerVerdict(answer));
            questions.append(answers);
        }
        sections.append(questions);
    }
    return sections;
}

QByteArray WebLessonScript(const LessonReport& report, const QString& lesson,
                           const QList<WebReading>& readings, bool voice, const QByteArray& nonce) {
    QJsonArray sections;
    for (qsizetype i = 0; i < report.sections.size(); ++i) {
        const SectionView& section = report.sections[i];
        const WebReading reading = readings.value(i);
        sections.append(QJsonObject{{QStringLiteral("numero"), section.number},
                                    {QStringLiteral("html"), reading.html},
                                    {QStringLiteral("texto"), reading.text},
                                    {QStringLiteral("cuestiones"), sectionQuestions(section)}});
    }
    const QByteArray verdicts = QJsonDocument(WebVerdicts(report)).toJson(QJsonDocument::Compact);
    const QJsonObject data{
        {QStringLiteral("formato"), 1},
        {QStringLiteral("leccion"), lesson},
        {QStringLiteral("voz"), voice},
        {QStringLiteral("secciones"), sections},
        {QStringLiteral("clave"), QString::fromLatin1(SealForWeb(verdicts, nonce))}};
    return "window.DORVALIA_LECCION = " +
           scriptSafe(QJsonDocument(data).toJson(QJsonDocument::Compact)) + ";\n";
}
