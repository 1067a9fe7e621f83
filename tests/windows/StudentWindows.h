#pragma once

// What the student's window tests share: finding and driving controls by their names, reading
// the boxes shown, the lesson files they write, and a fixture that makes the three windows
// afresh for each test with every box scripted.

#include "platform/Application.h"
#include "platform/Boxes.h"
#include "tests/windows/LessonFixture.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

class RichViewer;

template <class T> T* in(QWidget* window, const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

void click(QWidget* window, const char* name);
void step(QWidget* window, const char* upDown, const char* arrow);
void pickSection(int index);
// A key for the widget with the keyboard focus; gives the name of the one that has it after.
QString key(int k, Qt::KeyboardModifiers modifiers = {});
QString text(QWidget* window, const char* name);
bool enabled(QWidget* window, const char* name);
// The last box shown, as "kind|caption|text".
QString lastBox();
QString box(Boxes::Kind kind, const QString& caption, const QString& text);
// No reading size is left from one test to the next, nor to other programs' tests.
void forgetSettings();
// The text of the viewer's first visible line.
QString topLine(RichViewer* viewer);
// Makes the window the active one, as the desktop does when it is shown or a box over it closes,
// and waits until it is.
void activate(QWidget* window);

// A key of three sections for the lessons that the tests write.
extern const QStringList kKey;

// Each test starts with a new start window, lesson window and results window, in a folder of its
// own, on 7 December 2026 at 10:00 with the short date "dd/MM/yyyy", and ends with every box
// answered as scripted.
class StudentWindowsTest : public QObject {
    Q_OBJECT

protected:
    QTemporaryDir dir_;
    QString home_;

    QString lessonPath(const QString& name) const { return dir_.path() + u'/' + name + "_lec.rtf"; }
    void writeLesson(const QString& name, const QStringList& markers, const QStringList& key);

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

public:
    // Runs the tests of Test as the program runs: offscreen, with the data and settings folders
    // of the test program (TestDataHome.cpp).
    template <class Test> static int run(int argc, char** argv) {
        qputenv("LC_ALL", "C.UTF-8");
        Application app(argc, argv);
        Test test;
        return QTest::qExec(&test, argc, argv);
    }
};
