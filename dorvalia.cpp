// Dorvalia: a reading-comprehension tutor. Start-up: the start window is created first, so it is
// the main window; the about box greets the student; then the lesson and results windows are
// made, hidden, and the event loop runs with the start window on screen.
#include "Application.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit5.h"

int main(int argc, char** argv) {
    Application app(argc, argv);
    Application::loadSpanishTranslations();

    FormInicio = new TFormInicio();
    AboutBox = new TAboutBox();
    AboutBox->exec();
    FormLeccion = new TFormLeccion(FormInicio);
    Resultados = new TResultados(FormLeccion);

    FormInicio->show();
    const int status = app.exec();
    delete FormInicio;
    delete AboutBox;
    return status;
}
