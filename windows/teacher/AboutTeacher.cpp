#include "windows/teacher/AboutTeacher.h"

#include "platform/Boxes.h"

QString TeacherAboutText() {
    QString text =
        QStringLiteral("Dorvalia para docentes, versión " DORVALIA_VERSION "\n\n"
                       "Revisa lecciones de Dorvalia antes de la clase y resume los registros de "
                       "los alumnos.\n\n"
                       "Dorvalia es software libre: puede redistribuirlo y modificarlo según los "
                       "términos de la Licencia Pública General de GNU publicada por la Free "
                       "Software Foundation, en su versión 3 o (a su elección) cualquier versión "
                       "posterior. Se distribuye con la esperanza de que sea útil, pero SIN "
                       "NINGUNA GARANTÍA; ni siquiera la garantía implícita de COMERCIABILIDAD o "
                       "de ADECUACIÓN A UN FIN DETERMINADO.\n\n"
                       "Usa Qt (Licencia Pública General Reducida de GNU, versión 3), "
                       "libjpeg-turbo, libxlsxwriter y zlib. ");
#ifdef Q_OS_WIN
    text += QStringLiteral("El texto de la licencia está en el archivo COPYING, y las licencias de "
                           "cada parte en LICENCIAS.txt, en la carpeta del programa.");
#else
    text += QStringLiteral("El texto de la licencia está en /usr/share/common-licenses/GPL-3, y "
                           "las licencias de cada parte en /usr/share/doc/dorvalia/copyright.");
#endif
    return text;
}

void ShowTeacherAbout() {
    Boxes::information(QStringLiteral("Acerca de Dorvalia para docentes"), TeacherAboutText());
}
