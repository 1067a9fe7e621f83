// How fast the teacher's program summarizes a class: a generated folder of 10,000 registers
// holding 1,000,000 answer lines (20 lessons, 500 days each, four visits of 25 answers per
// register), read in parallel and summarized. The folder is generated once per process into a
// temporary folder; its files are then in the system's cache, as after a first look.
#include "ClassSummary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int kLessons = 20;
constexpr int kDaysPerLesson = 500;
constexpr int kVisitsPerRegister = 4;
constexpr int kAnswersPerVisit = 25;

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

QByteArray studentName(int n) {
    // Some names hold a comma and are quoted, as the student's program writes them.
    return n % 7 == 0 ? "\"P\xE9rez, Alumno " + QByteArray::number(n) + '"'
                      : "Alumno " + QByteArray::number(n);
}

QByteArray registerBytes(QRandomGenerator& random, const QByteArray& date) {
    QByteArray bytes;
    bytes.reserve(3000);
    for (int v = 0; v < kVisitsPerRegister; ++v) {
        const QByteArray name = studentName(random.bounded(30));
        bytes += name + ',' + date + ",Leccion\r\n";
        bytes += "Nombre,Secci\xF3n,Cuesti\xF3n,Respuesta,Juicio,1er intento\r\n";
        for (int a = 0; a < kAnswersPerVisit; ++a) {
            const int answer = random.bounded(5);
            bytes += name + ',' + QByteArray::number(1 + random.bounded(5)) + ',' +
                     QByteArray::number(1 + random.bounded(10)) + ',' + QByteArray::number(answer) +
                     ',';
            bytes += answer == 1 ? "Correcta,si" : answer == 0 ? "Pendiente" : "Incorrecta";
            bytes += "\r\n";
        }
    }
    return bytes;
}

const QString& generatedFolder() {
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        QRandomGenerator random(7);
        const QDate first(2025, 1, 1);
        for (int lesson = 0; lesson < kLessons; ++lesson) {
            for (int day = 0; day < kDaysPerLesson; ++day) {
                const QDate date = first.addDays(day);
                QFile file(dir.filePath(QStringLiteral("Leccion%1%2_reg.csv")
                                            .arg(lesson, 2, 10, QLatin1Char('0'))
                                            .arg(date.toString(QStringLiteral("ddMMyyyy")))));
                file.open(QIODevice::WriteOnly);
                file.write(
                    registerBytes(random, date.toString(QStringLiteral("dd/MM/yyyy")).toLatin1()));
            }
        }
        made = true;
    }
    static const QString path = dir.path();
    return path;
}

void SummarizeTenThousandRegisters(benchmark::State& state) {
    const QString& folder = generatedFolder();
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
    state.counters["peak_MB"] = peakMegabytes();
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
