// The student's program for the crash tests: the same start-up sequence and the same windows,
// rules and boxes as dorvalia, with the boxes scripted and the student's clicks made by QTest,
// so that a test can run it as a process of its own, kill it in the middle of a visit and start
// it again.
//   dorvalia_visit visita LESSON NAME cerrar|esperar: opens the lesson as NAME, accepts three
//     answers, and then closes the lesson (answering No to "Trabajo Incompleto") and ends, or
//     says "aceptadas 3" and goes on running until it is killed.
//   dorvalia_visit inicio si|no: starts, answers every box of the start with Sí or No, prints the
//     boxes shown ("caption|text", one per line) and ends.
#include "tests/windows/LessonFixture.h"

#include "platform/Application.h"
#include "platform/Boxes.h"
#include "platform/ListBox.h"
#include "platform/UpDown.h"
#include "platform/core/Clock.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit5.h"

#include <QEventLoop>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>

namespace {

void click(QWidget* window, const char* name) {
    QTest::mouseClick(window->findChild<QAbstractButton*>(QString::fromLatin1(name)),
                      Qt::LeftButton);
}

void stepUp(const char* upDown) {
    auto* selector = FormLeccion->findChild<UpDown*>(QString::fromLatin1(upDown));
    QTest::mouseClick(selector->findChild<QToolButton*>(QStringLiteral("up")), Qt::LeftButton);
}

void accept() {
    click(FormLeccion, "BtAceptar");
}

// Section 1: question 1 answered wrong ("Mala") and then right, question 2 right at the first
// try. The answer selector wraps: up from the last answer is 0, none of the above.
void answerThree() {
    auto* list = FormLeccion->findChild<ListBox*>(QStringLiteral("ListaDeSecciones"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    stepUp("UpDownPregunta");
    stepUp("UpDownRespuesta");
    stepUp("UpDownRespuesta");
    accept();
    stepUp("UpDownRespuesta");
    stepUp("UpDownRespuesta");
    accept();
    stepUp("UpDownPregunta");
    stepUp("UpDownRespuesta");
    accept();
}

} // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    const QStringList args = app.arguments();
    Clock::setNow(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    Clock::setShortDatePattern(QStringLiteral("dd/MM/yyyy"));
    Boxes::startScript();
    const bool visit = args.size() == 5 && args[1] == QLatin1String("visita");
    if (!visit && !(args.size() == 3 && args[1] == QLatin1String("inicio")))
        return 2;
    const bool yes = args.last() == QLatin1String("si");
    for (int i = 0; i < 8 && !visit; ++i)
        Boxes::answer(yes);

    // The start-up sequence of dorvalia, the about box closed with "Iniciar".
    FormInicio = new TFormInicio();
    AboutBox = new TAboutBox();
    QTimer::singleShot(0, AboutBox, [] { click(AboutBox, "OKButton"); });
    AboutBox->exec();
    FormLeccion = new TFormLeccion(FormInicio);
    Resultados = new TResultados(FormLeccion);
    FormInicio->show();
    QCoreApplication::processEvents(); // the start window's offer of unfinished visits

    if (visit) {
        Boxes::answer(true, args[2]); // the lesson chosen in the file dialog
        Boxes::answer(true, args[3]); // the name
        const bool close = args[4] == QLatin1String("cerrar");
        Fixture::whenModal(FormLeccion, [close] {
            answerThree();
            if (close) {
                Boxes::answer(false); // "Trabajo Incompleto": No, end the lesson
                click(FormLeccion, "BtTerminarLec");
                return;
            }
            std::puts("aceptadas 3");
            std::fflush(stdout);
            QEventLoop().exec(); // the student is still reading
        });
        click(FormInicio, "BtSelecLec");
    }
    for (const Boxes::Shown& box : Boxes::shown()) {
        QString line = box.caption + u'|' + box.text;
        line.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
        std::puts(line.toUtf8().constData());
    }
    const int status = Boxes::unanswered() == 0 ? 0 : 3;
    delete FormInicio;
    delete AboutBox;
    return status;
}
