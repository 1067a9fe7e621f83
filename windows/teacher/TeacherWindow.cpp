#include "TeacherWindow.h"

#include "ui_TeacherWindow.h"

#include "AboutTeacher.h"
#include "CheckView.h"
#include "ClassResultsView.h"
#include "Resources.h"

#include <QMenuBar>

TeacherWindow::TeacherWindow(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::TeacherWindow>()) {
    useWindowResources();
    ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/icono.png")));
    addResultsTab(new ClassResultsView(this));
    QMenu* help = menuBar()->addMenu(QStringLiteral("Ay&uda"));
    help->setObjectName(QStringLiteral("MenuAyuda"));
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
