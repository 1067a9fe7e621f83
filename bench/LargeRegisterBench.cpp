// The teacher's memory with registers far larger than a class makes: one just under the size the
// reader takes (64 MB of answer lines, read and summarized), and one of 1 GB (refused unread,
// said in «Avisos»). scripts/bench runs each figure in a process of its own, for its own peak.
#include "bench/RegisterFolder.h"
#include "teacher/ClassSummary.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QByteArray kVisit = "Ana,07/12/26,L\r\nNombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,"
                          "1er intento\r\n";

// A register of about `bytes`: visits of 25 answers up to that size; beyond `written`, zeros
// (a sparse file: the disk does not hold them).
QString makeRegister(const QTemporaryDir& dir, qint64 bytes, qint64 written) {
    const QString path = dir.filePath(QStringLiteral("L071226_reg.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    QByteArray visit = kVisit;
    for (int answer = 1; answer <= 25; ++answer)
        visit += "Ana,1," + QByteArray::number(answer) + ",1,Correcta,si\r\n";
    for (qint64 at = 0; at + visit.size() <= written; at += visit.size())
        file.write(visit);
    file.resize(bytes);
    return path;
}

void summarizeRegister(benchmark::State& state, qint64 bytes, qint64 written) {
    QTemporaryDir dir;
    if (makeRegister(dir, bytes, written).isEmpty()) {
        state.SkipWithError("no se puede escribir el registro");
        return;
    }
    qsizetype warnings = 0;
    for (auto _ : state) {
        const ClassSummary summary = SummarizeFolder(dir.path(), false);
        warnings = AllWarnings(summary).size();
        benchmark::DoNotOptimize(warnings);
    }
    state.counters["warnings"] = double(warnings);
    state.counters["register_MB"] = double(bytes) / (1 << 20);
    state.counters["peak_MB"] = PeakMegabytes();
}

void SummarizeRegisterOf63MB(benchmark::State& state) {
    constexpr qint64 bytes = 63LL << 20;
    summarizeRegister(state, bytes, bytes);
}
BENCHMARK(SummarizeRegisterOf63MB)->Unit(benchmark::kMillisecond)->Iterations(1);

void SummarizeRegisterOf1GB(benchmark::State& state) {
    summarizeRegister(state, 1LL << 30, 1 << 20);
}
BENCHMARK(SummarizeRegisterOf1GB)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
