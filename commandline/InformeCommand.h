#pragma once

#include "Command.h"

// `dorvalia-docente informe CARPETA (--alumno NOMBRE --pdf SALIDA.pdf | --todos CARPETA_SALIDA)
// [--desde DD/MM/AAAA] [--hasta DD/MM/AAAA] [--subcarpetas] [--alumnos ARCHIVO.ini]`: the
// «Informe del alumno» of one student, or of every student into a folder, from the same reading
// as `resumen`. Exit status 0; 1 when no register could be read or the student named has no
// visit in them; 2 for wrong arguments; 3 when a report could not be written.
class InformeCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

    static QString help();
};
