// How fast the teacher's program shows each student over the term: 10,000 registers of 200
// lessons (50 days each) by 30 students, read once in parallel and summarized, then the course
// table built from that summary, as «Alumnos a lo largo del curso» and curso.csv show it.
#include "bench/RegisterFolder.h"
#include "teacher/CourseSummary.h"

#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {

constexpr int kLessons = 200;
constexpr int kDaysPerLesson = 50;

void CourseTableOfTenThousandRegisters(benchmark::State& state) {
    const QString& folder = GeneratedRegisterFolder(kLessons, kDaysPerLesson);
    qint64 students = 0, lessons = 0;
    double courseMs = 0;
    for (auto _ : state) {
        const ClassSummary summary = SummarizeFolder(folder, false);
        QElapsedTimer timer;
        timer.start();
        const QList<CourseStudent> course = CourseStudents(summary);
        const SummaryTable table = CourseTable(course);
        courseMs = double(timer.nsecsElapsed()) / 1e6;
        students = course.size();
        lessons = summary.lessons.size();
        benchmark::DoNotOptimize(table.rows.size());
    }
    state.counters["students"] = double(students);
    state.counters["lessons"] = double(lessons);
    // The part the course table adds to the class summary's reading.
    state.counters["course_ms"] = courseMs;
    state.counters["peak_MB"] = PeakMegabytes();
}
BENCHMARK(CourseTableOfTenThousandRegisters)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
