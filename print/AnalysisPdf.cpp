#include "print/AnalysisPdf.h"

#include "print/FlagColour.h"
#include "teacher/ClassSummary.h"
#include "teacher/DecimalCell.h"
#include "teacher/SummaryTable.h"

namespace {

// "<b>1</b>: 3 (1/0)", one line per answer; the right answers in the key in bold.
QString choicesCell(const QuestionRow& q) {
    QStringList lines;
    for (const AnswerChoice& c : q.choices) {
        const QString number = QString::number(c.answer);
        lines.append(QStringLiteral("%1: %2 (%3/%4)")
                         .arg(c.verdict == QStringLiteral("Correcta")
                                  ? QStringLiteral("<b>%1</b>").arg(number)
                                  : number)
                         .arg(c.first)
                         .arg(c.upper)
                         .arg(c.lower));
    }
    return lines.join(QStringLiteral("<br>"));
}

QString rowHtml(const QuestionRow& q) {
    const QString flags = FlagsText(q.flags);
    QString text = q.text.toHtmlEscaped();
    return QStringLiteral("<tr><td>%1.%2 %3</td><td align=\"right\">%4</td>"
                          "<td align=\"right\">%5</td><td align=\"right\">%6</td>"
                          "<td%7>%8</td><td>%9</td></tr>")
        .arg(q.section)
        .arg(q.question)
        .arg(text)
        .arg(q.students)
        .arg(DisplayCell(q.firstRightPercent).toHtmlEscaped())
        .arg(q.discrimination ? DecimalText({*q.discrimination, 2}, u',')
                              : (q.gradable ? QStringLiteral("—") : QStringLiteral("sin nota")))
        .arg(flags.isEmpty() ? QString()
                             : QStringLiteral(" bgcolor=\"%1\"").arg(FlagColour(flags).name()),
             flags.toHtmlEscaped(), choicesCell(q));
}

} // namespace

QString AnalysisPageHtml(const LessonSummary& lesson) {
    QString html = QStringLiteral("<h2 style=\"page-break-before: always\">Análisis de las "
                                  "cuestiones: %1</h2><p>%2</p>")
                       .arg(lesson.name.toHtmlEscaped(), MarksLine(lesson).toHtmlEscaped());
    html += QStringLiteral(
                "<p><small>Facilidad: la parte de quienes la respondieron que la acertó al primer "
                "intento. Discriminación: de −1 a 1, cuánto más la aciertan quienes aciertan el "
                "resto de la lección. Primera elección: cuántos eligieron primero cada respuesta "
                "(en negrita, la correcta en la clave), y entre paréntesis cuántos del tercio "
                "superior y del inferior por nota (%1 alumnos cada uno). Con menos de %2 alumnos "
                "no hay avisos.</small></p>")
                .arg(lesson.thirdSize)
                .arg(kFewestForFlags);
    html += QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><tr "
        "bgcolor=\"#dde6f0\" style=\"font-size: 7pt\"><th width=\"30%\">Cuestión</th>"
        "<th width=\"9%\">Alumnos</th><th width=\"10%\">Facilidad</th>"
        "<th width=\"14%\">Discriminación</th><th width=\"21%\">Aviso</th>"
        "<th width=\"16%\">Primera elección</th></tr>");
    for (const QuestionRow& q : lesson.questions)
        html += rowHtml(q);
    return html + QStringLiteral("</table>");
}
