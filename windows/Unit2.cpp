#include "windows/Unit2.h"

#include "ui_Unit2.h"

#include "resources/Resources.h"
#include <QGuiApplication>
#include <QScreen>

TAboutBox* AboutBox = nullptr;

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TAboutBox>()) {
    useWindowResources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(324, 230);
    // Labels size themselves to their text, as the fixed design sizes assume a narrower font.
    ui->Version->adjustSize();
    ui->ProductName->adjustSize();
    connect(ui->OKButton, &QPushButton::clicked, this, &QDialog::accept);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TAboutBox::~TAboutBox() = default;
