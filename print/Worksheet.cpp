#include "print/Worksheet.h"

#include "lesson/AnswerKeyValue.h"
#include "platform/core/Ansi.h"
#include "platform/core/RegularFile.h"
#include "platform/rtf/RtfReader.h"
#include "print/A4Pdf.h"
#include "teacher/editor/KeyEdits.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// The worksheet is laid out in points on an A4 page with margins of 2 cm, whatever it is
// printed on: its page breaks are decided once, where it is laid out.
constexpr int kPointsPerInch = 72;
constexpr qreal kMargin = 2 / 2.54 * kPointsPerInch;

const QChar kBox(0x2610);
const QChar kTicked(0x2611);

// The block numbers of a question's first and last lines: what must stand on one page.
struct Group {
    int first;
    int last;
};

QTextCharFormat textFormat(bool bold = false, bool italic = false, qreal points = 11) {
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("DejaVu Sans")});
    format.setFontPointSize(points);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    return format;
}

// A new paragraph after whatever the cursor's block holds: a heading never runs on from the
// reading's last line.
void paragraph(QTextCursor& cursor, qreal indent, qreal spaceBefore, bool pageBreak = false) {
    QTextBlockFormat block;
    block.setIndent(0);
    block.setLeftMargin(indent);
    block.setTopMargin(spaceBefore);
    block.setBottomMargin(2);
    if (pageBreak)
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (cursor.document()->isEmpty())
        cursor.setBlockFormat(block);
    else
        cursor.insertBlock(block);
}

QList<Group> appendQuestions(QTextDocument& document, const QStringList& lines,
                             WorksheetCopy copy) {
    // The sections a student can reach, by number.
    const AnswerKeyValue key = ReadAnswerKey(lines);
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::End);
    paragraph(cursor, 0, 0, !document.isEmpty());
    cursor.insertText(QStringLiteral("Preguntas"), textFormat(true, false, 16));
    if (copy == WorksheetCopy::Docente) {
        paragraph(cursor, 0, 4);
        cursor.insertText(QStringLiteral("Copia del docente: marcada la respuesta correcta, con "
                                         "el juicio y el comentario de cada respuesta."),
                          textFormat(false, true));
    }
    QList<Group> groups;
    for (const AnswerKeyValue::Section& section : key.sections) {
        if (section.questions.isEmpty())
            continue;
        paragraph(cursor, 0, 14);
        cursor.insertText(QStringLiteral("Sección %1").arg(section.number),
                          textFormat(true, false, 13));
        // The section's heading stays with its first question.
        Group group{cursor.block().blockNumber(), 0};
        for (int q = 0; q < section.questions.size(); ++q) {
            const AnswerKeyValue::Question& question = section.questions[q];
            paragraph(cursor, 0, 8);
            if (q > 0)
                group.first = cursor.block().blockNumber();
            cursor.insertText(QStringLiteral("%1. %2").arg(q + 1).arg(question.text),
                              textFormat(true));
            for (int a = 0; a < question.answers.size(); ++a) {
                const AnswerKeyValue::Answer& answer = question.answers[a];
                const bool teacher = copy == WorksheetCopy::Docente && answer.verdict.has_value();
                const bool right = teacher && answer.verdict == Verdict::Correcta;
                paragraph(cursor, 14, 2);
                cursor.insertText(QStringLiteral("%1  %2) %3")
                                      .arg(right ? kTicked : kBox)
                                      .arg(QChar(u'a' + std::min(a, 25)))
                                      .arg(answer.text),
                                  textFormat(right));
                if (teacher) {
                    cursor.insertText(QStringLiteral("   "), textFormat());
                    cursor.insertText(VerdictText(*answer.verdict) + u'.',
                                      textFormat(false, true, 10));
                    cursor.insertText(u' ' + answer.feedback, textFormat(false, false, 10));
                }
            }
            group.last = cursor.block().blockNumber();
            groups.append(group);
        }
    }
    return groups;
}

// The lines the student fills in before the reading.
void prependStudentLines(QTextDocument& document) {
    QTextCursor cursor(&document);
    cursor.movePosition(QTextCursor::Start);
    cursor.insertBlock();
    cursor.movePosition(QTextCursor::Start);
    QTextBlockFormat block;
    block.setBottomMargin(18);
    cursor.setBlockFormat(block);
    const QString line(28, u'_');
    cursor.insertText(QStringLiteral("Nombre: %1   Curso: %2   Fecha: %3")
                          .arg(line, QString(10, u'_'), QString(12, u'_')),
                      textFormat());
}

// The pages a group starts and ends on: where its first block stands, and where its last line
// ends. A block's place is not enough at the end: the layout moves a line that does not fit to
// the next page and leaves its block where the page ended, so an answer alone at the top of a
// page seemed to stand with its question.
std::pair<int, int> pagesOf(const QTextDocument& document, const Group& group) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    // The layout goes on lazily after a change: asking for a block's place alone can leave the
    // blocks below it without lines. The whole document is laid out before anything is measured.
    layout->documentSize();
    const qreal page = document.pageSize().height();
    const QTextBlock first = document.findBlockByNumber(group.first);
    const QTextBlock last = document.findBlockByNumber(group.last);
    const QRectF top = layout->blockBoundingRect(first);
    const QRectF bottom = layout->blockBoundingRect(last);
    const QTextLayout* lines = last.layout();
    const qreal textBottom =
        lines->lineCount() > 0
            ? lines->position().y() + lines->lineAt(lines->lineCount() - 1).rect().bottom()
            : bottom.bottom();
    return {int(top.top() / page), int((textBottom - 0.5) / page)};
}

// Moves to a new page every question that the page's end would part from its answers (or a
// section's heading from its first question). Each move is checked on the new layout: a group
// that a new page does not hold either (longer than a page) goes back where it was.
void keepTogether(QTextDocument& document, const QList<Group>& groups) {
    for (const Group& group : groups) {
        const auto [firstPage, lastPage] = pagesOf(document, group);
        if (firstPage == lastPage)
            continue;
        QTextCursor cursor(document.findBlockByNumber(group.first));
        const QTextBlockFormat before = cursor.blockFormat();
        QTextBlockFormat moved = before;
        moved.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(moved);
        const auto [newFirst, newLast] = pagesOf(document, group);
        if (newFirst != newLast)
            cursor.setBlockFormat(before);
    }
}

// A paint device of 72 dots per inch: the unit the worksheet is laid out in.
QPaintDevice* pointDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(kPointsPerInch / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return &device;
}

} // namespace

void AppendWorksheetQuestions(QTextDocument& document, const QStringList& lines,
                              WorksheetCopy copy) {
    appendQuestions(document, lines, copy);
}

std::unique_ptr<QTextDocument> MakeWorksheet(const QString& readingPath,
                                             const QStringList& keyLines, WorksheetCopy copy,
                                             QString& failure) {
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(readingPath, bytes, reason)) {
        failure = QStringLiteral("No se puede leer la lectura %1: %2")
                      .arg(QDir::toNativeSeparators(readingPath), reason);
        return nullptr;
    }
    auto document = std::make_unique<QTextDocument>();
    document->documentLayout()->setPaintDevice(pointDevice());
    if (looksLikeRtf(bytes))
        readRtf(bytes, *document);
    else
        document->setPlainText(decodeTeacherText(bytes));
    document->setMetaInformation(
        QTextDocument::DocumentTitle,
        QStringLiteral("Ficha de %1").arg(QFileInfo(readingPath).completeBaseName()));
    if (copy == WorksheetCopy::Alumno)
        prependStudentLines(*document);
    const QList<Group> groups = appendQuestions(*document, keyLines, copy);
    QTextFrameFormat frame = document->rootFrame()->frameFormat();
    frame.setMargin(kMargin);
    document->rootFrame()->setFrameFormat(frame);
    document->setPageSize(QPageSize(QPageSize::A4).size(QPageSize::Point));
    keepTogether(*document, groups);
    return document;
}

void PrintWorksheet(QTextDocument& worksheet, QPagedPaintDevice& device) {
    // A laid-out document prints with its own pages, scaled to the device's.
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    worksheet.print(&device);
}

bool WriteWorksheetPdf(const QString& readingPath, const QStringList& keyLines, WorksheetCopy copy,
                       const QString& pdfPath, QString& failure) {
    const std::unique_ptr<QTextDocument> worksheet =
        MakeWorksheet(readingPath, keyLines, copy, failure);
    if (!worksheet)
        return false;
    A4Pdf pdf(pdfPath, QStringLiteral("la ficha"));
    if (!pdf.open(worksheet->metaInformation(QTextDocument::DocumentTitle), failure))
        return false;
    return pdf.print(*worksheet, failure);
}
