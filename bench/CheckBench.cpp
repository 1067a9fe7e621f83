// How fast the teacher's program checks a lesson: the generated 1 MB reading with a key of 99
// sections, read and laid out as the lesson window shows it, every rule run and the preview
// built; and the rules alone on a large key. They run in program_bench, whose main() sets up the
// application.
#include "bench/LessonMaker.h"

#include "platform/core/TextList.h"
#include "print/LessonReader.h"
#include "teacher/LessonCheck.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

void reportMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = double(usage.ru_maxrss) / 1024.0;
}

void CheckOneMegabyteLesson(benchmark::State& state) {
    QTemporaryDir dir;
    LessonMaker::write(dir.path(), QStringLiteral("Grande"), 1 << 20, 10);
    const QString path = dir.path() + QStringLiteral("/Grande_lec.rtf");
    for (auto _ : state) {
        const LessonReport report = checkLessonFiles(path, readLessonText);
        benchmark::DoNotOptimize(report.problems.size());
        if (report.sections.size() != 99 || report.count(Problem::Severity::Error) != 0)
            state.SkipWithError("the lesson did not check with 99 sections and no error");
    }
    state.SetBytesProcessed(state.iterations() * (1 << 20));
    reportMemory(state);
}
BENCHMARK(CheckOneMegabyteLesson)->UseRealTime()->Unit(benchmark::kMillisecond);

// 99 sections of 100 questions of four answers: 89,199 key lines.
void CheckLargeKey(benchmark::State& state) {
    TextList key;
    key.loadFromBytes(LessonMaker::key(99, 100));
    LessonText text;
    for (int s = 1; s <= 99; ++s) {
        text.lineStarts.append(int(text.text.size()));
        text.lines.append(QStringLiteral(".Sección %1").arg(s));
        text.text += text.lines.last() + u'\n';
    }
    for (auto _ : state) {
        const LessonReport report = checkLesson("t", text, "k", key.lines());
        benchmark::DoNotOptimize(report.problems.size());
    }
    state.SetItemsProcessed(state.iterations() * key.count());
    reportMemory(state);
}
BENCHMARK(CheckLargeKey)->Unit(benchmark::kMillisecond);

} // namespace
