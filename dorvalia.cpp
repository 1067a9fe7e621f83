// Dorvalia: a reading-comprehension tutor. Start-up: the start window is created first, so it is
// the main window; the about box greets the student; then the lesson and results windows are
// made, hidden, and the event loop runs with the start window on screen.
#include "platform/Application.h"
#if DORVALIA_VOICE
#include "platform/speech/EspeakSpeaker.h"
#endif
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit5.h"

int main(int argc, char** argv) {
    Application app(argc, argv);
    Application::loadSpanishTranslations();
#if DORVALIA_VOICE
    // Made first, so that the voice loads while the about box greets the student.
    EspeakSpeaker speaker;
#endif

    FormInicio = new TFormInicio();
    AboutBox = new TAboutBox();
    AboutBox->exec();
    FormLeccion = new TFormLeccion(FormInicio);
#if DORVALIA_VOICE
    FormLeccion->setSpeaker(speaker);
#endif
    Resultados = new TResultados(FormLeccion);

    FormInicio->show();
    const int status = app.exec();
    delete FormInicio;
    delete AboutBox;
    return status;
}
