#include "windows/teacher/ReadingName.h"

#include "lesson/LessonFiles.h"
#include "lesson/LessonPlace.h"
#include "platform/Boxes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool OfferProperReadingName(const QString& caption, QString& path) {
    const QFileInfo chosen(path);
    const QString proper = ProperLessonTextName(chosen.fileName());
    // Another file of a lesson whose reading is there opens that lesson, as in the student's
    // program.
    if (proper.isEmpty() ||
        QFileInfo::exists(FileByNameAnyCase(LessonPlace::ofReading(path).readingPath())))
        return true;
    if (!Boxes::question(caption,
                         QStringLiteral("Una lectura debe llamarse NOMBRE_lec.rtf: con el nombre "
                                        "«%1», el programa del alumno buscaría otro archivo. "
                                        "¿Cambiarle el nombre a «%2»?")
                             .arg(chosen.fileName(), proper)))
        return false;
    const QString renamed = chosen.dir().filePath(proper);
    // A file of that name is never replaced: it may be another lesson's reading.
    if (QFileInfo::exists(renamed)) {
        Boxes::error(QStringLiteral("Ya hay un archivo %1: no se cambia el nombre de %2")
                         .arg(QDir::toNativeSeparators(renamed), chosen.fileName()));
        return false;
    }
    if (!QFile::rename(path, renamed)) {
        Boxes::error(QStringLiteral("No se puede cambiar el nombre de %1 a %2")
                         .arg(QDir::toNativeSeparators(path), proper));
        return false;
    }
    path = renamed;
    return true;
}
