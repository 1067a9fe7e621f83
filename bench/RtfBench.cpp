// How long a large lesson takes to read and show. The lesson is generated: 99 sections of
// formatted Spanish paragraphs, about 1 MB of RTF as a word processor writes it.

#include "platform/RichViewer.h"
#include "platform/rtf/RtfReader.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <memory>

#if defined(Q_OS_UNIX)
#include <sys/resource.h>
#endif

namespace {

QByteArray makeLesson(qsizetype targetBytes) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                     "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}"
                     "{\\f1\\fswiss\\fcharset0 DejaVu Sans;}{\\f2\\fnil\\fcharset2 Symbol;}}"
                     "{\\colortbl;\\red192\\green0\\blue0;\\red0\\green0\\blue160;}"
                     "{\\stylesheet{\\s0\\f1\\fs24 Normal;}{\\s1\\sbasedon0\\b\\fs28 Heading;}}"
                     "{\\info{\\title Lecci\\'f3n}}\n";
    const QByteArray sentences[] = {
        "El agua cubre casi tres cuartas partes del planeta y su {\\b ciclo} no se detiene. ",
        "Se evapora, se {\\i condensa} y cae de nuevo como {\\ul lluvia} o nieve. ",
        "{\\cf1 \\'bfQu\\'e9 ocurre} con el vapor cuando sube a las monta\\'f1as? ",
        "La f\\u243\\'f3rmula H{\\sub 2}O aparece en los libros de ciencias. ",
        "Los r\\'edos llevan el agua al mar, donde el {\\cf2 sol} la calienta otra vez. ",
    };
    int paragraph = 0;
    for (int section = 1; section <= 99; ++section) {
        rtf += "\\pard\\s1\\sb240\\sa120 .Secci\\'f3n " + QByteArray::number(section) + "\\par\n";
        const qsizetype sectionEnd = targetBytes * section / 99;
        while (rtf.size() < sectionEnd) {
            rtf += "\\pard\\s0\\qj\\fi360\\sa120 ";
            if (paragraph % 7 == 3)
                rtf += "{\\listtext\\f2 \\'b7\\tab}";
            for (int s = 0; s < 6; ++s)
                rtf += sentences[(paragraph + s) % 5];
            rtf += "\\par\n";
            ++paragraph;
        }
    }
    return rtf + "}";
}

const QByteArray& lesson() {
    static const QByteArray bytes = makeLesson(1024 * 1024);
    return bytes;
}

// The generated lesson as a file in dir, as the lesson window reads it.
QString writeLesson(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("leccion_lec.rtf"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(lesson());
    return path;
}

void reportPeakMemory(benchmark::State& state) {
#if defined(Q_OS_UNIX)
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
#else
    (void)state;
#endif
}

void BM_ReadRtf(benchmark::State& state) {
    for (auto _ : state) {
        QTextDocument document;
        readRtf(lesson(), document);
        benchmark::DoNotOptimize(document.characterCount());
    }
    state.SetBytesProcessed(state.iterations() * lesson().size());
    reportPeakMemory(state);
}
BENCHMARK(BM_ReadRtf)->UseRealTime()->Unit(benchmark::kMillisecond);

// The whole load as the lesson window does it: file to viewer, then every display line counted.
void BM_LoadAndCountLines(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = writeLesson(dir);
    for (auto _ : state) {
        auto viewer = std::make_unique<RichViewer>();
        viewer->resize(640, 480);
        viewer->load(path);
        state.counters["lines"] = viewer->lineCount();
        // Closing the lesson is not part of opening it.
        state.PauseTiming();
        viewer.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * lesson().size());
    reportPeakMemory(state);
}
BENCHMARK(BM_LoadAndCountLines)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_FindMarker(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = writeLesson(dir);
    RichViewer viewer;
    viewer.resize(640, 480);
    viewer.load(path);
    const QString marker = QStringLiteral(".Secci\u00F3n 99");
    for (auto _ : state)
        benchmark::DoNotOptimize(viewer.find(marker, 0, viewer.textLength()));
}
BENCHMARK(BM_FindMarker)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    // DORVALIA_BENCH_LESSON=FILE keeps a copy of the generated lesson, to look at or profile.
    if (const QString keep = qEnvironmentVariable("DORVALIA_BENCH_LESSON"); !keep.isEmpty()) {
        QFile file(keep);
        if (file.open(QIODevice::WriteOnly))
            file.write(lesson());
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
