// «Preparar lección»: opening a lesson's key, starting one, saving it.

#include "windows/teacher/editor/PrepareView.h"

#include "ui_PrepareView.h"

#include "lesson/LessonFiles.h"
#include "platform/Boxes.h"
#include "platform/core/ToolkitError.h"
#include "print/LessonReader.h"
#include "windows/teacher/ReadingName.h"
#include "windows/teacher/editor/PrepareParts.h"

#include <QDir>
#include <QFileInfo>

using prepare::kCaption;

bool PrepareView::readLesson(const QString& readingPath) {
    try {
        reading_ = readLessonText(readingPath);
        ui->LecturaClave->load(readingPath);
    } catch (const ToolkitError& e) {
        Boxes::error(QStringLiteral("No se puede leer la lectura %1: %2")
                         .arg(QDir::toNativeSeparators(readingPath), e.spanish()));
        return false;
    }
    if (reading_.notRtf) {
        Boxes::error(QStringLiteral("La lectura %1 no es un archivo RTF: guárdela desde su "
                                    "procesador de textos como «Formato de texto enriquecido "
                                    "(.rtf)»")
                         .arg(QDir::toNativeSeparators(readingPath)));
        return false;
    }
    QList<Problem> ignored;
    readingFacts_ = checkText(reading_, readingPath, ignored);
    readingPath_ = readingPath;
    shownSection_ = 0;
    return true;
}

void PrepareView::openLesson(const QString& path) {
    if (!mayLeaveKey())
        return;
    const KeyFinding found = FindKey(path);
    switch (found.kind) {
    case KeyFinding::Published:
        openPublished(found);
        return;
    case KeyFinding::Missing:
        if (Boxes::question(kCaption,
                            QStringLiteral("La lección %1 no tiene clave (%2). ¿Empezar una "
                                           "clave nueva?")
                                .arg(found.lesson.name, QFileInfo(found.keyFile).fileName())))
            newKey(path);
        return;
    case KeyFinding::Plain:
        break;
    }
    loadLesson(found);
}

bool PrepareView::loadLesson(const KeyFinding& found) {
    // A key that cannot be read leaves the lesson on screen as it was, reading and key together.
    QString failure;
    if (!KeySession::canRead(found, failure)) {
        Boxes::error(failure);
        return false;
    }
    if (!readLesson(found.lesson.readingPath()))
        return false;
    if (!session_.open(found, failure)) {
        Boxes::error(failure);
        return false;
    }
    return true;
}

// The class's copy of the key is shown, not changed: the teacher edits a plain copy of it, saved
// in a folder of the teacher's, never beside the published key where the class would read it.
void PrepareView::openPublished(const KeyFinding& found) {
    if (!loadLesson(found))
        return;
    const QString name = QFileInfo(found.keyFile).fileName();
    if (!Boxes::question(kCaption,
                         QStringLiteral("La lección %1 solo tiene la clave publicada para la clase "
                                        "(%2), que se muestra sin poder cambiarla. ¿Guardar una "
                                        "copia sin proteger en una carpeta suya para editarla?")
                             .arg(found.lesson.name, name)))
        return;
    QString folder = QFileInfo(QFileInfo(readingPath_).absolutePath()).path();
    if (!Boxes::chooseFolder(QStringLiteral("Carpeta para la copia de la lección"), folder))
        return;
    QString copy;
    try {
        copy = session_.copyPublished(folder);
    } catch (const ToolkitError& e) {
        Boxes::error(e.spanishSentence());
        return;
    }
    openLesson(copy);
}

void PrepareView::newKey(const QString& path) {
    if (!mayLeaveKey())
        return;
    const KeyFinding found = FindKey(path);
    // Whatever key the student's program would read, in any letter case, is the lesson's key.
    if (found.kind == KeyFinding::Plain) {
        if (Boxes::question(kCaption,
                            QStringLiteral("La lección %1 ya tiene clave (%2). "
                                           "¿Abrirla?")
                                .arg(found.lesson.name, QFileInfo(found.keyFile).fileName())))
            openLesson(path);
        return;
    }
    if (found.kind == KeyFinding::Published) {
        Boxes::information(kCaption,
                           QStringLiteral("La lección %1 ya tiene clave publicada para la clase "
                                          "(%2): no se empieza otra a su lado. Ábrala con «Abrir "
                                          "lección…» para verla o guardar una copia que editar.")
                               .arg(found.lesson.name, QFileInfo(found.keyFile).fileName()));
        return;
    }
    if (!readLesson(found.lesson.readingPath()))
        return;
    session_.startNew(found.lesson, readingFacts_.markerLines.keys());
}

// Every RTF shows in the dialog: a reading under another name is offered its lesson's name.
void PrepareView::openLessonClicked() {
    QString path = readingPath_;
    if (Boxes::openFile(QStringLiteral("Lecturas|*.rtf"), path) &&
        OfferProperReadingName(kCaption, path))
        openLesson(path);
}

void PrepareView::newKeyClicked() {
    QString path = readingPath_;
    if (Boxes::openFile(QStringLiteral("Lecturas|*.rtf"), path) &&
        OfferProperReadingName(kCaption, path))
        newKey(path);
}

void PrepareView::followLesson(const QString& path) {
    if (QFileInfo(path) == QFileInfo(readingPath_) || FindKey(path).kind != KeyFinding::Plain)
        return;
    openLesson(path);
}

bool PrepareView::mayLeaveKey() {
    if (!document_->modified())
        return true;
    enum { Save, Discard, Cancel };
    const int chosen = Boxes::choose(
        kCaption,
        QStringLiteral("La clave %1 tiene cambios sin guardar.")
            .arg(QFileInfo(document_->path()).fileName()),
        {QStringLiteral("Guardar"), QStringLiteral("Descartar"), QStringLiteral("Cancelar")},
        Cancel);
    if (chosen == Save)
        return saveKeyClicked();
    return chosen == Discard;
}

bool PrepareView::saveKeyClicked() {
    if (document_->path().isEmpty() || document_->readOnly())
        return false;
    if (document_->changedOnDisk() &&
        !Boxes::question(kCaption,
                         QStringLiteral("La clave %1 ha cambiado en el disco desde que se abrió "
                                        "aquí (otro programa u otra copia la ha escrito). "
                                        "¿Reemplazarla con la de este formulario? La del disco "
                                        "quedará como %2.bak.")
                             .arg(QDir::toNativeSeparators(document_->path()),
                                  QFileInfo(document_->path()).fileName())))
        return false;
    const KeySaveResult result = session_.save();
    if (!result.saved) {
        Boxes::error(result.failure);
        return false;
    }
    if (!result.notice.isEmpty())
        Boxes::information(kCaption, result.notice);
    showTitle();
    emit said(
        QStringLiteral("Clave guardada: %1.").arg(QDir::toNativeSeparators(document_->path())));
    emit keySaved(readingPath_);
    return true;
}

void PrepareView::showKeyQuestion(const QString& readingPath, int section, int question) {
    if (QFileInfo(readingPath_) != QFileInfo(readingPath)) {
        openLesson(readingPath);
        if (QFileInfo(readingPath_) != QFileInfo(readingPath))
            return; // not opened: the teacher was told why
    }
    const QList<KeySection>& sections = document_->structure().sections;
    for (int i = 0; i < sections.size(); ++i) {
        if (sections[i].number == section && question >= 1 &&
            question <= sections[i].questions.size())
            return select(Place{Place::Question, i, question - 1});
    }
}
