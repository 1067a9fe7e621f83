#include "RegisterLines.h"

QString RegisterField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\r') &&
        !text.contains(u'\n'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString TypedRegisterField(const QString& text) {
    if (!text.isEmpty() && (text.front() == u'=' || text.front() == u'+' || text.front() == u'-' ||
                            text.front() == u'@'))
        return RegisterField(u'\'' + text);
    return RegisterField(text);
}

QString VisitLine(const QString& alumno, const QString& date, const QString& leccion) {
    return TypedRegisterField(alumno) + u',' + RegisterField(date) + u',' +
           TypedRegisterField(leccion);
}

QString ColumnLine() {
    return QStringLiteral("Nombre,Sección,Cuestión,Respuesta,Juicio,1er intento");
}
