#pragma once

#include "commandline/Command.h"

// `dorvalia-docente gift RUTA_lec.rtf SALIDA.gift`: the lesson's key for Moodle.
class GiftCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    VerbHelp help() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};

// `dorvalia-docente desde-gift ENTRADA.gift NOMBRE_CRJ.TXT [--reemplazar]`: a key from Moodle's
// questions (GIFT or Aiken).
class FromGiftCommand : public Command {
public:
    QString name() const override;
    QString description() const override;
    VerbHelp help() const override;
    int execute(const QStringList& arguments, QTextStream& out, QTextStream& err) override;
};
