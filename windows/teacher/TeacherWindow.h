#pragma once

#include <QMainWindow>

#include <memory>

namespace Ui {
class TeacherWindow;
}
class CheckView;
class ClassResultsView;
class GuideWindow;
class PrepareView;
class QStackedWidget;

// The teacher's program's window: one tab per task, in the order a teacher works, sharing one
// current lesson: a lesson opened in one tab is the one the others show.
class TeacherWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit TeacherWindow(QWidget* parent = nullptr);
    ~TeacherWindow() override;

    // Adds the tab of the class's results after the others.
    void addResultsTab(QWidget* view);

    CheckView* checkView() const;
    PrepareView* prepareView() const { return prepare_; }
    // Started with no lesson: «Preparar lección» with its start page.
    void showStart();
    // Reads again the folder of registers read last time.
    void readLastResults();

    // «Ayuda → Guía del docente»: the guide in a window of its own, made at the first call.
    void guideClicked();

private:
    // A short confirmation in the status bar, until the next one.
    void say(const QString& text);

    std::unique_ptr<Ui::TeacherWindow> ui;
    GuideWindow* guide_ = nullptr;
    PrepareView* prepare_;
    QStackedWidget* preparing_;
    ClassResultsView* results_;
};
