#include "print/AnalysisPdf.h"

#include "print/FlagColour.h"
#include "teacher/AnswersTable.h"
#include "teacher/ClassSummary.h"
#include "teacher/DecimalCell.h"
#include "teacher/SummaryTable.h"

namespace {

// "60" of a third's students who made an attempt; "–" when none of them did.
QString thirdShare(int chose, int students) {
    return students > 0 ? QString::number(std::lround(100.0 * chose / students))
                        : QStringLiteral("–");
}

// "<b>1</b>: 3 (60/10 %)", one line per answer: how many chose it first, and the share of the
// upper and the lower third that did; the right answers in the key in bold.
QString choicesCell(const QuestionRow& q) {
    QStringList lines;
    for (const AnswerChoice& c : q.choices) {
        const QString number = QString::number(c.answer);
        QString line =
            QStringLiteral("%1: %2 (%3/%4 %)")
                .arg(c.verdict == Verdict::Correcta ? QStringLiteral("<b>%1</b>").arg(number)
                                                    : number)
                .arg(c.first)
                .arg(thirdShare(c.upper, q.upperStudents), thirdShare(c.lower, q.lowerStudents));
        if (c.unchosen)
            line += QStringLiteral(" <i>%1</i>").arg(kNadieLaElige);
        lines.append(line);
    }
    return lines.join(QStringLiteral("<br>"));
}

QString decimalOr(const std::optional<double>& value, const QString& none) {
    return value ? DecimalText({*value, 2}, u',') : none;
}

QString rowHtml(const QuestionRow& q) {
    const QString flags = FlagsText(q.flags);
    QString facility =
        q.opinion ? QStringLiteral("de opinión") : DisplayCell(q.firstRightPercent).toHtmlEscaped();
    if (q.chance > 0 && !q.opinion)
        facility += QStringLiteral("<br><small>azar %1</small>")
                        .arg(DisplayCell(100.0 * q.chance).toHtmlEscaped());
    const QString blank = q.gradable ? QStringLiteral("—") : QString();
    return QStringLiteral("<tr><td>%1.%2 %3</td><td align=\"right\">%4</td>"
                          "<td align=\"right\">%5</td><td align=\"right\">%6</td>"
                          "<td align=\"right\">%7</td><td align=\"right\">%8</td>"
                          "<td%9>%10</td><td>%11</td></tr>")
        .arg(q.section)
        .arg(q.question)
        .arg(q.text.toHtmlEscaped())
        .arg(q.students)
        .arg(facility, q.gradable ? decimalOr(q.discrimination, blank) : QStringLiteral("sin nota"),
             decimalOr(q.indexD, blank), decimalOr(q.alphaWithout, blank),
             flags.isEmpty() ? QString()
                             : QStringLiteral(" bgcolor=\"%1\"").arg(FlagColour(flags).name()),
             flags.toHtmlEscaped(), choicesCell(q));
}

} // namespace

QString AnalysisPageHtml(const LessonSummary& lesson) {
    QString html = QStringLiteral("<h2 style=\"page-break-before: always\">Análisis de las "
                                  "cuestiones: %1</h2><p>%2</p>")
                       .arg(lesson.name.toHtmlEscaped(), MarksLine(lesson).toHtmlEscaped());
    if (const QString test = TestLine(lesson); !test.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(test.toHtmlEscaped());
    if (const QString caution = CautionLine(lesson); !caution.isEmpty())
        html += QStringLiteral("<p><i>%1</i></p>").arg(caution.toHtmlEscaped());
    html += QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><tr "
        "bgcolor=\"#dde6f0\" style=\"font-size: 7pt\"><th width=\"23%\">Cuestión</th>"
        "<th width=\"8%\">Alum&shy;nos</th><th width=\"10%\">Facilidad</th>"
        "<th width=\"9%\">Discrimi&shy;nación</th><th width=\"7%\">Índice D</th>"
        "<th width=\"7%\">Alfa sin ella</th><th width=\"15%\">Aviso</th>"
        "<th width=\"21%\">Primera elección</th></tr>");
    for (const QuestionRow& q : lesson.questions)
        html += rowHtml(q);
    html += QStringLiteral("</table>");
    return html +
           QStringLiteral(
               "<p><small>%1 Facilidad: la parte que la acertó al primer intento, junto a la que "
               "acertaría eligiendo al azar. Discriminación: de −1 a 1, cuánto más la aciertan "
               "quienes aciertan el resto de la lección. Índice D: la parte del tercio superior "
               "que la acertó menos la del inferior. Alfa sin ella: la fiabilidad de la prueba "
               "sin esta cuestión (si sube, la cuestión resta). Primera elección: cuántos "
               "eligieron primero cada respuesta (en negrita, la correcta en la clave) y entre "
               "paréntesis qué parte del tercio superior y del inferior (%2 alumnos cada uno). "
               "Con menos de %3 alumnos no hay avisos.</small></p>")
               .arg(GroupLine().toHtmlEscaped())
               .arg(lesson.thirdSize)
               .arg(kFewestForFlags);
}
