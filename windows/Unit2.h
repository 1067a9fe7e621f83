#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

// The about box that greets the student before the start window.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

private:
    std::unique_ptr<Ui::TAboutBox> ui;
};

extern TAboutBox* AboutBox;
