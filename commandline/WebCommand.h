#pragma once

#include "commandline/Command.h"

// `dorvalia-docente web RUTA_lec.rtf CARPETA [--sin-voz] [--forzar]`: checks the lesson and
// writes it as a web page and a SCORM 1.2 package (WebExport.h).
class WebCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    VerbHelp help() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};
