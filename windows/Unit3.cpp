#include "windows/Unit3.h"

#include "ui_Unit3.h"

#include "lesson/AnswerKey.h"
#include "lesson/LessonFiles.h"
#include "lesson/OnePublication.h"
#include "lesson/Sections.h"
#include "platform/Anchors.h"
#include "platform/Boxes.h"
#include "platform/ButtonKeys.h"
#include "platform/LessonViewer.h"
#include "platform/TextZoom.h"
#include "platform/rtf/JpegImage.h"
#include "resources/Resources.h"
#include "study/Register.h"
#include "study/Visit.h"
#include "windows/ListeningBar.h"
#include "windows/Unit5.h"

#include <QCloseEvent>
#include <QFile>
#include <QSignalBlocker>

TFormLeccion* FormLeccion = nullptr;

namespace {
const QString kNingunaDeLasAnteriores = QStringLiteral("      NINGUNA DE LAS ANTERIORES");
} // namespace

TFormLeccion::TFormLeccion(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormLeccion>()) {
    useWindowResources();
    ui->setupUi(this);
    shapeAsLessonViewer(*ui->LectorDeSeccion);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(true);
    move(-6, -6);
    setWindowIcon(QIcon(QStringLiteral(":/icono.png")));

    QFile picture(QStringLiteral(":/lectura.jpg"));
    if (picture.open(QIODevice::ReadOnly))
        ui->Image1->setPixmap(QPixmap::fromImage(decodeJpeg(picture.readAll(), 1 << 20)));

    ui->UpDownPregunta->setBuddy(ui->Npregunta);
    ui->UpDownRespuesta->setBuddy(ui->Nrespuesta);
    ui->UpDownPregunta->setArrowNames(QStringLiteral("Cuestión siguiente"),
                                      QStringLiteral("Cuestión anterior"));
    ui->UpDownRespuesta->setArrowNames(QStringLiteral("Respuesta siguiente"),
                                       QStringLiteral("Respuesta anterior"));
    pressFocusedButtonOnEnter(this);
    new TextZoom(this, {ui->LectorDeSeccion, ui->MemoPregunta, ui->MemoRespuesta},
                 QStringLiteral("lectura/tamano"));

    const Qt::Edges all = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;
    const Qt::Edges rightBottom = Qt::RightEdge | Qt::BottomEdge;
    anchor(ui->LectorDeSeccion, all);
    anchor(ui->LSeccion, Qt::TopEdge | Qt::RightEdge);
    anchor(ui->ListaDeSecciones, Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    anchor(ui->Image1, rightBottom);
    anchor(ui->MemoPregunta, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    anchor(ui->Lpregunta, rightBottom);
    anchor(ui->Npregunta, rightBottom);
    anchor(ui->UpDownPregunta, rightBottom);
    anchor(ui->MemoRespuesta, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    anchor(ui->LRespuesta, Qt::RightEdge);
    anchor(ui->Nrespuesta, rightBottom);
    anchor(ui->UpDownRespuesta, rightBottom);
    anchor(ui->BtAceptar, Qt::LeftEdge | Qt::BottomEdge);
    anchor(ui->BtResultados, rightBottom);
    anchor(ui->BtTerminarLec, rightBottom);

    viewer_ = std::make_unique<ViewerAdapter>(ui->LectorDeSeccion);
    sections_ = std::make_unique<ListAdapter>(ui->ListaDeSecciones);

    connect(ui->ListaDeSecciones, &ListBox::clickedByStudent, this,
            &TFormLeccion::ListaDeSeccionesClick);
    connect(ui->Npregunta, &QLineEdit::textChanged, this, &TFormLeccion::NpreguntaChange);
    connect(ui->Nrespuesta, &QLineEdit::textChanged, this, &TFormLeccion::NrespuestaChange);
    connect(ui->Nrespuesta, &QLineEdit::editingFinished, this, &TFormLeccion::restoreAnswerNumber);
    connect(ui->BtAceptar, &QPushButton::clicked, this, &TFormLeccion::BtAceptarClick);
    connect(ui->BtResultados, &QPushButton::clicked, this, &TFormLeccion::BtResultadosClick);
    connect(ui->BtTerminarLec, &QPushButton::clicked, this, &TFormLeccion::BtTerminarLecClick);
}

TFormLeccion::~TFormLeccion() = default;

void TFormLeccion::setSpeaker(Speaker& speaker) {
    listening_ =
        new ListeningBar(this, speaker, ui->LectorDeSeccion, ui->MemoPregunta, ui->MemoRespuesta);
    // In the gap between the reading and the question, stretching with them.
    listening_->setGeometry(16, 315, 627, 27);
    listening_->notice()->setGeometry(listening_->geometry());
    anchor(listening_, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    anchor(listening_->notice(), Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    // Tab reaches the controls after the window's own.
    QWidget* previous = ui->BtResultados;
    for (QWidget* control : listening_->controls()) {
        setTabOrder(previous, control);
        previous = control;
    }
    // Moving to another section, question or answer leaves what was being read.
    connect(ui->ListaDeSecciones, &ListBox::clickedByStudent, listening_,
            &ListeningBar::stopReading);
    connect(ui->Npregunta, &QLineEdit::textChanged, listening_, &ListeningBar::stopReading);
    connect(ui->Nrespuesta, &QLineEdit::textChanged, listening_, &ListeningBar::stopReading);
}

void TFormLeccion::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Opening the window starts a visit; the desktop showing it again after a minimise does not.
    // The visit starts once the window is on screen, so that an error of the opening shows over
    // this window rather than over the start window.
    if (!event->spontaneous())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (isVisible())
                    FormActivate();
            },
            Qt::QueuedConnection);
}

void TFormLeccion::FormActivate() {
    // Until the key says otherwise: a lesson that fails to open offers no voice either.
    if (listening_)
        listening_->setAllowed(false);
    Clave = std::make_unique<TextList>();
    StartVisit();
    setWindowTitle(NombreLeccion);
    LimpiarPreguntaYRespuesta();
    // Nothing can be accepted before an answer is shown.
    ui->BtAceptar->setEnabled(false);
    ui->UpDownPregunta->setEnabled(false);
    enableAnswerSelector(false);
    ui->BtResultados->setEnabled(false);
    // The reading shown and the key must come from one publication: the reading is looked at
    // before the viewer reads it and again after the key is read.
    const QByteArray readingBefore = ReadingDigestAt(LessonTextPath());
    ui->LectorDeSeccion->load(LessonTextPath());
    LoadKey(KeyPath());
    RequireOnePublication(LessonTextPath(), readingBefore);
    // The teacher may have published the lesson for a reading test, without the voice.
    if (listening_)
        listening_->setAllowed(KeySettings().listening,
                               QStringLiteral("El docente ha preparado esta lección para leerla "
                                              "sin voz: «Escuchar» no está disponible."));
    NumSecciones = ContarSecciones(*viewer_, prompter_);
    LlenarListaDeSecciones(*sections_);
    SeccionActual = 0;
    PreguntasPendientes.clear();
}

void TFormLeccion::ListaDeSeccionesClick() {
    if (!ConfirmarCambioDeSeccion(prompter_)) {
        sections_->select(SeccionActual - 1);
        return;
    }
    const int n = sections_->selectedIndex() + 1;
    if (ShowSection(*viewer_, n) == -1) {
        Boxes::message(QStringLiteral("No se encuentra la ") + SectionHeader(n));
        // The questions on screen are still the current section's: the list goes back to it, so
        // that an answer is never recorded under, nor completes, a section that was not shown.
        sections_->select(SeccionActual - 1);
        return;
    }
    EnterSection(n, *this, prompter_);
    // A section that the key lacks offers no questions, and the previous section's question and
    // answer leave the screen: accepting them now would record them under this section.
    ui->UpDownPregunta->setEnabled(LineaSeccion >= 0);
    if (LineaSeccion < 0)
        LimpiarPreguntaYRespuesta();
}

void TFormLeccion::NpreguntaChange() {
    const int n = ui->UpDownPregunta->position();
    ui->UpDownRespuesta->setPosition(0);
    ui->MemoRespuesta->clear();
    ui->BtAceptar->setEnabled(false);
    if (n == 0) {
        ui->MemoPregunta->clear();
        enableAnswerSelector(false);
        return;
    }
    ui->MemoPregunta->setPlainText(SelectQuestion(n));
    enableAnswerSelector(true);
    ui->UpDownRespuesta->setMaximum(NumRespuestas);
}

void TFormLeccion::NrespuestaChange() {
    if (ui->Nrespuesta->text().isEmpty())
        return; // the student is still typing; editingFinished puts it right
    if (!ui->UpDownRespuesta->isEnabled() || !ui->UpDownRespuesta->editHoldsPosition()) {
        restoreAnswerNumber();
        return;
    }
    const int k = ui->UpDownRespuesta->position();
    if (k == 0) {
        ui->MemoRespuesta->setPlainText(kNingunaDeLasAnteriores);
        return;
    }
    ui->MemoRespuesta->setPlainText(AnswerText(k, LineaPregunta));
    ui->BtAceptar->setEnabled(true);
}

void TFormLeccion::enableAnswerSelector(bool enabled) {
    ui->UpDownRespuesta->setEnabled(enabled);
    // Without a question there is no answer to type either.
    ui->Nrespuesta->setReadOnly(!enabled);
}

void TFormLeccion::restoreAnswerNumber() {
    const QString shown = QString::number(ui->UpDownRespuesta->position());
    if (ui->Nrespuesta->text() == shown && ui->UpDownRespuesta->editHoldsPosition())
        return;
    const QSignalBlocker quiet(ui->Nrespuesta);
    ui->Nrespuesta->setText(shown);
}

void TFormLeccion::BtAceptarClick() {
    const Judgment judgment =
        Accept(ui->UpDownRespuesta->position(), ui->UpDownPregunta->position(),
               sections_->selectedIndex() + 1, ui->Npregunta->text(), *this);
    const QString verdict = VerdictText(judgment.verdict);
    Boxes::information(verdict, judgment.feedback,
                       listening_ ? listening_->verdictReading(verdict, judgment.feedback)
                                  : Boxes::Extra{});
}

void TFormLeccion::BtResultadosClick() {
    // The results window covers the lesson: nobody reads on behind it.
    if (listening_)
        listening_->stopReading();
    Resultados->ShowResults();
}

void TFormLeccion::BtTerminarLecClick() {
    close();
}

void TFormLeccion::reject() {}

bool TFormLeccion::FormCloseQuery() {
    if (!ConfirmarFinDeLeccion(prompter_))
        return false;
    GuardarRegistro();
    EndVisit();
    return true;
}

void TFormLeccion::closeEvent(QCloseEvent* event) {
    // Ignored until the register is safely written: a failed save keeps the window open.
    event->ignore();
    if (FormCloseQuery()) {
        event->accept();
        done(QDialog::Rejected);
    }
}

void TFormLeccion::LimpiarPreguntaYRespuesta() {
    ui->MemoPregunta->clear();
    ui->MemoRespuesta->clear();
    ui->UpDownPregunta->setPosition(0);
    ui->UpDownRespuesta->setPosition(0);
}

void TFormLeccion::setQuestionMaximum(int maximum) {
    ui->UpDownPregunta->setMaximum(maximum);
}

void TFormLeccion::enableResults() {
    ui->BtResultados->setEnabled(true);
}
