#include "windows/teacher/CheckView.h"

#include "ui_CheckView.h"

#include "lesson/LessonFiles.h"
#include "lesson/LessonPlace.h"
#include "platform/Boxes.h"
#include "platform/core/ToolkitError.h"
#include "print/LessonReader.h"
#include "print/SeverityColour.h"
#include "print/WebExport.h"
#include "teacher/Publication.h"
#include "teacher/Words.h"
#include "windows/teacher/ClassFolder.h"
#include "windows/teacher/ReadingName.h"

#include <QDir>
#include <QFileInfo>
#include <QTreeWidgetItemIterator>

namespace {

// Where a preview item stands in the files, for finding the place of a problem.
enum Role { KeyLineRole = Qt::UserRole, JudgmentLineRole, TextLineRole };

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

CheckView::CheckView(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::CheckView>()) {
    ui->setupUi(this);
    ui->Problemas->setColumnWidth(0, 70);
    ui->Problemas->setColumnWidth(1, 150);
    ui->VistaPrevia->setColumnWidth(0, 300);
    ui->VistaPrevia->setColumnWidth(1, 80);
    ui->Division->setSizes({560, 480});
    connect(ui->BtAbrir, &QPushButton::clicked, this, &CheckView::openClicked);
    connect(ui->BtRevisar, &QPushButton::clicked, this, &CheckView::checkClicked);
    connect(ui->BtPublicar, &QPushButton::clicked, this, &CheckView::publishClicked);
    connect(ui->BtPublicarWeb, &QPushButton::clicked, this, &CheckView::publishWebClicked);
    // Holding the feedback back is a choice of the exam only. The student's program does not
    // hold an exam yet, so the mode is not offered: no lesson goes out as an exam that students
    // could answer as an ordinary lesson.
    connect(ui->CbExamen, &QCheckBox::toggled, ui->CbComentariosAlFinal, &QWidget::setEnabled);
    ui->CbExamen->hide();
    ui->CbComentariosAlFinal->hide();
    connect(ui->Problemas, &QTreeWidget::itemSelectionChanged, this, &CheckView::problemSelected);
}

CheckView::~CheckView() = default;

void CheckView::openLesson(const QString& path) {
    const bool another = path != path_;
    followLesson(path);
    if (!another || report_.unreadable == false)
        return;
    // A reading without any key: the teacher is offered to write one, not shown an error.
    const LessonPlace lesson = LessonPlace::ofReading(path);
    if (QFileInfo::exists(lesson.readingPath()) && !QFileInfo::exists(lesson.keyToRead()) &&
        Boxes::question(QStringLiteral("Revisar lección"),
                        QStringLiteral("La lección %1 no tiene clave (%2). ¿Empezar una en "
                                       "«Preparar lección»?")
                            .arg(lesson.name, fileName(lesson.keyPath()))))
        emit startKey(lesson.readingPath());
}

void CheckView::followLesson(const QString& path) {
    const bool another = path != path_;
    path_ = path;
    report_ = checkLessonFiles(path, readLessonText);
    showReport();
    if (another)
        emit lessonChecked(path);
}

void CheckView::openClicked() {
    QString path = path_;
    // Every RTF shows: a reading under another name is offered its lesson's name.
    if (Boxes::openFile(QStringLiteral("Lecturas|*.rtf"), path) &&
        OfferProperReadingName(QStringLiteral("Revisar lección"), path))
        openLesson(path);
}

void CheckView::checkClicked() {
    if (!path_.isEmpty())
        openLesson(path_);
}

// The steps both publications take first: the lesson checked again (what is published is what
// the teacher sees checked), a lesson with errors published only if the teacher says so, and the
// folder chosen, starting where the last one went. False when the teacher stops on the way.
bool CheckView::readyToPublish(const QString& caption, const QString& folderCaption,
                               QString& lastFolder) {
    openLesson(path_);
    if (report_.unreadable) {
        Boxes::information(caption, QStringLiteral("La lección no se puede leer: no se publica. "
                                                   "Mire el error de la lista."));
        return false;
    }
    const int errors = report_.count(Problem::Severity::Error);
    if (errors > 0 &&
        !Boxes::question(
            caption, QStringLiteral("La lección tiene %1: el alumno verá algo mal o no podrá "
                                    "terminar. ¿Publicarla igual?")
                         .arg(Counted(errors, QStringLiteral("error"), QStringLiteral("errores")))))
        return false;
    QString folder = lastFolder.isEmpty() ? QFileInfo(report_.textPath).path() : lastFolder;
    if (!Boxes::chooseFolder(folderCaption, folder))
        return false;
    lastFolder = folder;
    return true;
}

void CheckView::publishClicked() {
    if (path_.isEmpty())
        return;
    const QString caption = QStringLiteral("Publicar para la clase");
    if (!readyToPublish(caption, QStringLiteral("Carpeta de la clase"), classFolder_))
        return;
    const QString folder = classFolder_;
    RememberClassFolder(folder);
    Publication done;
    try {
        done = publishLesson(report_, folder, publishChoices());
    } catch (const ToolkitError& e) {
        Boxes::error(e.spanishSentence());
        return;
    }
    QStringList left;
    for (const QString& plain : done.plainKeys) {
        const bool remove = Boxes::question(
            caption, QStringLiteral("En la carpeta de la clase está la clave sin proteger %1: "
                                    "cualquier alumno puede abrirla, y el programa del alumno la "
                                    "lee en lugar de la publicada. ¿Borrarla?")
                         .arg(QDir::toNativeSeparators(plain)));
        if (!remove || !QFile::remove(plain))
            left.append(fileName(plain));
    }
    QStringList files = {fileName(done.textPath), fileName(done.keyPath)};
    for (const QString& document : done.documents)
        files.append(fileName(document));
    const QString last = files.takeLast();
    QString text = QStringLiteral("Lección publicada en %1: %2 y %3.")
                       .arg(QDir::toNativeSeparators(QFileInfo(done.keyPath).path()),
                            files.join(QStringLiteral(", ")), last);
    if (!done.documents.isEmpty())
        text += QStringLiteral(" Los documentos del programa que estaban junto a la lectura van "
                               "con ella.");
    if (!done.programDocuments.isEmpty())
        text += QStringLiteral(" La carpeta no tenía la introducción o las instrucciones del "
                               "programa, que el alumno ve al empezar: se han escrito en ella.");
    if (!ui->CbEscuchar->isChecked())
        text += QStringLiteral(" Los alumnos no podrán escuchar la lectura en voz alta.");
    if (ui->CbExamen->isChecked())
        text += ui->CbComentariosAlFinal->isChecked()
                    ? QStringLiteral(" Es un examen: los alumnos verán si acertaron y los "
                                     "comentarios al terminar la lección.")
                    : QStringLiteral(" Es un examen: cada pregunta admite una sola respuesta.");
    if (!left.isEmpty())
        text += QStringLiteral(" Cuidado: la clave sin proteger %1 sigue en la carpeta de la "
                               "clase.")
                    .arg(left.join(QStringLiteral(", ")));
    emit said(QStringLiteral("Lección publicada en %1.")
                  .arg(QDir::toNativeSeparators(QFileInfo(done.keyPath).path())));
    Boxes::information(caption, text);
}

PublishChoices CheckView::publishChoices() const {
    return {ui->CbEscuchar->isChecked(), ui->CbExamen->isChecked(),
            ui->CbExamen->isChecked() && ui->CbComentariosAlFinal->isChecked()};
}

void CheckView::publishWebClicked() {
    if (path_.isEmpty())
        return;
    const QString caption = QStringLiteral("Publicar para la web");
    if (!readyToPublish(caption, QStringLiteral("Carpeta donde escribir la página"), webFolder_))
        return;
    const QString folder = webFolder_;
    WebPublication done;
    try {
        done = publishForWeb(report_, folder, ui->CbEscuchar->isChecked());
    } catch (const ToolkitError& e) {
        Boxes::error(e.spanishSentence());
        return;
    }
    QString text =
        QStringLiteral("Página escrita en %1: se abre index.html con cualquier navegador. Para "
                       "Moodle, suba %2 como actividad SCORM.")
            .arg(QDir::toNativeSeparators(done.pageFolder), fileName(done.packagePath));
    if (!ui->CbEscuchar->isChecked())
        text += QStringLiteral(" La página no ofrece escuchar la lectura.");
    emit said(
        QStringLiteral("Página web escrita en %1.").arg(QDir::toNativeSeparators(done.pageFolder)));
    Boxes::information(caption, text);
}

void CheckView::showReport() {
    ui->LLeccion->setText(
        QStringLiteral("Lección: %1   Clave: %2")
            .arg(QDir::toNativeSeparators(report_.textPath), fileName(report_.keyPath)));
    const int errors = report_.count(Problem::Severity::Error);
    const int warnings = report_.count(Problem::Severity::Aviso);
    // An aviso is most likely a slip: the lesson is ready only without errors and avisos.
    ui->LResumen->setText(problemCounts(errors, warnings, report_.count(Problem::Severity::Nota),
                                        report_.pendingAnswers) +
                          (errors > 0 ? QStringLiteral(": corrija los errores antes de la clase.")
                           : warnings > 0
                               ? QStringLiteral(": mire los avisos antes de la clase.")
                               : QStringLiteral(": la lección está lista para la clase.")));
    ui->LResumen->setStyleSheet(errors > 0     ? QStringLiteral("color: #b00000;")
                                : warnings > 0 ? QStringLiteral("color: #8a5a00;")
                                               : QStringLiteral("color: #006000;"));
    ui->BtRevisar->setEnabled(true);
    ui->BtPublicar->setEnabled(!report_.unreadable);
    ui->BtPublicarWeb->setEnabled(!report_.unreadable);
    ui->LLugar->clear();
    showProblems();
    showPreview();
    // The first problem's place is on view at once.
    if (ui->Problemas->topLevelItemCount() > 0)
        ui->Problemas->setCurrentItem(ui->Problemas->topLevelItem(0));
}

void CheckView::showProblems() {
    ui->Problemas->clear();
    for (qsizetype i = 0; i < report_.problems.size(); ++i) {
        const Problem& problem = report_.problems[i];
        QString place = fileName(problem.file);
        if (problem.line > 0)
            place += u':' + QString::number(problem.line);
        auto* item = new QTreeWidgetItem(ui->Problemas,
                                         {severityWord(problem.severity), place, problem.text});
        item->setForeground(0, severityColour(problem.severity));
        item->setToolTip(2, problem.text);
        item->setData(0, Qt::UserRole, int(i));
    }
}

void CheckView::showPreview() {
    QTreeWidget* tree = ui->VistaPrevia;
    tree->clear();
    for (const SectionView& section : report_.sections) {
        QString title = QStringLiteral("Sección %1").arg(section.number);
        if (section.markerLine == 0)
            title += QStringLiteral(" (el alumno no llega a ella en el texto)");
        if (section.headerLine == 0)
            title += QStringLiteral(" (no está en la clave)");
        else if (section.questions.isEmpty())
            title += QStringLiteral(" (sin preguntas)");
        auto* sectionItem = new QTreeWidgetItem(tree, {title});
        QFont bold = sectionItem->font(0);
        bold.setBold(true);
        sectionItem->setFont(0, bold);
        sectionItem->setData(0, KeyLineRole, section.headerLine);
        sectionItem->setData(0, TextLineRole, section.markerLine);
        for (qsizetype q = 0; q < section.questions.size(); ++q) {
            const QuestionView& question = section.questions[q];
            auto* questionItem = new QTreeWidgetItem(
                sectionItem, {QStringLiteral("%1. %2").arg(q + 1).arg(question.text)});
            questionItem->setForeground(0, QColor(Qt::blue));
            questionItem->setData(0, KeyLineRole, question.line);
            if (question.answers.isEmpty())
                new QTreeWidgetItem(questionItem,
                                    {QStringLiteral("(sin respuestas: no se puede contestar)")});
            for (qsizetype k = 0; k < question.answers.size(); ++k) {
                const AnswerView& answer = question.answers[k];
                auto* answerItem = new QTreeWidgetItem(
                    questionItem,
                    {QStringLiteral("%1. %2").arg(k + 1).arg(answer.text),
                     answer.verdict ? VerdictText(*answer.verdict) : QStringLiteral("Error"),
                     answer.feedback});
                answerItem->setForeground(0, QColor(0x80, 0x00, 0x00));
                answerItem->setToolTip(2, answer.feedback);
                answerItem->setData(0, KeyLineRole, answer.line);
                answerItem->setData(0, JudgmentLineRole, answer.line + 1);
            }
        }
    }
    tree->expandAll();
}

QString CheckView::placeText(const Problem& problem) const {
    const bool inKey = problem.file == report_.keyPath;
    QString where =
        (inKey ? QStringLiteral("Clave ") : QStringLiteral("Texto ")) + fileName(problem.file);
    if (problem.line <= 0)
        return where + QStringLiteral(", todo el archivo.");
    const QString line =
        inKey ? report_.key.value(problem.line - 1) : report_.text.lines.value(problem.line - 1);
    return where + QStringLiteral(", línea %1: «%2»").arg(problem.line).arg(line);
}

// The preview item standing at the problem's line, or the last one before it.
QTreeWidgetItem* CheckView::previewItemFor(const Problem& problem) const {
    if (problem.line <= 0)
        return nullptr;
    const bool inKey = problem.file == report_.keyPath;
    QTreeWidgetItem* best = nullptr;
    int bestLine = 0;
    for (QTreeWidgetItemIterator it(ui->VistaPrevia); *it; ++it) {
        const QList<int> roles =
            inKey ? QList<int>{KeyLineRole, JudgmentLineRole} : QList<int>{TextLineRole};
        for (int role : roles) {
            const int line = (*it)->data(0, role).toInt();
            if (line > 0 && line <= problem.line && line > bestLine) {
                best = *it;
                bestLine = line;
            }
        }
    }
    return best;
}

void CheckView::problemSelected() {
    const QList<QTreeWidgetItem*> chosen = ui->Problemas->selectedItems();
    if (chosen.isEmpty())
        return;
    const Problem& problem = report_.problems.at(chosen.first()->data(0, Qt::UserRole).toInt());
    ui->LLugar->setText(placeText(problem) + u'\n' + problem.text);
    QTreeWidgetItem* item = previewItemFor(problem);
    ui->VistaPrevia->setCurrentItem(item);
    if (item)
        ui->VistaPrevia->scrollToItem(item, QAbstractItemView::PositionAtTop);
}
