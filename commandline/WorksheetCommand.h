#pragma once

#include "commandline/Command.h"

// `dorvalia-docente ficha RUTA_lec.rtf --pdf SALIDA.pdf [--con-clave]`: the lesson's worksheet.
class WorksheetCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    VerbHelp help() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};
