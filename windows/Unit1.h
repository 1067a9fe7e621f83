#pragma once

#include <QString>
#include <QWidget>

#include <memory>

namespace Ui {
class TFormInicio;
}

// The start window, the program's main window: introduction and instructions, the choice of a
// lesson, the end of the program.
class TFormInicio : public QWidget {
    Q_OBJECT
public:
    explicit TFormInicio(QWidget* parent = nullptr);
    ~TFormInicio() override;

    void FormActivate();
    void BtInstruccClick();
    void BtSelecLecClick();
    void BtterminarClick();

    void CargarDocumento(const QString& file, const QString& missingLine);
    void PedirNombre();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::TFormInicio> ui;
    bool activated_ = false;
    // The file chosen last time; the file dialog's name box starts with it.
    QString lastChosen_;
};

extern TFormInicio* FormInicio;
