#pragma once

#include <QApplication>

// The application object. Failures raised while an event is handled end here: the error box
// shows them and the event loop goes on, so the handler that failed stops and the program lives.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Loads the toolkit's own Spanish texts (dialogs, standard buttons, context menus) from Qt's
    // translations folder. Without the files the toolkit stays in English and the program runs
    // on; false then.
    static bool loadSpanishTranslations();
};
