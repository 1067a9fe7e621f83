#include "windows/teacher/editor/PrepareView.h"

#include "ui_PrepareView.h"

#include "platform/LessonViewer.h"
#include "platform/RichViewer.h"
#include "teacher/TextRules.h"
#include "teacher/editor/KeyDocument.h"
#include "windows/teacher/editor/KeyHighlighter.h"
#include "windows/teacher/editor/KeyTextSync.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

namespace {

// The lesson window's viewer width: the reading wraps here where it wraps for the student.
int lessonViewerWidth() {
    static const int width = [] {
        RichViewer viewer;
        shapeAsLessonViewer(viewer);
        return viewer.width();
    }();
    return width;
}

} // namespace

PrepareView::PrepareView(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::PrepareView>()), document_(new KeyDocument(this)),
      session_(document_), checkTimer_(new QTimer(this)) {
    ui->setupUi(this);
    // The reading wraps where it wraps for the student; the form takes the rest of the width.
    ui->LecturaClave->setFixedWidth(lessonViewerWidth());
    ui->CajaLectura->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    ui->DivisionClave->setStretchFactor(0, 1);
    ui->DivisionClave->setStretchFactor(1, 0);
    ui->DivisionPreparar->setStretchFactor(0, 1);
    ui->DivisionPreparar->setSizes({480, 140});
    ui->ArbolClave->header()->setStretchLastSection(false);
    ui->ArbolClave->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    ui->ArbolClave->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    ui->ProblemasClave->setColumnWidth(0, 60);
    ui->ProblemasClave->setColumnWidth(1, 140);
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    ui->TextoClave->setFont(mono);
    new KeyHighlighter(ui->TextoClave->document());
    textSync_ = new KeyTextSync(document_, ui->TextoClave);

    checkTimer_->setSingleShot(true);
    checkTimer_->setInterval(0);
    connect(checkTimer_, &QTimer::timeout, this, &PrepareView::checkNow);
    connect(document_, &KeyDocument::reset, this, &PrepareView::keyLoaded);
    connect(document_, &KeyDocument::changed, this, &PrepareView::keyChanged);
    connect(document_, &KeyDocument::historyChanged, this, [this] {
        ui->BtDeshacer->setEnabled(document_->canUndo());
        ui->BtRehacer->setEnabled(document_->canRedo());
        showTitle();
    });
    connect(ui->BtDeshacer, &QPushButton::clicked, document_, &KeyDocument::undo);
    connect(ui->BtRehacer, &QPushButton::clicked, document_, &KeyDocument::redo);

    connect(ui->BtAbrirLeccion, &QPushButton::clicked, this, &PrepareView::openLessonClicked);
    connect(ui->BtNuevaClave, &QPushButton::clicked, this, &PrepareView::newKeyClicked);
    connect(ui->BtGuardarClave, &QPushButton::clicked, this, &PrepareView::saveKeyClicked);
    connect(ui->BtAnadirPregunta, &QPushButton::clicked, this, &PrepareView::addQuestionClicked);
    connect(ui->BtAnadirRespuesta, &QPushButton::clicked, this, &PrepareView::addAnswerClicked);
    connect(ui->BtQuitar, &QPushButton::clicked, this, &PrepareView::removeClicked);
    connect(ui->BtSubir, &QPushButton::clicked, this, &PrepareView::moveUpClicked);
    connect(ui->BtBajar, &QPushButton::clicked, this, &PrepareView::moveDownClicked);
    connect(ui->BtImportar, &QPushButton::clicked, this, &PrepareView::importClicked);
    connect(ui->BtExportarGift, &QPushButton::clicked, this, &PrepareView::exportGiftClicked);
    connect(ui->BtImprimirFicha, &QPushButton::clicked, this, &PrepareView::printWorksheetClicked);
    connect(ui->ArbolClave, &QTreeWidget::currentItemChanged, this, &PrepareView::showPlace);
    connect(ui->ProblemasClave, &QTreeWidget::itemSelectionChanged, this,
            &PrepareView::problemSelected);
    connect(ui->EdTexto, &QLineEdit::textEdited, this, &PrepareView::textEdited);
    connect(ui->Juicio, &QComboBox::activated, this, &PrepareView::judgmentChosen);
    connect(ui->EdComentario, &QLineEdit::textEdited, this, &PrepareView::feedbackEdited);

    // The tab's keys, while the tab is the one shown (a hidden widget's shortcuts do not fire),
    // wherever the focus is: in the tab or on the row of tabs.
    auto shortcut = [this](const QList<QKeySequence>& keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    shortcut({QKeySequence::Open}, &PrepareView::openLessonClicked);
    shortcut({QKeySequence::Save}, [this] {
        if (ui->BtGuardarClave->isEnabled())
            saveKeyClicked();
    });
    shortcut({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}, &PrepareView::addQuestionClicked);
    shortcut({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)}, &PrepareView::addAnswerClicked);
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Delete)}, &PrepareView::removeClicked);
    shortcut({QKeySequence(Qt::ALT | Qt::Key_Up)}, &PrepareView::moveUpClicked);
    shortcut({QKeySequence(Qt::ALT | Qt::Key_Down)}, &PrepareView::moveDownClicked);
    shortcut({QKeySequence::Undo}, [this] { document_->undo(); });
    shortcut({QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::Key_Y)},
             [this] { document_->redo(); });
    // The edits keep their own undo for nothing: the key's undo takes back what they typed.
    for (QWidget* editor :
         QList<QWidget*>{ui->EdTexto, ui->EdComentario, ui->TextoClave, ui->ArbolClave})
        editor->installEventFilter(this);
    if (parent)
        parent->window()->installEventFilter(this);
}

PrepareView::~PrepareView() = default;

bool PrepareView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == window()) {
        if (!mayLeaveKey()) {
            event->ignore();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool undo = key->matches(QKeySequence::Undo);
        const bool redo = key->matches(QKeySequence::Redo) ||
                          key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_Y);
        if (undo || redo) {
            if (event->type() == QEvent::KeyPress) {
                if (undo)
                    document_->undo();
                else
                    document_->redo();
            }
            event->accept();
            return true;
        }
        if (watched == ui->ArbolClave && event->type() == QEvent::KeyPress &&
            key->matches(QKeySequence::Delete)) {
            removeClicked();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void PrepareView::keyLoaded() {
    textSync_->reload();
    const bool readOnly = document_->readOnly();
    ui->TextoClave->setReadOnly(readOnly);
    ui->BtGuardarClave->setEnabled(!readOnly);
    ui->BtImportar->setEnabled(!readOnly);
    ui->BtExportarGift->setEnabled(true);
    ui->BtImprimirFicha->setEnabled(true);
    ui->LSoloLectura->setText(
        readOnly ? QStringLiteral("Es la clave publicada para la clase (%1), de solo lectura: para "
                                  "cambiarla, abra la lección otra vez y guarde una copia sin "
                                  "proteger en una carpeta suya; después publíquela de nuevo.")
                       .arg(QFileInfo(document_->path()).fileName())
                 : QString());
    ui->LSoloLectura->setVisible(readOnly);
    ui->BtDeshacer->setEnabled(false);
    ui->BtRehacer->setEnabled(false);
    rebuildTree();
    select(Place{});
    if (ui->ArbolClave->topLevelItemCount() > 0)
        ui->ArbolClave->setCurrentItem(ui->ArbolClave->topLevelItem(0));
    ui->ArbolClave->setFocus();
    checkNow();
    emit lessonOpened(readingPath_);
}

void PrepareView::keyChanged(int start, int removed, int added) {
    const Place was = currentPlace();
    if (!updateTreeInPlace(start, removed == added ? added : -1)) {
        rebuildTree();
        select(wanted_.kind != Place::None ? wanted_ : was);
    } else if (wanted_.kind != Place::None) {
        select(wanted_);
    } else {
        showPlace();
    }
    wanted_ = Place{};
    showTitle();
    checkTimer_->start();
}

void PrepareView::showTitle() {
    if (document_->path().isEmpty())
        return;
    QString state;
    if (document_->modified())
        state = QStringLiteral(" (cambios sin guardar)");
    const int errors = report_.count(Problem::Severity::Error);
    ui->LLeccionClave->setText(
        QStringLiteral("Lección: %1   Clave: %2%3   %4")
            .arg(QDir::toNativeSeparators(readingPath_), QFileInfo(document_->path()).fileName(),
                 state,
                 problemCounts(errors, report_.count(Problem::Severity::Aviso),
                               report_.count(Problem::Severity::Nota), report_.pendingAnswers)));
}
