#pragma once

#include "commandline/Command.h"

// `dorvalia-docente publicar RUTA_lec.rtf CARPETA_DE_LA_CLASE [--forzar] [--sin-voz]`: checks
// the lesson and publishes it into the class's folder (Publication.h).
class PublishCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    VerbHelp help() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};
