// screenshots OUT_DIR: pictures of the windows for the README, made on a real screen (Xvfb) from
// the sample lesson in the working folder. It goes through a visit as a student would: the start
// window, the lesson window with the box of a verdict over it, and the results. A window manager
// must run on that screen, so that the pictures show the windows' frames and captions. The file
// dialog, the name prompt and the closing question are answered by the boxes' script; the verdict
// and the results are real windows, grabbed from the screen while they are open. «Escuchar» reads
// with the real voice into memory and is paused on a word in the middle of a section, so that the
// word stays lit for the pictures at 100% and 200%.
#include "platform/Application.h"
#include "platform/Boxes.h"
#if DORVALIA_VOICE
#include "platform/speech/EspeakSpeaker.h"
#endif
#include "platform/ListBox.h"
#include "platform/UpDown.h"
#include "windows/ListeningBar.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit5.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
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

// Reads the section shown from its start and pauses on its wordth word, which stays lit.
void listenUpTo(int word) {
    ListeningBar* bar = FormLeccion->listening();
    if (!bar)
        return;
    int heard = 0;
    QMetaObject::Connection pause;
    pause = QObject::connect(bar, &ListeningBar::wordLit, bar, [bar, word, &heard, &pause] {
        if (++heard == word) {
            QObject::disconnect(pause);
            bar->pauseOrResume();
        }
    });
    bar->listen();
    if (!QTest::qWaitFor([&] { return heard >= word; }, 10000)) {
        std::fprintf(stderr, "screenshots: the voice read %d words, not %d\n", heard, word);
        ++failures;
    }
    QTest::qWait(300);
}

void zoomBy(int steps) {
    for (int i = 0; i < std::abs(steps); ++i)
        QTest::keyClick(in<QWidget>(FormLeccion, "LectorDeSeccion"),
                        steps > 0 ? Qt::Key_Plus : Qt::Key_Minus, Qt::ControlModifier);
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
    // «Escuchar» on a word in the middle of the third section, at 100% and at 200%.
    Boxes::startScript();
    Boxes::answer(false); // leave the first section with a question unanswered
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(2)).center());
    Boxes::stopScript();
    listenUpTo(40);
    shoot({FormLeccion}, QStringLiteral("escuchar.png"));
    FormLeccion->listening()->stopReading();
    zoomBy(10);
    listenUpTo(40);
    shoot({FormLeccion}, QStringLiteral("escuchar-200.png"));
    FormLeccion->listening()->stopReading();
    zoomBy(-10);

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
#if DORVALIA_VOICE
    // Into memory: the pictures need the words lit, not the sound.
    EspeakSpeaker speaker([](const short*, int) {});
    FormLeccion->setSpeaker(speaker);
#endif
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
