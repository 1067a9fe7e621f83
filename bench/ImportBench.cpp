// Reading Moodle's question files: a GIFT bank of 40,000 lines (8,000 questions), one GIFT
// question whose answers take 40,000 lines, and one Aiken question of 200,000 lines.
#include "teacher/editor/Questions.h"

#include <benchmark/benchmark.h>

namespace {

QString giftBank(int questions) {
    QString text = QStringLiteral("$CATEGORY: Sección 1\n\n");
    for (int q = 0; q < questions; ++q)
        text += QStringLiteral("::P%1::¿Pregunta %1?\n{=Sí #Bien\n~No #Relee\n}\n\n").arg(q);
    return text;
}

QString giftLongQuestion(int lines) {
    QString text = QStringLiteral("[html]<p>¿Cuál?</p> {\n");
    for (int n = 0; n < lines; ++n)
        text += n % 2 ? QStringLiteral("~<i>Otra %1</i> #No\n").arg(n)
                      : QStringLiteral("~%50%Una %1 #Sí\n").arg(n);
    return text + QStringLiteral("}\n");
}

QString aikenLongQuestion(int lines) {
    QString text;
    for (int n = 0; n < lines; ++n)
        text += QStringLiteral("línea %1 del enunciado\n").arg(n);
    return text + QStringLiteral("A) Sí\nB) No\nANSWER: A\n");
}

void run(benchmark::State& state, const QString& text, qsizetype expected) {
    for (auto _ : state) {
        const ImportResult result = readQuestions(text);
        if (result.questions.size() != expected || !result.failure.isEmpty())
            state.SkipWithError("the file was not read");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(state.iterations() * text.size() * qsizetype(sizeof(QChar)));
}

void GiftBank40000Lines(benchmark::State& state) {
    run(state, giftBank(8000), 8000);
}
BENCHMARK(GiftBank40000Lines)->Unit(benchmark::kMillisecond);

void GiftQuestionOf40000Lines(benchmark::State& state) {
    run(state, giftLongQuestion(40000), 1);
}
BENCHMARK(GiftQuestionOf40000Lines)->Unit(benchmark::kMillisecond)->Iterations(1);

void AikenQuestionOf200000Lines(benchmark::State& state) {
    run(state, aikenLongQuestion(200000), 1);
}
BENCHMARK(AikenQuestionOf200000Lines)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
