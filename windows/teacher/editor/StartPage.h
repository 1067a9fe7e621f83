#pragma once

#include <QWidget>

// What «Preparar lección» shows before any lesson is open: a few words on what to do first and
// a button for each way to begin.
class StartPage : public QWidget {
    Q_OBJECT
public:
    explicit StartPage(QWidget* parent = nullptr);

    // The sample lesson's reading where the program was installed (or built); empty when none.
    static QString sampleLesson();

signals:
    void openReading();
    void newLesson();
    void trySample(const QString& readingPath);
};
