#include "lesson/LessonFiles.h"

#include "lesson/RegisterName.h"

#include <QDir>
#include <QFileInfo>

ShortText DirLeccion;
ShortText NombreLeccion;
ShortText NombreAlumno;

LessonPlace SplitLessonPath(const QString& chosen) {
    const QString path = chosen.left(ShortText::kMaxLength);
    // Windows folders end at "\"; everywhere else "/" separates too.
    const qsizetype slash = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return {path.left(slash + 1), LessonNameOf(path.mid(slash + 1))};
}

QString LessonNameOf(const QString& fileName) {
    const qsizetype underscore = fileName.lastIndexOf(u'_');
    return underscore > 0 ? fileName.left(underscore) : QString();
}

QString LessonTextName(const QString& lesson) {
    return lesson + kLessonTextSuffix;
}

QString KeyName(const QString& lesson) {
    return lesson + kKeySuffix;
}

QString ProperLessonTextName(const QString& fileName) {
    static const QString rtf = QStringLiteral(".rtf");
    if (!fileName.endsWith(rtf, Qt::CaseInsensitive) ||
        fileName.endsWith(kLessonTextSuffix, Qt::CaseInsensitive) || fileName.size() == rtf.size())
        return {};
    return fileName.chopped(rtf.size()) + kLessonTextSuffix;
}

QString FileByNameAnyCase(const QString& path) {
    const QFileInfo exact(path);
    if (exact.exists())
        return path;
    const QString name = exact.fileName();
    if (name.isEmpty())
        return path;
    QDir folder = exact.dir();
    const QStringList names =
        folder.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& other : names) {
        if (other.compare(name, Qt::CaseInsensitive) == 0)
            return path.left(path.size() - name.size()) + other;
    }
    return path;
}

void SepararRutaDeLeccion(const QString& path) {
    const LessonPlace place = SplitLessonPath(path);
    DirLeccion = place.folder;
    NombreLeccion = place.name;
}

namespace {

LessonPlace chosenLesson() {
    return {DirLeccion.str(), NombreLeccion.str()};
}

} // namespace

QString LessonTextPath() {
    return chosenLesson().readingPath();
}

QString KeyPath() {
    return chosenLesson().keyPath();
}

QString RegisterPath(const QString& dateDigits) {
    return chosenLesson().registerPath(dateDigits);
}
