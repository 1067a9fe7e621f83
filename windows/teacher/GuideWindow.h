#pragma once

#include <QDialog>

class QTextBrowser;

// «Guía del docente»: the teacher's guide, carried inside the program, in a window of its own
// that stays open beside the main one.
class GuideWindow : public QDialog {
    Q_OBJECT
public:
    explicit GuideWindow(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};
