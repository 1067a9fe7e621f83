// How fast the program does what a student does, through its real windows on the offscreen
// platform: start-up, opening lessons, stepping through questions, accepting answers, saving the
// register. Each benchmark also reports the process's peak memory (run one benchmark per process
// to read it for that benchmark alone; scripts/bench does).
#include "bench/LessonMaker.h"

#include "lesson/AnswerKey.h"
#include "lesson/LessonFiles.h"
#include "lesson/Sections.h"
#include "platform/Application.h"
#include "platform/Boxes.h"
#include "platform/ListBox.h"
#include "platform/UpDown.h"
#include "platform/core/Clock.h"
#include "platform/core/TextList.h"
#include "study/Register.h"
#include "study/Visit.h"
#include "windows/Unit1.h"
#include "windows/Unit2.h"
#include "windows/Unit3.h"
#include "windows/Unit5.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

QString samplesFolder() {
    return QStringLiteral(DORVALIA_SAMPLES);
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void reportMemory(benchmark::State& state) {
    state.counters["peak_MB"] = peakMegabytes();
}

void createWindows() {
    FormInicio = new TFormInicio();
    AboutBox = new TAboutBox();
    FormLeccion = new TFormLeccion(FormInicio);
    Resultados = new TResultados(FormLeccion);
}

void destroyWindows() {
    delete AboutBox;
    delete FormInicio;
    AboutBox = nullptr;
    FormInicio = nullptr;
    FormLeccion = nullptr;
    Resultados = nullptr;
}

// Opens the lesson in the lesson window, as the start window does, without its modal loop.
void openLesson(const QString& lessonText) {
    SepararRutaDeLeccion(lessonText);
    FormLeccion->show();
    // The opening runs once the window is on screen: only it, not the window's painting.
    QCoreApplication::sendPostedEvents(FormLeccion, QEvent::MetaCall);
}

void closeLesson() {
    FormLeccion->hide();
    EndVisit();
}

template <class T> T* control(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
}

struct Arrows {
    QToolButton* questionUp;
    QToolButton* answerUp;
};

// Makes the windows, opens the lesson and enters the section at index, with the boxes scripted
// so that none waits; gives the up arrows of the two selectors.
Arrows openAtSection(const QString& lessonText, int index) {
    createWindows();
    openLesson(lessonText);
    Boxes::startScript();
    control<ListBox>(FormLeccion, "ListaDeSecciones")->select(index);
    FormLeccion->ListaDeSeccionesClick();
    return {control<UpDown>(FormLeccion, "UpDownPregunta")->findChild<QToolButton*>("up"),
            control<UpDown>(FormLeccion, "UpDownRespuesta")->findChild<QToolButton*>("up")};
}

void StartUp(benchmark::State& state) {
    QDir::setCurrent(samplesFolder());
    for (auto _ : state) {
        createWindows();
        FormInicio->show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(FormInicio->isVisible());
        destroyWindows();
    }
    reportMemory(state);
}
BENCHMARK(StartUp)->Unit(benchmark::kMillisecond);

void OpenSampleLesson(benchmark::State& state) {
    createWindows();
    for (auto _ : state) {
        openLesson(samplesFolder() + QStringLiteral("/El_volcan_lec.rtf"));
        benchmark::DoNotOptimize(NumSecciones);
        state.PauseTiming();
        closeLesson();
        state.ResumeTiming();
    }
    destroyWindows();
    reportMemory(state);
}
BENCHMARK(OpenSampleLesson)->Unit(benchmark::kMillisecond);

void OpenOneMegabyteLesson(benchmark::State& state) {
    QTemporaryDir dir;
    LessonMaker::write(dir.path(), QStringLiteral("Grande"), 1 << 20, 10);
    createWindows();
    for (auto _ : state) {
        openLesson(dir.path() + QStringLiteral("/Grande_lec.rtf"));
        benchmark::DoNotOptimize(NumSecciones);
        state.PauseTiming();
        if (NumSecciones != 99)
            state.SkipWithError("the lesson did not open with its 99 sections");
        closeLesson();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * (1 << 20));
    destroyWindows();
    reportMemory(state);
}
// Taken over the time on the clock, as the student waits for it.
BENCHMARK(OpenOneMegabyteLesson)->UseRealTime()->Unit(benchmark::kMillisecond);

// A section of 100 questions of four answers, stepped through question by question, each
// answer shown.
void StepThroughASection(benchmark::State& state) {
    QTemporaryDir dir;
    LessonMaker::write(dir.path(), QStringLiteral("Pasos"), 64 << 10, 100);
    const Arrows arrows = openAtSection(dir.path() + QStringLiteral("/Pasos_lec.rtf"), 98);
    QToolButton* questionUp = arrows.questionUp;
    QToolButton* answerUp = arrows.answerUp;
    for (auto _ : state) {
        for (int q = 0; q <= 100; ++q) {
            questionUp->click();
            for (int a = 0; a <= 4; ++a)
                answerUp->click();
        }
    }
    state.SetItemsProcessed(state.iterations() * 101);
    Boxes::stopScript();
    closeLesson();
    destroyWindows();
    reportMemory(state);
}
BENCHMARK(StepThroughASection)->Unit(benchmark::kMillisecond);

void AcceptAThousandAnswers(benchmark::State& state) {
    QTemporaryDir dir;
    LessonMaker::write(dir.path(), QStringLiteral("Mil"), 64 << 10, 10);
    const Arrows arrows = openAtSection(dir.path() + QStringLiteral("/Mil_lec.rtf"), 0);
    auto* accept = control<QPushButton>(FormLeccion, "BtAceptar");
    arrows.questionUp->click();
    arrows.answerUp->click();
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i)
            accept->click();
        // Each round is a visit of its own, so the register does not grow across rounds.
        state.PauseTiming();
        StartVisit();
        Boxes::startScript();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    Boxes::stopScript();
    closeLesson();
    destroyWindows();
    reportMemory(state);
}
BENCHMARK(AcceptAThousandAnswers)->Unit(benchmark::kMillisecond);

void SaveAThousandLineRegister(benchmark::State& state) {
    QTemporaryDir dir;
    DirLeccion = dir.path() + u'/';
    NombreLeccion = QStringLiteral("Registro");
    NombreAlumno = QStringLiteral("Ana");
    Clave = std::make_unique<TextList>();
    StartVisit();
    for (int i = 0; i < 998; ++i)
        Registro->add(QStringLiteral("Ana,%1,%2,1,Correcta,si").arg(i / 10 + 1).arg(i % 10 + 1));
    const QString path = RegisterPath(DateDigits(Clock::shortDate(Clock::today())));
    for (auto _ : state) {
        GuardarRegistro();
        state.PauseTiming();
        QFile::remove(path);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
    EndVisit();
    reportMemory(state);
}
BENCHMARK(SaveAThousandLineRegister)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The journals of the accepted answers go to a data folder of the run's own, and the
    // settings too: the windows as designed, whatever the user's reading size.
    QTemporaryDir data(QDir::homePath() + QStringLiteral("/.dorvalia-bench-XXXXXX"));
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", data.path().toLocal8Bit());
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
