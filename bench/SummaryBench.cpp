// How fast the teacher's program summarizes a class: a generated folder of 10,000 registers
// holding 1,000,000 answer lines (20 lessons, 500 days each, four visits of 25 answers per
// register), read in parallel and summarized. The folder is generated once per process into a
// temporary folder; its files are then in the system's cache, as after a first look.
#include "bench/RegisterFolder.h"
#include "teacher/ClassSummary.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLessons = 20;
constexpr int kDaysPerLesson = 500;

void SummarizeTenThousandRegisters(benchmark::State& state) {
    const QString& folder = GeneratedRegisterFolder(kLessons, kDaysPerLesson);
    qint64 answers = 0;
    for (auto _ : state) {
        const ClassSummary summary = SummarizeFolder(folder, false);
        answers = 0;
        for (const LessonSummary& lesson : summary.lessons) {
            for (const StudentRow& student : lesson.students)
                answers += student.accepted;
        }
        benchmark::DoNotOptimize(answers);
    }
    state.counters["answers"] = double(answers);
    state.SetItemsProcessed(state.iterations() * answers);
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(SummarizeTenThousandRegisters)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
