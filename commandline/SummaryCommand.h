#pragma once

#include "commandline/Command.h"

// `dorvalia-docente resumen CARPETA [--desde DD/MM/AAAA] [--hasta DD/MM/AAAA] [--subcarpetas]
// [--csv CARPETA_SALIDA] [--csv-excel CARPETA_SALIDA] [--xlsx ARCHIVO] [--pdf ARCHIVO]
// [--restaurar]`: the class's results without the window; with --restaurar, the visits missing
// from their registers are put back first. Prints what each lesson has to take up again, writes the
// exports asked for, and lists on standard error the lines it could not read and the readings
// to check.
class SummaryCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    VerbHelp help() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};
