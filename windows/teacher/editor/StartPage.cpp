#include "windows/teacher/editor/StartPage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

StartPage::StartPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("PaginaInicio"));
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    auto* title = new QLabel(QStringLiteral("<h2>Preparar una lección</h2>"), this);
    auto* text = new QLabel(
        QStringLiteral("Una lección es una lectura en RTF (NOMBRE_lec.rtf) con marcas «.Sección "
                       "1», «.Sección 2»… y su clave (NOMBRE_CRJ.TXT): las preguntas de cada "
                       "sección, sus respuestas y el juicio y el comentario de cada una. Aquí "
                       "se escribe la clave en un formulario, junto a la lectura tal como la verá "
                       "el alumno."),
        this);
    text->setWordWrap(true);
    // Centred, the label is not asked for its height at its width: it is given it.
    text->setFixedWidth(560);
    text->setMinimumHeight(text->heightForWidth(560));
    layout->addWidget(title, 0, Qt::AlignHCenter);
    layout->addWidget(text, 0, Qt::AlignHCenter);
    layout->addSpacing(12);
    auto button = [&](const QString& name, const QString& label) {
        auto* b = new QPushButton(label, this);
        b->setObjectName(name);
        b->setMinimumWidth(320);
        layout->addWidget(b, 0, Qt::AlignHCenter);
        return b;
    };
    QPushButton* open =
        button(QStringLiteral("BtInicioAbrir"), QStringLiteral("&Abrir una lectura y su clave…"));
    QPushButton* fresh = button(QStringLiteral("BtInicioNueva"),
                                QStringLiteral("&Empezar la clave de una lectura nueva…"));
    QPushButton* sample =
        button(QStringLiteral("BtInicioEjemplo"), QStringLiteral("&Probar la lección de ejemplo"));
    sample->setEnabled(!sampleLesson().isEmpty());
    layout->addStretch(2);
    connect(open, &QPushButton::clicked, this, &StartPage::openReading);
    connect(fresh, &QPushButton::clicked, this, &StartPage::newLesson);
    connect(sample, &QPushButton::clicked, this, [this] { emit trySample(sampleLesson()); });
    setFocusProxy(open);
}

QString StartPage::sampleLesson() {
    const QDir program(QCoreApplication::applicationDirPath());
    // Installed on Windows beside the program, on Linux in the shared data; in a build, the
    // source's own samples.
    QStringList places = {program.filePath(QStringLiteral("ejemplo")),
                          program.filePath(QStringLiteral("../share/dorvalia/ejemplo"))};
#ifdef DORVALIA_SOURCE_SAMPLES
    places.append(QStringLiteral(DORVALIA_SOURCE_SAMPLES));
#endif
    for (const QString& place : places) {
        const QString reading = QDir(place).filePath(QStringLiteral("El_volcan_lec.rtf"));
        if (QFileInfo(reading).isFile())
            return QDir::cleanPath(reading);
    }
    return {};
}
