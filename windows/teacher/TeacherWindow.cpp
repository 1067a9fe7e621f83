#include "TeacherWindow.h"

#include "ui_TeacherWindow.h"

#include "CheckView.h"
#include "ClassResultsView.h"
#include "PrepareView.h"
#include "Resources.h"

TeacherWindow::TeacherWindow(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TeacherWindow>()) {
    useWindowResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icono.png")));
    // The key is written before the lesson is checked; the program still starts on the check.
    ui->Pestanas->insertTab(0, new PrepareView(this), QStringLiteral("Preparar lección"));
    ui->Pestanas->setCurrentWidget(ui->Revisar);
    addResultsTab(new ClassResultsView(this));
}

TeacherWindow::~TeacherWindow() = default;

void TeacherWindow::addResultsTab(QWidget* view) {
    ui->Pestanas->addTab(view, QStringLiteral("Resultados de la clase"));
}

CheckView* TeacherWindow::checkView() const {
    return ui->Revisar;
}
