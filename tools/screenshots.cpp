// screenshots OUT_DIR: pictures of the windows for the README, made on a real screen (Xvfb) from
// the sample lesson in the working folder. It goes through a visit as a student would: the start
// window, the lesson window with the box of a verdict over it, and the results. A window manager
// must run on that screen, so that the pictures show the windows' frames and captions. The file
// dialog, the name prompt and the closing question are answered by the boxes' script; the verdict
// and the results are real windows, grabbed from the screen while they are open.
#include "Application.h"
#include "Boxes.h"
#include "ListBox.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit5.h"
#include "UpDown.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <functional>

namespace {

QString outDir;
int failures = 0;

template <class T> T* in(QWidget* window, const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// Runs steps once the next modal window is up and drawn.
void whenUp(std::function<void()> steps) {
    QTimer::singleShot(400, std::move(steps));
}

// The screen under the given windows and their frames.
void shoot(const QList<QWidget*>& windows, const QString& name) {
    QRect area;
    for (QWidget* w : windows)
        area |= w->frameGeometry();
    area &= QGuiApplication::primaryScreen()->geometry();
    QApplication::processEvents();
    const QPixmap pixmap = QGuiApplication::primaryScreen()->grabWindow(
        0, area.x(), area.y(), area.width(), area.height());
    const QString path = outDir + u'/' + name;
    if (!pixmap.save(path)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
        ++failures;
    } else {
        std::printf("%s\n", qPrintable(path));
        std::fflush(stdout);
    }
}

// Steps the selector up until its number box shows the number.
void stepTo(const char* upDown, const char* box, int number) {
    QLineEdit* shown = in<QLineEdit>(FormLeccion, box);
    for (int i = 0; i < 20 && shown->text().toInt() != number; ++i)
        QTest::mouseClick(in<UpDown>(FormLeccion, upDown)->findChild<QToolButton*>("up"),
                          Qt::LeftButton);
}

// Accepts answer `answer` of question `question` of the section shown; calls then() while the
// verdict's box is open and closes it afterwards.
void accept(int question, int answer, std::function<void()> then) {
    stepTo("UpDownPregunta", "Npregunta", question);
    stepTo("UpDownRespuesta", "Nrespuesta", answer);
    whenUp([then = std::move(then)] {
        then();
        if (QWidget* box = QApplication::activeModalWidget(); box && box != FormLeccion)
            box->close();
    });
    QTest::mouseClick(in<QPushButton>(FormLeccion, "BtAceptar"), Qt::LeftButton);
}

void visit() {
    Boxes::stopScript(); // from here on the boxes are real, and on the screen
    ListBox* list = in<ListBox>(FormLeccion, "ListaDeSecciones");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    accept(1, 2, [] {}); // a wrong answer first, so the results have two bars
    accept(2, 1, [] {
        shoot({FormLeccion, QApplication::activeModalWidget()}, QStringLiteral("leccion.png"));
    });
    whenUp([] {
        shoot({Resultados}, QStringLiteral("resultados.png"));
        QTest::mouseClick(in<QPushButton>(Resultados, "Button1"), Qt::LeftButton); // "Cerrar"
    });
    QTest::mouseClick(in<QPushButton>(FormLeccion, "BtResultados"), Qt::LeftButton);

    Boxes::startScript();
    Boxes::answer(false); // "¿Seguir estudiando?" No: the lesson ends with sections unfinished
    QTest::mouseClick(in<QPushButton>(FormLeccion, "BtTerminarLec"), Qt::LeftButton);
}

} // namespace

int main(int argc, char** argv) {
    Application app(argc, argv);
    Application::loadSpanishTranslations();
    if (argc != 2) {
        std::fprintf(stderr,
                     "usage: screenshots OUT_DIR (run in a folder with the sample lesson)\n");
        return 2;
    }
    outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();

    FormInicio = new TFormInicio();
    AboutBox = new TAboutBox();
    FormLeccion = new TFormLeccion(FormInicio);
    Resultados = new TResultados(FormLeccion);
    FormInicio->show();

    QTimer::singleShot(800, [] {
        shoot({FormInicio}, QStringLiteral("inicio.png"));
        Boxes::startScript();
        Boxes::answer(true, QDir::current().absoluteFilePath(QStringLiteral("El_volcan_lec.rtf")));
        Boxes::answer(true, QStringLiteral("Ana"));
        whenUp(visit);
        QTest::mouseClick(in<QPushButton>(FormInicio, "BtSelecLec"), Qt::LeftButton);
        QApplication::quit();
    });
    const int status = app.exec();
    delete FormInicio;
    delete AboutBox;
    return status == 0 && failures == 0 ? 0 : 1;
}
