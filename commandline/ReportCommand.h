#pragma once

#include "commandline/Command.h"

// `dorvalia-docente informe CARPETA (--alumno NOMBRE --pdf SALIDA.pdf | --todos CARPETA_SALIDA)
// [--desde DD/MM/AAAA] [--hasta DD/MM/AAAA] [--subcarpetas] [--alumnos ARCHIVO.ini]`: the
// «Informe del alumno» of one student, or of every student into a folder, from the same reading
// as `resumen`.
class ReportCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    VerbHelp help() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};
