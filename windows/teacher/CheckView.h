#pragma once

#include "teacher/LessonCheck.h"
#include "teacher/Publication.h"

#include <QWidget>

#include <memory>

namespace Ui {
class CheckView;
}
class QTreeWidgetItem;

// The tab that checks a lesson: its problems beside the lesson as the student will meet it.
// Choosing a problem shows its place, in the preview and as the line it points at.
class CheckView : public QWidget {
    Q_OBJECT
public:
    explicit CheckView(QWidget* parent = nullptr);
    ~CheckView() override;

    // Checks the lesson whose text is path (its key beside it) and shows the result; a new
    // lesson without a key gets the offer to start one (startKey).
    void openLesson(const QString& path);
    // Checks the lesson that another tab has opened, unless it is the one shown; asks nothing.
    void followLesson(const QString& path);
    // Asks for a lesson with the file dialog and checks it.
    void openClicked();
    // Reads the files again, after the teacher has edited them.
    void checkClicked();
    // Checks the lesson again and publishes it into the class's folder that the teacher
    // chooses: the reading and the published key, never the plain key.
    void publishClicked();
    // Checks the lesson again and writes it, into the folder that the teacher chooses, as a web
    // page and a SCORM package.
    void publishWebClicked();

    const LessonReport& report() const { return report_; }

signals:
    // A lesson was checked: the lesson the tabs share.
    void lessonChecked(const QString& path);
    // The teacher chose to start a key for the lesson whose reading is path.
    void startKey(const QString& path);
    // A short confirmation for the status bar.
    void said(const QString& text);

private:
    bool readyToPublish(const QString& caption, const QString& folderCaption, QString& lastFolder);
    PublishChoices publishChoices() const;
    void showReport();
    void showProblems();
    void showPreview();
    void problemSelected();
    QString placeText(const Problem& problem) const;
    QTreeWidgetItem* previewItemFor(const Problem& problem) const;

    std::unique_ptr<Ui::CheckView> ui;
    QString path_;
    QString classFolder_;
    QString webFolder_;
    LessonReport report_;
};
