// A class closing its lessons at the bell: fifty programs saving to one register at the same
// moment (the slowest save, its wait for the lock included), and what keeping the journal costs
// one accepted answer.
#include "tests/study/ClassVisit.h"

#include "study/Journal.h"
#include "study/Register.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

void FiftyProgramsSaveAtOnce(benchmark::State& state) {
    double slowest = 0;
    for (auto _ : state) {
        QTemporaryDir dir;
        std::vector<std::unique_ptr<QProcess>> programs;
        for (int i = 0; i < 50; ++i) {
            programs.push_back(std::make_unique<QProcess>());
            programs.back()->start(QStringLiteral(DORVALIA_REGISTER_SAVER),
                                   {QStringLiteral("save"), dir.path(),
                                    QStringLiteral("Alumno%1").arg(i), QStringLiteral("30")});
        }
        for (auto& p : programs)
            p->waitForStarted();
        for (auto& p : programs) {
            p->write("\n");
            p->waitForBytesWritten();
        }
        double round = 0;
        for (auto& p : programs) {
            p->waitForFinished(60000);
            round = std::max(round, p->readAllStandardOutput().trimmed().toDouble());
        }
        slowest = std::max(slowest, round);
        state.SetIterationTime(round / 1000.0);
    }
    state.counters["slowest_ms"] = slowest;
}
BENCHMARK(FiftyProgramsSaveAtOnce)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void JournalOneAnswer(benchmark::State& state) {
    QTemporaryDir dir;
    PlayClassVisit(dir.path(), QStringLiteral("Ana"), 1);
    NoLessonWindow window;
    int question = 1;
    for (auto _ : state)
        AnotarJuicio(1, Verdict::Correcta, 2, QString::number(++question), window);
    state.SetItemsProcessed(state.iterations());
    VisitJournal::finish();
    EndVisit();
}
BENCHMARK(JournalOneAnswer)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The journals go to a data folder of the run's own, on the same disk as the user's.
    QTemporaryDir data(QDir::homePath() + QStringLiteral("/.dorvalia-bench-XXXXXX"));
    qputenv("XDG_DATA_HOME", data.path().toLocal8Bit());
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
