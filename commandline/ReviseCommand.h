#pragma once

#include "commandline/Command.h"

// `dorvalia-docente revisar RUTA_lec.rtf...`: checks lessons and prints one problem a line, then
// a summary.
class ReviseCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    VerbHelp help() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

// "1 lección revisada: 2 errores, 1 aviso, 0 notas." and so on.
QString reviseSummary(int lessons, int errors, int warnings, int notes, int pending = 0);
