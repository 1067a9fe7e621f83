#include "windows/Unit1.h"

#include "ui_Unit1.h"

#include "lesson/LessonFiles.h"
#include "platform/Anchors.h"
#include "platform/Boxes.h"
#include "platform/ButtonKeys.h"
#include "platform/core/RegularFile.h"
#include "resources/Resources.h"
#include "windows/LessonAdapters.h"
#include "windows/Unit3.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFile>
#include <QTimer>

TFormInicio* FormInicio = nullptr;

namespace {
const QString kIntro = QStringLiteral("dorvalia_intro.rtf");
const QString kInstrucciones = QStringLiteral("dorvalia_instrucciones.rtf");

// A plain top-level widget is a panel to assistive technology; the start window is a window.
QAccessibleInterface* startWindowAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("TFormInicio") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}
} // namespace

TFormInicio::TFormInicio(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TFormInicio>()) {
    static const bool accessible = [] {
        QAccessible::installFactory(startWindowAccessible);
        return true;
    }();
    Q_UNUSED(accessible);
    useWindowResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icono.png")));
    move(191, 154);
    pressFocusedButtonOnEnter(this);
    anchor(ui->MemoIntro, Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    anchor(ui->BtSelecLec, Qt::LeftEdge | Qt::BottomEdge);
    anchor(ui->BtInstrucc, Qt::RightEdge | Qt::BottomEdge);
    anchor(ui->Btterminar, Qt::LeftEdge | Qt::BottomEdge);
    anchor(ui->btIntro, Qt::RightEdge | Qt::BottomEdge);

    connect(ui->BtSelecLec, &QPushButton::clicked, this, &TFormInicio::BtSelecLecClick);
    connect(ui->BtInstrucc, &QPushButton::clicked, this, &TFormInicio::BtInstruccClick);
    connect(ui->Btterminar, &QPushButton::clicked, this, &TFormInicio::BtterminarClick);
    connect(ui->btIntro, &QPushButton::clicked, this, &TFormInicio::FormActivate);
}

TFormInicio::~TFormInicio() = default;

void TFormInicio::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The introduction is loaded when the window first appears; coming back from a dialog or
    // from a lesson leaves the window as the student left it.
    if (!activated_) {
        activated_ = true;
        // Visits that a crash or a power cut left unsaved are offered back, over the window
        // once it is on screen. They are asked for before the introduction loads, so that an
        // introduction that cannot be loaded (its error box) does not keep them from the student.
        QTimer::singleShot(0, this, [] {
            BoxPrompter boxes;
            OfferUnfinishedVisits(boxes, boxes);
        });
        FormActivate();
    }
}

void TFormInicio::CargarDocumento(const QString& file, const QString& missingLine) {
    ui->MemoIntro->clear();
    QFile probe(file);
    if (!openRegularFileForReading(probe)) {
        ui->MemoIntro->showPlainLine(missingLine);
        return;
    }
    probe.close();
    ui->MemoIntro->load(file);
}

void TFormInicio::FormActivate() {
    CargarDocumento(kIntro, QStringLiteral("No se encuentra el archivo \"%1\"").arg(kIntro));
    ui->btIntro->setEnabled(false);
    ui->BtInstrucc->setEnabled(true);
}

void TFormInicio::BtInstruccClick() {
    CargarDocumento(kInstrucciones, QStringLiteral("No se encuentra \"%1\".").arg(kInstrucciones));
    ui->btIntro->setEnabled(true);
    ui->BtInstrucc->setEnabled(false);
}

void TFormInicio::BtSelecLecClick() {
    if (!Boxes::openFile(QStringLiteral("Lecciones|*") + kLessonTextSuffix, lastChosen_))
        return;
    if (lastChosen_.isEmpty())
        return;
    SepararRutaDeLeccion(lastChosen_);
    PedirNombre();
    FormLeccion->exec();
}

void TFormInicio::PedirNombre() {
    QString name;
    if (Boxes::input(QStringLiteral("Nombre"), QStringLiteral("Escribe tu Nombre: "), name))
        NombreAlumno = name;
    else
        NombreAlumno = QString();
}

void TFormInicio::BtterminarClick() {
    if (Boxes::question(QStringLiteral("Fin del programa"),
                        QStringLiteral("¿Quiere cerrar este programa?")))
        QApplication::quit();
}
