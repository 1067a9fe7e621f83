#pragma once

#include <QMainWindow>

#include <memory>

namespace Ui {
class TeacherWindow;
}
class CheckView;
class GuideWindow;

// The teacher's program's window: one tab per task, the first one checking a lesson.
class TeacherWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TeacherWindow(QWidget* parent = nullptr);
    ~TeacherWindow() override;

    // Adds the tab of the class's results after the others.
    void addResultsTab(QWidget* view);

    CheckView* checkView() const;

    // «Ayuda → Guía del docente»: the guide in a window of its own, made at the first call.
    void GuiaClick();

private:
    std::unique_ptr<Ui::TeacherWindow> ui;
    GuideWindow* guide_ = nullptr;
};
