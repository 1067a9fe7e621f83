#include "windows/ListeningOptions.h"

#include "platform/LightSchemes.h"

#include <QActionGroup>
#include <QMenu>
#include <QSettings>
#include <QWidget>

namespace {

QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dorvalia"),
                     QStringLiteral("Dorvalia"));
}

const char* const kSchemeKey = "voz/colores";

} // namespace

ListeningOptions::ListeningOptions(QWidget* parent)
    : QObject(parent), menu_(new QMenu(QStringLiteral("Opciones de la voz"), parent)) {
    menu_->setObjectName(QStringLiteral("MenuOpcionesVoz"));
    addOption(QStringLiteral("Frase a frase: parar al final de cada frase"),
              QStringLiteral("AcFraseAFrase"), "voz/frase_a_frase", sentenceBySentence_);
    addOption(QStringLiteral("Por sílabas"), QStringLiteral("AcPorSilabas"), "voz/silabas",
              bySyllables_);
    addOption(QStringLiteral("Regla de lectura"), QStringLiteral("AcReglaDeLectura"), "voz/regla",
              ruler_);
    addOption(QStringLiteral("Leer la respuesta del docente al aceptar"),
              QStringLiteral("AcLeerVeredicto"), "voz/leer_veredicto", readVerdict_);
    addOption(QStringLiteral("Leer las direcciones web y de correo"),
              QStringLiteral("AcLeerDirecciones"), "voz/direcciones", sayAddresses_);

    QMenu* colours = menu_->addMenu(QStringLiteral("Colores"));
    colours->setObjectName(QStringLiteral("MenuColores"));
    auto* group = new QActionGroup(colours);
    scheme_ = LightSchemeOf(settings().value(kSchemeKey).toString()).key;
    for (const LightScheme& scheme : LightSchemes()) {
        QAction* action = colours->addAction(scheme.name);
        action->setObjectName(QStringLiteral("AcColores_") + scheme.key);
        action->setCheckable(true);
        action->setChecked(scheme.key == scheme_);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, key = scheme.key] {
            scheme_ = key;
            settings().setValue(kSchemeKey, key);
            emit changed();
        });
    }
}

void ListeningOptions::addOption(const QString& text, const QString& name, const char* key,
                                 bool& value) {
    value = settings().value(key, value).toBool();
    QAction* action = menu_->addAction(text);
    action->setObjectName(name);
    action->setCheckable(true);
    action->setChecked(value);
    connect(action, &QAction::toggled, this, [this, key, &value](bool on) {
        value = on;
        settings().setValue(key, on);
        emit changed();
    });
}
