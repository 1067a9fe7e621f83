#include "LessonFiles.h"

#include "RegisterName.h"

ShortText DirLeccion;
ShortText NombreLeccion;
ShortText NombreAlumno;

void SepararRutaDeLeccion(const QString& chosen) {
    const QString path = chosen.left(ShortText::kMaxLength);
    // Windows folders end at "\"; everywhere else "/" separates too.
    const qsizetype slash = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    DirLeccion = path.left(slash + 1);
    const QString rest = path.mid(slash + 1);
    const qsizetype underscore = rest.lastIndexOf(u'_');
    NombreLeccion = underscore > 0 ? rest.left(underscore) : QString();
}

QString LessonTextPath() {
    return DirLeccion + NombreLeccion + QStringLiteral("_lec.rtf");
}

QString KeyPath() {
    return DirLeccion + NombreLeccion + QStringLiteral("_CRJ.TXT");
}

QString RegisterPath(const QString& dateDigits) {
    return DirLeccion + RegisterFileName(NombreLeccion, dateDigits);
}
