// The teacher's program: with a verb (or --help) it runs the command line without a screen;
// otherwise it opens its window: on the check of the lesson given, or on the start page of
// «Preparar lección».
#include "commandline/CommandLine.h"
#include "platform/Application.h"
#include "platform/Boxes.h"
#include "windows/teacher/CheckView.h"
#include "windows/teacher/TeacherWindow.h"

#include <QTimer>

#include <clocale>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const bool commandLine = isCommandLine(arguments);
#ifdef Q_OS_WIN
    // A console program, so that the verbs print where they were typed; started for its window
    // (from the Start menu), the console Windows opened for it alone is let go, and disappears.
    // The verbs run on Windows' own window system, there in every session.
    DWORD processes[2];
    if (!commandLine && GetConsoleProcessList(processes, 2) == 1)
        FreeConsole();
#else
    // The verbs read documents and lay out text, which needs the font machinery but no screen.
    if (commandLine && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    Application app(argc, argv);
    // The toolkit takes the whole locale from the environment; the files this program writes
    // (the workbook's XML above all, through the C library's number formatting) need a full stop
    // before decimals whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    Application::loadSpanishTranslations();
    // The teacher's program speaks Spanish throughout, the toolkit's own texts included.
    Boxes::setSpanishWording(true);
    if (commandLine) {
        QTextStream out(stdout);
        QTextStream err(stderr);
        return runCommandLine(app.arguments().mid(1), out, err);
    }

    TeacherWindow window;
    window.show();
    window.readLastResults();
    CheckView* view = window.checkView();
    const QString lesson = app.arguments().value(1);
    if (lesson.isEmpty())
        window.showStart();
    else
        QTimer::singleShot(0, view, [view, lesson] { view->openLesson(lesson); });
    return app.exec();
}
