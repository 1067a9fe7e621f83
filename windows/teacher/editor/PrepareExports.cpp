// «Preparar lección»: questions from and to Moodle's formats, and the worksheet.

#include "windows/teacher/editor/PrepareView.h"

#include "ui_PrepareView.h"

#include "platform/Boxes.h"
#include "platform/core/Ansi.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/RegularFile.h"
#include "print/A4Pdf.h"
#include "print/Worksheet.h"
#include "teacher/Words.h"
#include "teacher/editor/Questions.h"
#include "windows/teacher/editor/PrepareParts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#ifdef DORVALIA_PRINTING
#include <QPrintDialog>
#include <QPrinter>
#endif

using prepare::kCaption;

namespace {

#ifdef DORVALIA_PRINTING
constexpr bool kCanPrint = true;
#else
// A toolkit built without printing saves the worksheet as a PDF only.
constexpr bool kCanPrint = false;
#endif

} // namespace

void PrepareView::importClicked() {
    if (document_->path().isEmpty() || document_->readOnly())
        return;
    QString path = QFileInfo(readingPath_).absolutePath();
    if (!Boxes::openFile(QStringLiteral("Preguntas de Moodle (GIFT o Aiken)|*.gift *.txt"), path))
        return;
    QByteArray bytes;
    QString reason;
    if (!ReadRegularFile(path, bytes, reason)) {
        Boxes::error(
            QStringLiteral("No se puede leer %1: %2").arg(QDir::toNativeSeparators(path), reason));
        return;
    }
    const ImportResult result = readQuestions(decodeTeacherText(bytes));
    const QString name = QFileInfo(path).fileName();
    if (!result.failure.isEmpty()) {
        Boxes::error(
            QStringLiteral("No se importa ninguna pregunta de %1: %2").arg(name, result.failure));
        return;
    }
    const int chosen = std::max(1, sectionNumberOf(currentPlace()));
    QString text =
        CountedSentence(result.questions.size(), QStringLiteral("1 pregunta importada de %2"),
                        QStringLiteral("%1 preguntas importadas de %2"))
            .arg(name);
    bool elsewhere = false;
    for (const ImportedQuestion& q : result.questions)
        elsewhere = elsewhere || (q.section > 0 && q.section != chosen);
    text += elsewhere ? QStringLiteral(", en las secciones que nombran sus categorías.")
                      : QStringLiteral(" a la sección %1.").arg(chosen);
    // A box taller than the screen helps nobody: desde-gift names every question left out.
    for (const QString& note : importNotes(result, 20))
        text += u'\n' + note;
    if (const std::optional<LineEdit> change = KeyEdits::difference(
            document_->lines(), withQuestions(document_->lines(), result.questions, chosen))) {
        LineEdit edit = *change;
        edit.label = QStringLiteral("importar preguntas");
        document_->edit(edit);
    }
    Boxes::information(kCaption, text);
}

void PrepareView::exportGiftClicked() {
    if (document_->path().isEmpty())
        return;
    QString path =
        QFileInfo(session_.lesson().beside(session_.lesson().name + QStringLiteral(".gift")))
            .absoluteFilePath();
    if (!Boxes::saveFile(QStringLiteral("Exportar a GIFT"), QStringLiteral("GIFT|*.gift"), path))
        return;
    const GiftExport gift = writeGift(document_->lines());
    QString failure;
    if (!WriteFileAtomically(path, gift.text.toUtf8(), failure)) {
        Boxes::error(failure);
        return;
    }
    const QString text = exportNotes(gift, path).join(u' ');
    Boxes::information(kCaption, text);
}

namespace {

// The system's print dialog for the worksheet; false when the teacher cancels it. In a script,
// the print goes to the PDF that the answer names. pdfPath gets the file when the dialog printed
// to a PDF file rather than to a printer.
bool printWorksheet(QTextDocument& worksheet, QWidget* parent, QString& pdfPath) {
#ifdef DORVALIA_PRINTING
    QPrinter printer;
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(worksheet.metaInformation(QTextDocument::DocumentTitle));
    if (Boxes::scripted()) {
        const Boxes::Answer answer = Boxes::scriptedDialog(
            Boxes::Kind::Print, QStringLiteral("Imprimir"), printer.docName());
        if (!answer.accept)
            return false;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(answer.value);
    } else {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    PrintWorksheet(worksheet, printer);
    if (printer.outputFormat() == QPrinter::PdfFormat)
        pdfPath = printer.outputFileName();
    return true;
#else
    Q_UNUSED(worksheet);
    Q_UNUSED(parent);
    Q_UNUSED(pdfPath);
    return false;
#endif
}

} // namespace

void PrepareView::printWorksheetClicked() {
    if (document_->path().isEmpty())
        return;
    enum { Student, Teacher, Cancel };
    const int copy = Boxes::choose(
        kCaption,
        QStringLiteral("¿Qué copia de la ficha? La del alumno lleva una casilla ante cada "
                       "respuesta y líneas para el nombre, el curso y la fecha; la del docente "
                       "marca la respuesta correcta, con el juicio y el comentario de cada una."),
        {QStringLiteral("Ficha del alumno"), QStringLiteral("Copia del docente"),
         QStringLiteral("Cancelar")},
        Cancel);
    if (copy == Cancel)
        return;
    const bool teacher = copy == Teacher;
    QString failure;
    const std::unique_ptr<QTextDocument> worksheet =
        MakeWorksheet(readingPath_, document_->lines(),
                      teacher ? WorksheetCopy::Docente : WorksheetCopy::Alumno, failure);
    if (!worksheet) {
        Boxes::error(failure);
        return;
    }
    enum { Print, Pdf, Neither };
    const int how =
        kCanPrint
            ? Boxes::choose(kCaption, QStringLiteral("¿Imprimir la ficha o guardarla en PDF?"),
                            {QStringLiteral("Imprimir…"), QStringLiteral("Guardar en PDF…"),
                             QStringLiteral("Cancelar")},
                            Neither)
            : Pdf;
    const QString what =
        teacher ? QStringLiteral("La copia del docente") : QStringLiteral("La ficha del alumno");
    if (how == Print) {
        // The print dialog may print to a PDF file: the teacher is told where it went.
        QString printed;
        if (!printWorksheet(*worksheet, this, printed))
            return;
        if (printed.isEmpty())
            emit said(QStringLiteral("%1 se ha enviado a la impresora.").arg(what));
        else
            emit said(
                QStringLiteral("%1 está en %2.").arg(what, QDir::toNativeSeparators(printed)));
        return;
    }
    if (how != Pdf)
        return;
    QString path =
        QFileInfo(session_.lesson().beside(session_.lesson().name +
                                           (teacher ? QStringLiteral("_ficha_docente.pdf")
                                                    : QStringLiteral("_ficha.pdf"))))
            .absoluteFilePath();
    if (!Boxes::saveFile(QStringLiteral("Guardar la ficha en PDF"), QStringLiteral("PDF|*.pdf"),
                         path))
        return;
    A4Pdf pdf(path, QStringLiteral("la ficha"));
    if (!pdf.open(worksheet->metaInformation(QTextDocument::DocumentTitle), failure) ||
        !pdf.print(*worksheet, failure)) {
        Boxes::error(failure);
        return;
    }
    emit said(QStringLiteral("%1 está en %2.").arg(what, QDir::toNativeSeparators(path)));
}
