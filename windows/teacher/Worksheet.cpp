#include "Worksheet.h"

#include "A4Pdf.h"
#include "AnswerKey.h"
#include "KeyEdits.h"
#include "KeyStructure.h"
#include "RegularFile.h"
#include "RtfReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "Ansi.h"

void AppendWorksheetQuestions(QTextDocument& document, const QStringList& lines,
                              WorksheetCopy copy) {
    const KeyStructure key = readKeyStructure(lines);
    // The sections a student can reach, by number.
    QMap<int, const KeySection*> sections;
    for (const KeySection& section : key.sections) {
        if (section.number > 0)
            sections.insert(section.number, &section);
    }
    QString html = QStringLiteral("<h1 style=\"page-break-before: always\">Preguntas</h1>");
    if (copy == WorksheetCopy::Docente)
        html += QStringLiteral("<p><i>Copia del docente: con el juicio y el comentario de cada "
                               "respuesta.</i></p>");
    for (auto it = sections.begin(); it != sections.end(); ++it) {
        const KeySection& section = **it;
        if (section.questions.isEmpty())
            continue;
        html += QStringLiteral("<h2>Sección %1</h2>").arg(it.key());
        for (int q = 0; q < section.questions.size(); ++q) {
            const KeyQuestion& question = section.questions[q];
            html += QStringLiteral("<p><b>%1. %2</b></p><table cellpadding=\"2\">")
                        .arg(q + 1)
                        .arg(LineText(lines[question.line]).toHtmlEscaped());
            for (int a = 0; a < question.answers.size(); ++a) {
                const KeyAnswer& answer = question.answers[a];
                const QChar letter(u'a' + std::min(a, 25));
                html += QStringLiteral("<tr><td>\u2610 %1)</td><td>%2</td></tr>")
                            .arg(letter)
                            .arg(LineText(lines[answer.line]).toHtmlEscaped());
                if (copy == WorksheetCopy::Docente) {
                    const QString judgment = lines.value(answer.judgment);
                    html += QStringLiteral("<tr><td></td><td><i>%1.</i> %2</td></tr>")
                                .arg(VerdictText(VerdictOfMarker(LineMarker(judgment))),
                                     LineText(judgment).toHtmlEscaped());
                }
            }
            html += QStringLiteral("</table>");
        }
    }
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    cursor.insertHtml(html);
}

bool WriteWorksheetPdf(const QString& readingPath, const QStringList& keyLines, WorksheetCopy copy,
                       const QString& pdfPath, QString& failure) {
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(readingPath, bytes, reason)) {
        failure = QStringLiteral("No se puede leer la lectura %1: %2")
                      .arg(QDir::toNativeSeparators(readingPath), reason);
        return false;
    }
    QTextDocument document;
    if (looksLikeRtf(bytes))
        readRtf(bytes, document);
    else
        document.setPlainText(decodeTeacherText(bytes));
    AppendWorksheetQuestions(document, keyLines, copy);

    A4Pdf pdf(pdfPath, QStringLiteral("la ficha"));
    if (!pdf.open(QStringLiteral("Ficha de %1").arg(QFileInfo(readingPath).completeBaseName()),
                  failure))
        return false;
    return pdf.print(document, failure);
}
