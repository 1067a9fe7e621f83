#include "TeacherWindow.h"

#include "ui_TeacherWindow.h"

#include "AboutTeacher.h"
#include "CheckView.h"
#include "ClassResultsView.h"
#include "GuideWindow.h"
#include "PrepareView.h"
#include "Resources.h"

#include <QMenuBar>

TeacherWindow::TeacherWindow(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TeacherWindow>()) {
    useWindowResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icono.png")));
    // The key is written before the lesson is checked; the program still starts on the check.
    auto* prepare = new PrepareView(this);
    ui->Pestanas->insertTab(0, prepare, QStringLiteral("Preparar lección"));
    ui->Pestanas->setCurrentWidget(ui->Revisar);
    auto* results = new ClassResultsView(this);
    addResultsTab(results);
    // A question of the results opens the key there, to be put right at once.
    connect(results, &ClassResultsView::keyQuestionWanted, this,
            [this, prepare](const QString& reading, int section, int question) {
                ui->Pestanas->setCurrentWidget(prepare);
                prepare->showKeyQuestion(reading, section, question);
            });
    QMenu* help = menuBar()->addMenu(QStringLiteral("Ay&uda"));
    help->setObjectName(QStringLiteral("MenuAyuda"));
    QAction* guide =
        help->addAction(QStringLiteral("&Guía del docente"), this, &TeacherWindow::GuiaClick);
    guide->setObjectName(QStringLiteral("AccionGuia"));
    guide->setShortcut(QKeySequence::HelpContents);
    help->addAction(QStringLiteral("&Acerca de Dorvalia para docentes"), this, &ShowTeacherAbout)
        ->setObjectName(QStringLiteral("AccionAcercaDe"));
}

TeacherWindow::~TeacherWindow() = default;

void TeacherWindow::addResultsTab(QWidget* view) {
    ui->Pestanas->addTab(view, QStringLiteral("Resultados de la clase"));
}

CheckView* TeacherWindow::checkView() const {
    return ui->Revisar;
}

void TeacherWindow::GuiaClick() {
    if (!guide_)
        guide_ = new GuideWindow(this);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}
