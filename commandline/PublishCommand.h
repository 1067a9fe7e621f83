#pragma once

#include "Command.h"

// `dorvalia-docente publicar RUTA_lec.rtf CARPETA_DE_LA_CLASE [--forzar]`: checks the lesson and
// publishes it into the class's folder (Publication.h). Exit status 0 when it is published, 1
// when it has errors and --forzar is not given, 2 when it cannot be read or the arguments are
// wrong, 3 when the class's folder cannot be written.
class PublishCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;

    static QString help();
};
