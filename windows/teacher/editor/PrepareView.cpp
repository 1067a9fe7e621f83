#include "PrepareView.h"

#include "ui_PrepareView.h"

#include "Ansi.h"
#include "AnswerKey.h"
#include "AtomicFile.h"
#include "Boxes.h"
#include "KeyDocument.h"
#include "KeyHighlighter.h"
#include "KeyPositions.h"
#include "KeyTextSync.h"
#include "LessonAdapters.h"
#include "LessonFiles.h"
#include "LessonReader.h"
#include "LessonViewer.h"
#include "PlainCopy.h"
#include "PublishedKey.h"
#include "Questions.h"
#include "RichViewer.h"
#include "Sections.h"
#include "SeverityColour.h"
#include "ToolkitError.h"
#include "Words.h"
#include "Worksheet.h"

#include <QAction>
#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidgetItemIterator>

namespace {

using Place = PrepareView::Place;

enum Role { KindRole = Qt::UserRole, SectionRole, QuestionRole, AnswerRole, NumberRole };

const QString kCaption = QStringLiteral("Preparar lección");

QColor verdictColour(JudgmentKind kind) {
    switch (kind) {
    case JudgmentKind::Correcta:
        return QColor(0x00, 0x80, 0x00);
    case JudgmentKind::Incorrecta:
        return QColor(0xb0, 0x00, 0x00);
    case JudgmentKind::Pendiente:
        break;
    }
    return QColor(0xa0, 0x60, 0x00);
}

// The lesson window's viewer width: the reading wraps here where it wraps for the student.
int lessonViewerWidth() {
    static const int width = [] {
        RichViewer viewer;
        shapeAsLessonViewer(viewer);
        return viewer.width();
    }();
    return width;
}

QString shown(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("(vacía)") : text;
}

// The shape of the tree: what must match for its items to be updated in place.
QList<int> shapeOf(const KeyStructure& key, const QList<int>& missing) {
    QList<int> shape = missing;
    shape.append(-1);
    for (const KeySection& s : key.sections) {
        shape.append(s.number);
        shape.append(int(s.questions.size()));
        for (const KeyQuestion& q : s.questions)
            shape.append(int(q.answers.size()));
    }
    return shape;
}

} // namespace

PrepareView::PrepareView(QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::PrepareView>()), document_(new KeyDocument(this)),
      checkTimer_(new QTimer(this)) {
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
    QUndoStack* undo = document_->undoStack();
    connect(undo, &QUndoStack::canUndoChanged, ui->BtDeshacer, &QWidget::setEnabled);
    connect(undo, &QUndoStack::canRedoChanged, ui->BtRehacer, &QWidget::setEnabled);
    connect(undo, &QUndoStack::cleanChanged, this, &PrepareView::showTitle);
    connect(ui->BtDeshacer, &QPushButton::clicked, undo, &QUndoStack::undo);
    connect(ui->BtRehacer, &QPushButton::clicked, undo, &QUndoStack::redo);

    connect(ui->BtAbrirLeccion, &QPushButton::clicked, this, &PrepareView::BtAbrirLeccionClick);
    connect(ui->BtNuevaClave, &QPushButton::clicked, this, &PrepareView::BtNuevaClaveClick);
    connect(ui->BtGuardarClave, &QPushButton::clicked, this, &PrepareView::BtGuardarClaveClick);
    connect(ui->BtAnadirPregunta, &QPushButton::clicked, this, &PrepareView::BtAnadirPreguntaClick);
    connect(ui->BtAnadirRespuesta, &QPushButton::clicked, this,
            &PrepareView::BtAnadirRespuestaClick);
    connect(ui->BtQuitar, &QPushButton::clicked, this, &PrepareView::BtQuitarClick);
    connect(ui->BtSubir, &QPushButton::clicked, this, &PrepareView::BtSubirClick);
    connect(ui->BtBajar, &QPushButton::clicked, this, &PrepareView::BtBajarClick);
    connect(ui->BtImportar, &QPushButton::clicked, this, &PrepareView::BtImportarClick);
    connect(ui->BtExportarGift, &QPushButton::clicked, this, &PrepareView::BtExportarGiftClick);
    connect(ui->BtImprimirFicha, &QPushButton::clicked, this, &PrepareView::BtImprimirFichaClick);
    connect(ui->ArbolClave, &QTreeWidget::currentItemChanged, this, &PrepareView::showPlace);
    connect(ui->ProblemasClave, &QTreeWidget::itemSelectionChanged, this,
            &PrepareView::ProblemasSelectionChange);
    connect(ui->EdTexto, &QLineEdit::textEdited, this, &PrepareView::EdTextoEdited);
    connect(ui->Juicio, &QComboBox::activated, this, &PrepareView::JuicioActivated);
    connect(ui->EdComentario, &QLineEdit::textEdited, this, &PrepareView::EdComentarioEdited);

    // The tab's keys, while the tab is the one shown (a hidden widget's shortcuts do not fire),
    // wherever the focus is: in the tab or on the row of tabs.
    auto shortcut = [this](const QList<QKeySequence>& keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    shortcut({QKeySequence::Open}, &PrepareView::BtAbrirLeccionClick);
    shortcut({QKeySequence::Save}, [this] {
        if (ui->BtGuardarClave->isEnabled())
            BtGuardarClaveClick();
    });
    shortcut({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)}, &PrepareView::BtAnadirPreguntaClick);
    shortcut({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
             &PrepareView::BtAnadirRespuestaClick);
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Delete)}, &PrepareView::BtQuitarClick);
    shortcut({QKeySequence(Qt::ALT | Qt::Key_Up)}, &PrepareView::BtSubirClick);
    shortcut({QKeySequence(Qt::ALT | Qt::Key_Down)}, &PrepareView::BtBajarClick);
    shortcut({QKeySequence::Undo}, [undo] { undo->undo(); });
    shortcut({QKeySequence::Redo, QKeySequence(Qt::CTRL | Qt::Key_Y)}, [undo] { undo->redo(); });
    // The edits keep their own undo for nothing: the key's undo takes back what they typed.
    for (QWidget* editor :
         QList<QWidget*>{ui->EdTexto, ui->EdComentario, ui->TextoClave, ui->ArbolClave})
        editor->installEventFilter(this);
    if (parent)
        parent->window()->installEventFilter(this);
}

PrepareView::~PrepareView() {
    // The undo stack, destroyed with the key after this object, tells of its clean state as it
    // goes: nothing of this tab may hear it then.
    document_->undoStack()->disconnect();
}

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
                    document_->undoStack()->undo();
                else
                    document_->undoStack()->redo();
            }
            event->accept();
            return true;
        }
        if (watched == ui->ArbolClave && event->type() == QEvent::KeyPress &&
            key->matches(QKeySequence::Delete)) {
            BtQuitarClick();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// --- opening -------------------------------------------------------------------------------

bool PrepareView::readLesson(const QString& readingPath) {
    try {
        reading_ = readLessonText(readingPath);
        ui->LecturaClave->load(readingPath);
    } catch (const ToolkitError& e) {
        Boxes::error(QStringLiteral("No se puede leer la lectura %1: %2")
                         .arg(QDir::toNativeSeparators(readingPath), e.spanish()));
        return false;
    }
    QList<Problem> ignored;
    readingFacts_ = checkText(reading_, readingPath, ignored);
    readingPath_ = readingPath;
    shownSection_ = 0;
    return true;
}

void PrepareView::openLesson(const QString& path) {
    if (!mayLeaveKey())
        return;
    SepararRutaDeLeccion(path);
    const QString readingPath = LessonTextPath();
    const QString keyPath = KeyPath();
    const QString found = KeyFileToRead(keyPath);
    if (IsPublishedKey(found)) {
        openPublished(found);
        return;
    }
    // A key named in other letter case is the one the student's program reads: it is edited and
    // saved under its own name, never shadowed by a new key beside it.
    if (!QFileInfo::exists(found)) {
        if (Boxes::question(kCaption,
                            QStringLiteral("La lección %1 no tiene clave (%2). ¿Empezar una "
                                           "clave nueva?")
                                .arg(NombreLeccion, QFileInfo(keyPath).fileName())))
            newKey(path);
        return;
    }
    // A key that cannot be read leaves the lesson on screen as it was, reading and key together.
    QFile key(found);
    if (!key.open(QIODevice::ReadOnly)) {
        Boxes::error(QStringLiteral("No se puede abrir la clave %1: %2")
                         .arg(QDir::toNativeSeparators(found), key.errorString()));
        return;
    }
    key.close();
    if (!readLesson(readingPath))
        return;
    QString failure;
    if (!document_->open(found, failure))
        Boxes::error(failure);
}

void PrepareView::showKeyQuestion(const QString& readingPath, int section, int question) {
    if (QFileInfo(readingPath_) != QFileInfo(readingPath)) {
        openLesson(readingPath);
        if (QFileInfo(readingPath_) != QFileInfo(readingPath))
            return; // not opened: the teacher was told why
    }
    const QList<KeySection>& sections = document_->structure().sections;
    for (int i = 0; i < sections.size(); ++i) {
        if (sections[i].number == section && question >= 1 &&
            question <= sections[i].questions.size())
            return select(Place{Place::Question, i, question - 1});
    }
}

// The class's copy of the key is shown, not changed: the teacher edits a plain copy of it, saved
// in a folder of the teacher's, never beside the published key where the class would read it.
void PrepareView::openPublished(const QString& publishedKey) {
    QStringList lines;
    try {
        lines = ReadPublishedKeyLines(publishedKey);
    } catch (const ToolkitError& e) {
        Boxes::error(e.spanishSentence());
        return;
    }
    if (!readLesson(LessonTextPath()))
        return;
    document_->showPublished(publishedKey, lines);
    const QString name = QFileInfo(publishedKey).fileName();
    if (!Boxes::question(kCaption,
                         QStringLiteral("La lección %1 solo tiene la clave publicada para la clase "
                                        "(%2), que se muestra sin poder cambiarla. ¿Guardar una "
                                        "copia sin proteger en una carpeta suya para editarla?")
                             .arg(NombreLeccion, name)))
        return;
    QString folder = QFileInfo(QFileInfo(readingPath_).absolutePath()).path();
    if (!Boxes::chooseFolder(QStringLiteral("Carpeta para la copia de la lección"), folder))
        return;
    QString copy;
    try {
        copy = savePlainCopy(readingPath_, publishedKey, folder);
    } catch (const ToolkitError& e) {
        Boxes::error(e.spanishSentence());
        return;
    }
    openLesson(copy);
}

void PrepareView::newKey(const QString& path) {
    if (!mayLeaveKey())
        return;
    SepararRutaDeLeccion(path);
    const QString readingPath = LessonTextPath();
    const QString keyPath = KeyPath();
    // Whatever key the student's program would read, in any letter case, is the lesson's key.
    const QString published = KeyFileToRead(keyPath);
    if (QFileInfo::exists(published) && !IsPublishedKey(published)) {
        if (Boxes::question(kCaption, QStringLiteral("La lección %1 ya tiene clave (%2). "
                                                     "¿Abrirla?")
                                          .arg(NombreLeccion, QFileInfo(published).fileName())))
            openLesson(path);
        return;
    }
    if (IsPublishedKey(published)) {
        Boxes::information(kCaption,
                           QStringLiteral("La lección %1 ya tiene clave publicada para la clase "
                                          "(%2): no se empieza otra a su lado. Ábrala con «Abrir "
                                          "lección…» para verla o guardar una copia que editar.")
                               .arg(NombreLeccion, QFileInfo(published).fileName()));
        return;
    }
    if (!readLesson(readingPath))
        return;
    QStringList lines;
    for (auto it = readingFacts_.markerLines.begin(); it != readingFacts_.markerLines.end(); ++it)
        lines.append(SectionHeader(it.key()));
    document_->startNew(keyPath, lines);
}

void PrepareView::BtAbrirLeccionClick() {
    QString path = readingPath_;
    if (Boxes::openFile(QStringLiteral("Lecciones|*") + kLessonTextSuffix, path))
        openLesson(path);
}

void PrepareView::BtNuevaClaveClick() {
    QString path = readingPath_;
    if (Boxes::openFile(QStringLiteral("Lecciones|*") + kLessonTextSuffix, path))
        newKey(path);
}

bool PrepareView::mayLeaveKey() {
    if (!document_->modified())
        return true;
    const QString name = QFileInfo(document_->path()).fileName();
    if (Boxes::question(kCaption, QStringLiteral("La clave %1 tiene cambios sin guardar. "
                                                 "¿Guardarlos?")
                                      .arg(name)))
        return BtGuardarClaveClick();
    return Boxes::question(
        kCaption, QStringLiteral("¿Descartar los cambios de la clave %1? Se perderán.").arg(name));
}

bool PrepareView::BtGuardarClaveClick() {
    if (document_->path().isEmpty() || document_->readOnly())
        return false;
    if (document_->changedOnDisk() &&
        !Boxes::question(kCaption,
                         QStringLiteral("La clave %1 ha cambiado en el disco desde que se abrió "
                                        "aquí (otro programa u otra copia la ha escrito). "
                                        "¿Reemplazarla con la de este formulario? La del disco "
                                        "quedará como %2.bak.")
                             .arg(QDir::toNativeSeparators(document_->path()),
                                  QFileInfo(document_->path()).fileName())))
        return false;
    const KeySaveResult result = document_->save();
    if (!result.saved) {
        Boxes::error(result.failure);
        return false;
    }
    if (!result.notice.isEmpty())
        Boxes::information(kCaption, result.notice);
    showTitle();
    return true;
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
                               report_.count(Problem::Severity::Nota))));
}

// --- the tree ------------------------------------------------------------------------------

void PrepareView::rebuildTree() {
    filling_ = true;
    QTreeWidget* tree = ui->ArbolClave;
    tree->clear();
    const KeyStructure& key = document_->structure();
    const QStringList& lines = document_->lines();
    QList<int> missing;
    for (auto it = readingFacts_.markerLines.begin(); it != readingFacts_.markerLines.end(); ++it) {
        if (key.sectionNumbered(it.key()) < 0)
            missing.append(it.key());
    }
    auto addMissing = [&](int number) {
        auto* item = new QTreeWidgetItem(
            tree, {QStringLiteral("Sección %1 (no está en la clave)").arg(number)});
        item->setData(0, KindRole, Place::Missing);
        item->setData(0, NumberRole, number);
        item->setForeground(0, Qt::gray);
    };
    qsizetype nextMissing = 0;
    for (int s = 0; s < key.sections.size(); ++s) {
        const KeySection& section = key.sections[s];
        // A section of the reading that the key lacks stands where its block would go.
        while (nextMissing < missing.size() && section.number > missing[nextMissing])
            addMissing(missing[nextMissing++]);
        auto* sectionItem = new QTreeWidgetItem(tree);
        sectionItem->setData(0, KindRole, Place::Section);
        sectionItem->setData(0, SectionRole, s);
        QFont bold = sectionItem->font(0);
        bold.setBold(true);
        sectionItem->setFont(0, bold);
        for (int q = 0; q < section.questions.size(); ++q) {
            const KeyQuestion& question = section.questions[q];
            auto* questionItem = new QTreeWidgetItem(sectionItem);
            questionItem->setData(0, KindRole, Place::Question);
            questionItem->setData(0, SectionRole, s);
            questionItem->setData(0, QuestionRole, q);
            questionItem->setForeground(0, QColor(0x00, 0x40, 0xc0));
            for (int a = 0; a < question.answers.size(); ++a) {
                auto* answerItem = new QTreeWidgetItem(questionItem);
                answerItem->setData(0, KindRole, Place::Answer);
                answerItem->setData(0, SectionRole, s);
                answerItem->setData(0, QuestionRole, q);
                answerItem->setData(0, AnswerRole, a);
            }
        }
    }
    while (nextMissing < missing.size())
        addMissing(missing[nextMissing++]);
    Q_UNUSED(lines);
    tree->setProperty("shape", QVariant::fromValue(shapeOf(key, missing)));
    updateTreeInPlace();
    tree->expandAll();
    filling_ = false;
}

// Writes the texts of the items again; false when the key's shape changed and the tree must be
// built again.
// Writes the texts of the items again, all of them or those of the lines [first, first + count);
// false when the key's shape changed and the tree must be built again.
bool PrepareView::updateTreeInPlace(int first, int count) {
    QTreeWidget* tree = ui->ArbolClave;
    const KeyStructure& key = document_->structure();
    QList<int> missing;
    for (auto it = readingFacts_.markerLines.begin(); it != readingFacts_.markerLines.end(); ++it) {
        if (key.sectionNumbered(it.key()) < 0)
            missing.append(it.key());
    }
    if (tree->property("shape").value<QList<int>>() != shapeOf(key, missing))
        return false;
    if (count >= 0) {
        // One letter typed changes one line: its item alone is written again.
        for (int line = first; line < first + count; ++line) {
            const Place place = placeOfLine(line);
            if (place.kind != Place::None)
                writeItem(itemFor(place), place);
        }
        return true;
    }
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* sectionItem = tree->topLevelItem(i);
        if (sectionItem->data(0, KindRole).toInt() != Place::Section)
            continue;
        const int s = sectionItem->data(0, SectionRole).toInt();
        writeItem(sectionItem, {Place::Section, s});
        for (int q = 0; q < key.sections[s].questions.size(); ++q) {
            QTreeWidgetItem* questionItem = sectionItem->child(q);
            writeItem(questionItem, {Place::Question, s, q});
            for (int a = 0; a < key.sections[s].questions[q].answers.size(); ++a)
                writeItem(questionItem->child(a), {Place::Answer, s, q, a});
        }
    }
    return true;
}

void PrepareView::writeItem(QTreeWidgetItem* item, const Place& place) {
    const KeyStructure& key = document_->structure();
    const QStringList& lines = document_->lines();
    if (!item || place.section < 0)
        return;
    const KeySection& section = key.sections[place.section];
    if (place.kind == Place::Section) {
        QString title;
        if (section.header < 0)
            title = QStringLiteral("Preguntas antes del primer encabezado (nadie las verá)");
        else if (section.number == 0)
            title = QStringLiteral("«%1» (el alumno no encuentra este encabezado)")
                        .arg(lines[section.header]);
        else
            title = QStringLiteral("Sección %1").arg(section.number);
        if (section.number > 0 && readingFacts_.sections >= 0 &&
            !readingFacts_.markerLines.contains(section.number))
            title += QStringLiteral(" (la lectura no tiene esta sección)");
        item->setText(0, title);
        return;
    }
    const KeyQuestion& question = section.questions[place.question];
    if (place.kind == Place::Question) {
        item->setText(0, QStringLiteral("%1. %2")
                             .arg(place.question + 1)
                             .arg(shown(LineText(lines[question.line]))));
        item->setText(1, question.answers.isEmpty() ? QStringLiteral("sin respuestas") : QString());
        return;
    }
    const KeyAnswer& answer = question.answers[place.answer];
    item->setText(
        0, QStringLiteral("%1. %2").arg(place.answer + 1).arg(shown(LineText(lines[answer.line]))));
    if (answer.judgment < 0) {
        item->setText(1, QStringLiteral("sin juicio"));
        item->setForeground(1, Qt::red);
    } else {
        const JudgmentKind kind = judgmentKind(lines[answer.judgment]);
        item->setText(1, VerdictText(VerdictOfMarker(judgmentMark(kind))));
        item->setForeground(1, verdictColour(kind));
    }
    item->setToolTip(0, LineText(lines.value(answer.judgment)));
}

PrepareView::Place PrepareView::currentPlace() const {
    const QTreeWidgetItem* item = ui->ArbolClave->currentItem();
    if (!item)
        return {};
    Place place;
    place.kind = Place::Kind(item->data(0, KindRole).toInt());
    place.section = item->data(0, SectionRole).toInt();
    place.question =
        item->data(0, QuestionRole).isValid() ? item->data(0, QuestionRole).toInt() : -1;
    place.answer = item->data(0, AnswerRole).isValid() ? item->data(0, AnswerRole).toInt() : -1;
    place.number = item->data(0, NumberRole).toInt();
    if (place.kind == Place::Missing)
        place.section = -1;
    return place;
}

// The item of the place, or the nearest one that still exists.
QTreeWidgetItem* PrepareView::itemFor(const Place& place) const {
    QTreeWidget* tree = ui->ArbolClave;
    if (place.kind == Place::None)
        return nullptr;
    QTreeWidgetItem* sectionItem = nullptr;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tree->topLevelItem(i);
        const int kind = item->data(0, KindRole).toInt();
        if ((place.kind == Place::Missing && kind == Place::Missing &&
             item->data(0, NumberRole).toInt() == place.number) ||
            (place.kind != Place::Missing && kind == Place::Section &&
             item->data(0, SectionRole).toInt() == place.section)) {
            sectionItem = item;
            break;
        }
    }
    if (!sectionItem) {
        const int count = tree->topLevelItemCount();
        return count > 0 ? tree->topLevelItem(std::clamp(place.section, 0, count - 1)) : nullptr;
    }
    if (place.question < 0 || sectionItem->childCount() == 0)
        return sectionItem;
    QTreeWidgetItem* questionItem =
        sectionItem->child(std::min(place.question, sectionItem->childCount() - 1));
    if (place.answer < 0 || questionItem->childCount() == 0)
        return questionItem;
    return questionItem->child(std::min(place.answer, questionItem->childCount() - 1));
}

void PrepareView::select(const Place& place) {
    QTreeWidgetItem* item = itemFor(place);
    if (!item)
        return;
    if (item == ui->ArbolClave->currentItem())
        showPlace();
    else
        ui->ArbolClave->setCurrentItem(item);
    ui->ArbolClave->scrollToItem(item);
}

int PrepareView::sectionNumberOf(const Place& place) const {
    if (place.kind == Place::Missing)
        return place.number;
    if (place.section < 0 || place.section >= document_->structure().sections.size())
        return 0;
    return document_->structure().sections[place.section].number;
}

// Fills the fields below the tree with the chosen item, and brings the reading to its section.
void PrepareView::showPlace() {
    if (filling_)
        return;
    const Place place = currentPlace();
    const QStringList& lines = document_->lines();
    const KeyStructure& key = document_->structure();
    QString text, feedback;
    int judgment = -1;
    bool textEditable = false;
    if (place.kind == Place::Section && place.section < key.sections.size()) {
        const KeySection& section = key.sections[place.section];
        text = section.header >= 0 ? lines[section.header] : QString();
    } else if (place.kind == Place::Question) {
        text = LineText(lines[key.sections[place.section].questions[place.question].line]);
        textEditable = true;
    } else if (place.kind == Place::Answer) {
        const KeyAnswer& answer =
            key.sections[place.section].questions[place.question].answers[place.answer];
        text = LineText(lines[answer.line]);
        textEditable = true;
        if (answer.judgment >= 0) {
            judgment = int(judgmentKind(lines[answer.judgment]));
            feedback = LineText(lines[answer.judgment]);
        }
    }
    // Only what differs is written, so that the teacher's cursor stays where it is.
    if (ui->EdTexto->text() != text)
        ui->EdTexto->setText(text);
    if (ui->EdComentario->text() != feedback)
        ui->EdComentario->setText(feedback);
    ui->Juicio->setCurrentIndex(judgment);
    const bool answer = place.kind == Place::Answer && !document_->readOnly();
    ui->EdTexto->setEnabled(textEditable && !document_->readOnly());
    ui->Juicio->setEnabled(answer);
    ui->EdComentario->setEnabled(answer);
    ui->LTexto->setText(place.kind == Place::Question ? QStringLiteral("&Pregunta:")
                        : place.kind == Place::Answer ? QStringLiteral("&Respuesta:")
                                                      : QStringLiteral("&Texto:"));
    enableEdits();
    showSectionInReading(sectionNumberOf(place));
}

void PrepareView::enableEdits() {
    const Place place = currentPlace();
    const bool open = !document_->path().isEmpty() && !document_->readOnly();
    const bool item = open && (place.kind == Place::Question || place.kind == Place::Answer);
    ui->BtAnadirPregunta->setEnabled(open && place.kind != Place::None);
    ui->BtAnadirRespuesta->setEnabled(item);
    ui->BtQuitar->setEnabled(item);
    ui->BtSubir->setEnabled(item);
    ui->BtBajar->setEnabled(item);
}

void PrepareView::showSectionInReading(int number) {
    // Typing in the form keeps the reading where the teacher may have scrolled it.
    if (number <= 0 || readingPath_.isEmpty() || number == shownSection_)
        return;
    shownSection_ = number;
    // The student's program brings a section to the top this way; it takes the focus, which the
    // teacher keeps.
    QWidget* focused = focusWidget();
    ViewerAdapter viewer(ui->LecturaClave);
    ShowSection(viewer, number);
    if (focused)
        focused->setFocus();
}

// --- edits ---------------------------------------------------------------------------------

void PrepareView::EdTextoEdited(const QString& text) {
    const Place place = currentPlace();
    const KeyStructure& key = document_->structure();
    int line = -1;
    if (place.kind == Place::Question)
        line = key.sections[place.section].questions[place.question].line;
    else if (place.kind == Place::Answer)
        line = key.sections[place.section].questions[place.question].answers[place.answer].line;
    if (line >= 0)
        document_->edit(KeyEdits::setText(document_->lines(), line, text), true);
}

void PrepareView::JuicioActivated(int index) {
    const Place place = currentPlace();
    if (place.kind != Place::Answer || index < 0)
        return;
    const KeyAnswer& answer = document_->structure()
                                  .sections[place.section]
                                  .questions[place.question]
                                  .answers[place.answer];
    wanted_ = place;
    document_->edit(KeyEdits::setJudgment(document_->lines(), answer, JudgmentKind(index)));
}

void PrepareView::EdComentarioEdited(const QString& text) {
    const Place place = currentPlace();
    if (place.kind != Place::Answer)
        return;
    const KeyAnswer& answer = document_->structure()
                                  .sections[place.section]
                                  .questions[place.question]
                                  .answers[place.answer];
    wanted_ = place;
    document_->edit(KeyEdits::setFeedback(document_->lines(), answer, text), true);
}

void PrepareView::BtAnadirPreguntaClick() {
    Place place = currentPlace();
    if (place.kind == Place::None || document_->path().isEmpty() || document_->readOnly())
        return;
    if (place.kind == Place::Missing) {
        // The section's block first, then its question: two steps to undo.
        const int number = place.number;
        wanted_ = Place{};
        document_->edit(KeyEdits::addSection(document_->lines(), document_->structure(), number));
        place = Place{Place::Section, document_->structure().sectionNumbered(number)};
    }
    const KeySection& section = document_->structure().sections[place.section];
    const int after =
        place.kind == Place::Section ? int(section.questions.size()) - 1 : place.question;
    wanted_ = Place{Place::Question, place.section, after + 1};
    document_->edit(KeyEdits::addQuestion(section, after));
    ui->EdTexto->setFocus();
}

void PrepareView::BtAnadirRespuestaClick() {
    const Place place = currentPlace();
    if (document_->readOnly() || (place.kind != Place::Question && place.kind != Place::Answer))
        return;
    const KeyQuestion& question =
        document_->structure().sections[place.section].questions[place.question];
    const int after =
        place.kind == Place::Question ? int(question.answers.size()) : place.answer + 1;
    wanted_ = Place{Place::Answer, place.section, place.question, after};
    document_->edit(KeyEdits::addAnswer(question, after));
    ui->EdTexto->setFocus();
}

void PrepareView::BtQuitarClick() {
    if (document_->readOnly())
        return;
    const Place place = currentPlace();
    const KeyStructure& key = document_->structure();
    if (place.kind == Place::Question) {
        wanted_ = Place{Place::Question, place.section, std::max(0, place.question - 1)};
        if (place.question == 0)
            wanted_ = key.sections[place.section].questions.size() > 1
                          ? Place{Place::Question, place.section, 0}
                          : Place{Place::Section, place.section};
        document_->edit(KeyEdits::removeQuestion(key.sections[place.section], place.question));
    } else if (place.kind == Place::Answer) {
        const KeyQuestion& question = key.sections[place.section].questions[place.question];
        wanted_ =
            question.answers.size() > 1
                ? Place{Place::Answer, place.section, place.question, std::max(0, place.answer - 1)}
                : Place{Place::Question, place.section, place.question};
        document_->edit(KeyEdits::removeAnswer(question, place.answer));
    }
}

void PrepareView::move(int delta) {
    if (document_->readOnly())
        return;
    const Place place = currentPlace();
    const KeyStructure& key = document_->structure();
    std::optional<LineEdit> edit;
    if (place.kind == Place::Question) {
        edit = KeyEdits::moveQuestion(document_->lines(), key.sections[place.section],
                                      place.question, delta);
        wanted_ = Place{Place::Question, place.section, place.question + delta};
    } else if (place.kind == Place::Answer) {
        edit = KeyEdits::moveAnswer(document_->lines(),
                                    key.sections[place.section].questions[place.question],
                                    place.answer, delta);
        wanted_ = Place{Place::Answer, place.section, place.question, place.answer + delta};
    }
    if (edit)
        document_->edit(*edit);
    else
        wanted_ = Place{};
}

void PrepareView::BtSubirClick() {
    move(-1);
}

void PrepareView::BtBajarClick() {
    move(+1);
}

// --- the live check ------------------------------------------------------------------------

void PrepareView::checkNow() {
    checkTimer_->stop();
    if (document_->path().isEmpty())
        return;
    report_ = checkLesson(readingPath_, reading_, document_->path(), document_->lines());
    showProblems();
    showTitle();
}

void PrepareView::showProblems() {
    QTreeWidget* list = ui->ProblemasClave;
    list->blockSignals(true);
    list->clear();
    for (qsizetype i = 0; i < report_.problems.size(); ++i) {
        const Problem& problem = report_.problems[i];
        QString place = QFileInfo(problem.file).fileName();
        if (problem.line > 0)
            place += u':' + QString::number(problem.line);
        auto* item =
            new QTreeWidgetItem(list, {severityWord(problem.severity), place, problem.text});
        item->setForeground(0, severityColour(problem.severity));
        item->setToolTip(2, problem.text);
        item->setData(0, Qt::UserRole, int(i));
    }
    list->blockSignals(false);
    ui->CajaProblemasClave->setTitle(
        report_.problems.isEmpty()
            ? QStringLiteral("Problemas: ninguno, la clave está lista para la clase")
            : QStringLiteral("Problemas: %1")
                  .arg(problemCounts(report_.count(Problem::Severity::Error),
                                     report_.count(Problem::Severity::Aviso),
                                     report_.count(Problem::Severity::Nota))));
}

// The form's place of a key line: its answer, its question, or its section.
PrepareView::Place PrepareView::placeOfLine(int line) const {
    const KeyStructure& key = document_->structure();
    const int s = key.sectionOf(line);
    if (s < 0)
        return {};
    const KeySection& section = key.sections[s];
    for (int q = 0; q < section.questions.size(); ++q) {
        const KeyQuestion& question = section.questions[q];
        if (line < question.line || line >= question.end())
            continue;
        for (int a = 0; a < question.answers.size(); ++a) {
            if (line >= question.answers[a].line && line < question.answers[a].end())
                return {Place::Answer, s, q, a};
        }
        return {Place::Question, s, q};
    }
    return {Place::Section, s};
}

void PrepareView::ProblemasSelectionChange() {
    const QList<QTreeWidgetItem*> chosen = ui->ProblemasClave->selectedItems();
    if (chosen.isEmpty())
        return;
    const Problem& problem = report_.problems.at(chosen.first()->data(0, Qt::UserRole).toInt());
    if (problem.line <= 0)
        return;
    if (problem.file == document_->path()) {
        select(placeOfLine(problem.line - 1));
        // In the text view, the line itself.
        const QTextBlock block = ui->TextoClave->document()->findBlockByNumber(problem.line - 1);
        if (block.isValid()) {
            QTextCursor cursor(block);
            ui->TextoClave->setTextCursor(cursor);
            ui->TextoClave->centerCursor();
        }
        return;
    }
    // A problem of the reading: the section whose marker stands there.
    for (auto it = readingFacts_.markerLines.begin(); it != readingFacts_.markerLines.end(); ++it) {
        if (it.value() + 1 == problem.line) {
            const int s = document_->structure().sectionNumbered(it.key());
            select(s >= 0 ? Place{Place::Section, s} : Place{Place::Missing, -1, -1, -1, it.key()});
            return;
        }
    }
}

// --- Moodle's formats and the worksheet ------------------------------------------------------

// The open key's lesson name (the student's program's global may name another lesson by now).
QString PrepareView::lessonName() const {
    const QString key = QFileInfo(document_->path()).fileName();
    return key.left(key.size() - QStringLiteral("_CRJ.TXT").size());
}

void PrepareView::BtImportarClick() {
    if (document_->path().isEmpty() || document_->readOnly())
        return;
    QString path = QFileInfo(readingPath_).absolutePath();
    if (!Boxes::openFile(QStringLiteral("Preguntas de Moodle (GIFT o Aiken)|*.gift *.txt"), path))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Boxes::error(QStringLiteral("No se puede leer %1: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString()));
        return;
    }
    const ImportResult result = readQuestions(decodeTeacherText(file.readAll()));
    const QString name = QFileInfo(path).fileName();
    if (!result.failure.isEmpty()) {
        Boxes::error(
            QStringLiteral("No se importa ninguna pregunta de %1: %2").arg(name, result.failure));
        return;
    }
    const int chosen = std::max(1, sectionNumberOf(currentPlace()));
    QString text =
        CountedSentence(result.questions.size(), QStringLiteral("1 pregunta importada de %2"),
                        QStringLiteral("%1 preguntas importadas de %2"))
            .arg(name);
    bool elsewhere = false;
    for (const ImportedQuestion& q : result.questions)
        elsewhere = elsewhere || (q.section > 0 && q.section != chosen);
    text += elsewhere ? QStringLiteral(", en las secciones que nombran sus categorías.")
                      : QStringLiteral(" a la sección %1.").arg(chosen);
    // A box taller than the screen helps nobody: desde-gift names every question left out.
    for (const QString& note : importNotes(result, 20))
        text += u'\n' + note;
    if (const std::optional<LineEdit> change = KeyEdits::difference(
            document_->lines(), withQuestions(document_->lines(), result.questions, chosen))) {
        LineEdit edit = *change;
        edit.label = QStringLiteral("importar preguntas");
        document_->edit(edit);
    }
    Boxes::information(kCaption, text);
}

void PrepareView::BtExportarGiftClick() {
    if (document_->path().isEmpty())
        return;
    QString path =
        QFileInfo(readingPath_).absolutePath() + u'/' + lessonName() + QStringLiteral(".gift");
    if (!Boxes::saveFile(QStringLiteral("Exportar a GIFT"), QStringLiteral("GIFT|*.gift"), path))
        return;
    const GiftExport gift = writeGift(document_->lines());
    QString failure;
    if (!WriteFileAtomically(path, gift.text.toUtf8(), failure)) {
        Boxes::error(failure);
        return;
    }
    QString text = CountedSentence(gift.questions, QStringLiteral("1 pregunta exportada a %2."),
                                   QStringLiteral("%1 preguntas exportadas a %2."))
                       .arg(QDir::toNativeSeparators(path));
    if (gift.pendingAnswers > 0)
        text += u' ' + CountedSentence(gift.pendingAnswers,
                                       QStringLiteral("1 respuesta pendiente pasa a ser "
                                                      "incorrecta (0 %) en Moodle."),
                                       QStringLiteral("%1 respuestas pendientes pasan a ser "
                                                      "incorrectas (0 %) en Moodle."));
    if (gift.skippedQuestions > 0)
        text += u' ' + CountedSentence(gift.skippedQuestions,
                                       QStringLiteral("1 pregunta sin respuestas o fuera de toda "
                                                      "sección no se exporta."),
                                       QStringLiteral("%1 preguntas sin respuestas o fuera de "
                                                      "toda sección no se exportan."));
    if (gift.withoutWrongAnswer > 0)
        text += u' ' + CountedSentence(gift.withoutWrongAnswer,
                                       QStringLiteral("1 pregunta no tiene ninguna respuesta "
                                                      "incorrecta: Moodle la lee como pregunta "
                                                      "de respuesta corta."),
                                       QStringLiteral("%1 preguntas no tienen ninguna respuesta "
                                                      "incorrecta: Moodle las lee como preguntas "
                                                      "de respuesta corta."));
    Boxes::information(kCaption, text);
}

void PrepareView::BtImprimirFichaClick() {
    if (document_->path().isEmpty())
        return;
    const bool teacher = Boxes::question(
        kCaption, QStringLiteral("¿La copia del docente, con el juicio y el comentario de cada "
                                 "respuesta? (No: la ficha del alumno.)"));
    QString path = QFileInfo(readingPath_).absolutePath() + u'/' + lessonName() +
                   (teacher ? QStringLiteral("_ficha_docente.pdf") : QStringLiteral("_ficha.pdf"));
    if (!Boxes::saveFile(QStringLiteral("Imprimir ficha"), QStringLiteral("PDF|*.pdf"), path))
        return;
    QString failure;
    if (!WriteWorksheetPdf(readingPath_, document_->lines(),
                           teacher ? WorksheetCopy::Docente : WorksheetCopy::Alumno, path, failure))
        Boxes::error(failure);
}
