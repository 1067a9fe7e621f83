#include "windows/teacher/TeacherWindow.h"

#include "ui_TeacherWindow.h"

#include "resources/Resources.h"
#include "windows/teacher/AboutTeacher.h"
#include "windows/teacher/CheckView.h"
#include "windows/teacher/ClassResultsView.h"
#include "windows/teacher/GuideWindow.h"
#include "windows/teacher/editor/PrepareView.h"

#include "windows/teacher/editor/StartPage.h"

#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>

TeacherWindow::TeacherWindow(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TeacherWindow>()) {
    useWindowResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icono.png")));
    // The key is written before the lesson is checked; a lesson given to the program opens on
    // the check.
    prepare_ = new PrepareView(this);
    auto* start = new StartPage(this);
    preparing_ = new QStackedWidget(this);
    preparing_->setObjectName(QStringLiteral("PilaPreparar"));
    preparing_->addWidget(start);
    preparing_->addWidget(prepare_);
    preparing_->setCurrentWidget(prepare_);
    ui->Pestanas->insertTab(0, preparing_, QStringLiteral("Preparar lección"));
    ui->Pestanas->setCurrentWidget(ui->Revisar);
    results_ = new ClassResultsView(this);
    addResultsTab(results_);

    connect(start, &StartPage::openReading, prepare_, &PrepareView::openLessonClicked);
    connect(start, &StartPage::newLesson, prepare_, &PrepareView::newKeyClicked);
    connect(start, &StartPage::trySample, prepare_, &PrepareView::openLesson);
    CheckView* check = ui->Revisar;
    connect(prepare_, &PrepareView::lessonOpened, this, [this, check](const QString& path) {
        preparing_->setCurrentWidget(prepare_);
        check->followLesson(path);
    });
    // What is saved is checked again: «Revisar lección» never shows a key that is gone.
    connect(prepare_, &PrepareView::keySaved, check, &CheckView::followLesson);
    connect(check, &CheckView::lessonChecked, prepare_, &PrepareView::followLesson);
    connect(check, &CheckView::startKey, this, [this](const QString& path) {
        ui->Pestanas->setCurrentWidget(preparing_);
        prepare_->newKey(path);
    });
    connect(prepare_, &PrepareView::said, this, &TeacherWindow::say);
    // A question of the results opens the key there, to be put right at once.
    connect(results_, &ClassResultsView::keyQuestionWanted, this,
            [this](const QString& reading, int section, int question) {
                ui->Pestanas->setCurrentWidget(preparing_);
                preparing_->setCurrentWidget(prepare_);
                prepare_->showKeyQuestion(reading, section, question);
            });
    connect(check, &CheckView::said, this, &TeacherWindow::say);
    QMenu* help = menuBar()->addMenu(QStringLiteral("Ay&uda"));
    help->setObjectName(QStringLiteral("MenuAyuda"));
    QAction* guide =
        help->addAction(QStringLiteral("&Guía del docente"), this, &TeacherWindow::guideClicked);
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

void TeacherWindow::showStart() {
    preparing_->setCurrentIndex(0);
    ui->Pestanas->setCurrentWidget(preparing_);
    preparing_->currentWidget()->setFocus();
}

void TeacherWindow::readLastResults() {
    results_->readLastFolder();
}

void TeacherWindow::say(const QString& text) {
    statusBar()->showMessage(text);
}

void TeacherWindow::guideClicked() {
    if (!guide_)
        guide_ = new GuideWindow(this);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}
